// korvalo-level publish: a level, or a level set file, published on the
// sharing site through its API; prints the public address and the edit token.

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>

#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/io/escaped_text.h"
#include "cli/site_client.h"
#include "korvalo_constants.h"
#include "logic/json.h"
#include "logic/level_set.h"

namespace {

constexpr std::string_view PublishHelp =
    "Usage: korvalo-level publish [--server URL] [--title TITLE] [--author NAME]\n"
    "                             [--description TEXT] CODE | FILE\n"
    "\n"
    "Publishes a level, or a level set file (an argument that names an existing\n"
    "file), on the sharing site, and prints two lines: the public address of the\n"
    "level's entry or the set's page, and the edit token that removes it again\n"
    "(DELETE with Authorization: Bearer TOKEN, see the site's API). Keep the token:\n"
    "the site keeps only its hash and never gives it again.\n"
    "\n"
    "A level needs --title; --author and --description are optional. A set takes\n"
    "its title and author from its \"# title:\" and \"# author:\" lines unless the\n"
    "options give them, and each level's title from its line.\n"
    "\n"
    "The site takes only valid levels with a solution, and texts of at most 80\n"
    "characters (title), 60 (author) and 500 (description), without control\n"
    "characters. A level that is published already, in any of its turns and\n"
    "mirror images, is not published again: the address printed is the one it\n"
    "has, without a token, and a line on standard error says so.\n"
    "\n"
    "The site is --server, else the environment's KORVALO_SERVER, else the\n"
    "server the tool was built for; http:// and https:// (with the system's\n"
    "certificates) both work.\n"
    "\n"
    "Exit status: 0 when the level or set is published (or was already), 1 when\n"
    "the site refused it or could not be reached (the reason on standard error),\n"
    "2 for a wrong command line, 3 when standard output could not be written.\n";

constexpr std::size_t MostSetFileBytes = 1 << 20;

constexpr std::string_view Prefix = "korvalo-level publish: ";

struct PublishRequest {
  OptionValues options;
  std::string operand;
};

/// Options (with values) anywhere, and exactly one operand.
std::optional<std::string> ReadCommandLine(const std::vector<std::string>& args,
                                           PublishRequest& request) {
  const auto [options, operands] = SplitOptions(args);
  if (auto mistake = ReadOptions(options, {"--server", "--title", "--author", "--description"},
                                 request.options))
    return mistake;
  if (operands.size() != 1) return "expects one level code or set file";
  request.operand = operands[0];
  return std::nullopt;
}

bool IsFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string Option(const OptionValues& options, std::string_view name,
                   const std::string& otherwise = "") {
  const auto found = options.find(name);
  return found == options.end() ? otherwise : found->second;
}

/// The set's JSON, from the file and the options, or the message that says
/// why the file cannot give it.
struct SetBody {
  std::string json;
  std::string failure;  // a whole message line; empty when the file is a set
};

SetBody ReadSetBody(const std::string& path, const OptionValues& options) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file && !file.eof()) return {{}, std::string(Prefix) + "cannot read " + QuoteFileName(path)};
  if (text.str().size() > MostSetFileBytes)
    return {{}, std::string(Prefix) + QuoteFileName(path) + " is too large for a set"};
  const LevelSetReading reading = ReadLevelSet(text.str());
  if (!reading.errors.empty()) {
    const SetLineError& first = reading.errors[0];
    return {{},
            FileLinePrefix(path, static_cast<std::size_t>(first.line)) +
                EnglishReason(first.reason) + " (korvalo-level check-set shows every problem)"};
  }
  std::string levels;
  for (const SetLevel& level : reading.set.levels)
    levels += std::string(levels.empty() ? "" : ",") + "{\"code\":" + JsonQuoted(level.code) +
              ",\"title\":" + JsonQuoted(level.title) + "}";
  return {"{\"title\":" + JsonQuoted(Option(options, "--title", reading.set.title)) +
              ",\"author\":" + JsonQuoted(Option(options, "--author", reading.set.author)) +
              ",\"description\":" + JsonQuoted(Option(options, "--description")) + ",\"levels\":[" +
              levels + "]}",
          {}};
}

std::string ServerAddress(const OptionValues& options) {
  if (options.count("--server") != 0) return Option(options, "--server");
  const char* configured = std::getenv("KORVALO_SERVER");
  if (configured != nullptr && *configured != '\0') return configured;
  return std::string(BuiltInServer);
}

int Fail(CommandStreams& streams, const std::string& reason) {
  streams.err.Write(std::string(Prefix) + EscapeText(reason) + "\n");
  return CommandFailure;
}

}  // namespace

int RunPublish(const std::vector<std::string>& args, CommandStreams& streams) {
  if (args.size() == 1 && IsHelpOption(args[0])) {
    streams.out.Write(PublishHelp);
    return 0;
  }
  PublishRequest request;
  if (AsksForHelp(args))
    return RefuseCommandLine("publish", "--help (or -h) takes no other arguments", streams.err);
  if (auto mistake = ReadCommandLine(args, request))
    return RefuseCommandLine("publish", *mistake, streams.err);
  auto site = ReadSiteAddress(ServerAddress(request.options));
  if (auto* mistake = std::get_if<std::string>(&site))
    return RefuseCommandLine("publish", *mistake, streams.err);

  const bool isSet = IsFile(request.operand);
  std::string body;
  if (isSet) {
    SetBody built = ReadSetBody(request.operand, request.options);
    if (!built.failure.empty()) {
      streams.err.Write(built.failure + "\n");  // its file name escaped already
      return CommandFailure;
    }
    body = std::move(built.json);
  } else {
    if (request.options.count("--title") == 0)
      return RefuseCommandLine("publish", "a level needs --title", streams.err);
    body = "{\"code\":" + JsonQuoted(request.operand) +
           ",\"title\":" + JsonQuoted(Option(request.options, "--title")) +
           ",\"author\":" + JsonQuoted(Option(request.options, "--author")) +
           ",\"description\":" + JsonQuoted(Option(request.options, "--description")) + "}";
  }

  const SiteAddress& address = std::get<SiteAddress>(site);
  auto sent = SendJson(address, "POST", isSet ? "/api/sets" : "/api/levels", body);
  if (auto* reason = std::get_if<std::string>(&sent))
    return Fail(streams, SiteOrigin(address) + ": " + *reason);
  const SiteAnswer& answer = std::get<SiteAnswer>(sent);
  const auto members = FlatJsonMembers(answer.body);
  if (!members)
    return Fail(streams,
                "the site answered " + std::to_string(answer.status) + " without its JSON");
  if (answer.status != 200 && answer.status != 201) {
    const auto error = members->find("error");
    return Fail(streams, "the site refused it (" + std::to_string(answer.status) +
                             "): " + (error == members->end() ? "no reason given" : error->second));
  }
  std::string published = members->count("address") ? members->at("address") : "";
  // Without its public address the site answers with addresses relative to itself.
  if (!published.empty() && published.front() == '/') published = SiteOrigin(address) + published;
  streams.out.Write(published + "\n");
  if (members->count("token")) {
    streams.out.Write("edit token: " + members->at("token") + "\n");
  } else {
    streams.err.Write(std::string(Prefix) + "the level is published already, at this address\n");
  }
  return 0;
}

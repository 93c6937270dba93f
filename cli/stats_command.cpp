// korvalo-level stats: how people fare on the published levels of a level set
// file, read from the sharing site's API, beside the computed length.

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/io/escaped_text.h"
#include "cli/site_client.h"
#include "korvalo_constants.h"
#include "logic/level_set.h"

namespace {

constexpr std::string_view StatsHelp =
    "Usage: korvalo-level stats [--server URL] FILE\n"
    "\n"
    "Prints, for each level of the level set file, how people fare on it on the\n"
    "sharing site, one tab-separated line per level after a line of column names:\n"
    "its line number, code and title, the moves of its shortest solution, the\n"
    "attempts, the share solved at the first attempt (0 to 1), the median\n"
    "solving time in seconds, the rating and its deviation, \"settled\" or\n"
    "\"provisional\", likes and dislikes. A level that is not published shows\n"
    "\"not published\" and dashes.\n"
    "\n"
    "The site is --server, else the environment's KORVALO_SERVER, else the\n"
    "server the tool was built for.\n"
    "\n"
    "A line of the file that is no level is named on standard error\n"
    "(korvalo-level: FILE:LINE: ...), and the other levels are still asked for.\n"
    "\n"
    "Exit status: 0 when every line was read and every level asked for, 1 when a\n"
    "line is no level, the file cannot be read or the site could not be reached\n"
    "(the reason on standard error), 2 for a wrong command line, 3 when standard\n"
    "output could not be written.\n";

constexpr std::size_t MostSetFileBytes = 1 << 20;

/// The columns of the answer printed, in order; "provisional" is worded.
constexpr std::string_view Columns[] = {"moves",          "plays",  "solved_first",
                                        "median_seconds", "rating", "deviation",
                                        "provisional",    "likes",  "dislikes"};

int Fail(CommandStreams& streams, const std::string& reason) {
  streams.err.Write("korvalo-level stats: " + EscapeText(reason) + "\n");
  return CommandFailure;
}

std::string ServerAddress(const OptionValues& options) {
  if (const auto given = options.find("--server"); given != options.end()) return given->second;
  const char* configured = std::getenv("KORVALO_SERVER");
  if (configured != nullptr && *configured != '\0') return configured;
  return std::string(BuiltInServer);
}

std::string FigureCell(const std::map<std::string, std::string>& members, std::string_view name) {
  const auto found = members.find(std::string(name));
  if (found == members.end()) return "-";
  if (name == "provisional") return found->second == "true" ? "provisional" : "settled";
  return found->second == "null" ? "-" : found->second;
}

/// Names each line of the file that is no level, as the commands that read
/// sets do, so that the user learns why a level is missing from the table.
void ReportUnreadableLines(const std::string& file, const std::vector<SetLineError>& errors,
                           CommandStreams& streams) {
  for (const SetLineError& error : errors) {
    streams.err.Write(FileLinePrefix(file, static_cast<std::size_t>(error.line)) +
                      (error.header ? "invalid header '" : "invalid code '") +
                      EscapeText(error.text) + "': " + EnglishReason(error.reason) + "\n");
  }
}

}  // namespace

int RunStats(const std::vector<std::string>& args, CommandStreams& streams) {
  if (args.size() == 1 && IsHelpOption(args[0])) {
    streams.out.Write(StatsHelp);
    return 0;
  }
  if (AsksForHelp(args))
    return RefuseCommandLine("stats", "--help (or -h) takes no other arguments", streams.err);
  const auto [options, operands] = SplitOptions(args);
  OptionValues values;
  if (auto mistake = ReadOptions(options, {"--server"}, values))
    return RefuseCommandLine("stats", *mistake, streams.err);
  if (operands.size() != 1) return RefuseCommandLine("stats", "expects one set file", streams.err);
  auto site = ReadSiteAddress(ServerAddress(values));
  if (auto* mistake = std::get_if<std::string>(&site))
    return RefuseCommandLine("stats", *mistake, streams.err);

  std::ifstream file(operands[0], std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file && !file.eof()) return Fail(streams, "cannot read " + QuoteFileName(operands[0]));
  if (text.str().size() > MostSetFileBytes)
    return Fail(streams, QuoteFileName(operands[0]) + " is too large for a set");
  const LevelSetReading reading = ReadLevelSet(text.str());
  ReportUnreadableLines(operands[0], reading.errors, streams);

  std::string header = "line\tcode\ttitle";
  for (std::string_view column : Columns) {
    header += '\t';
    header += column;
  }
  streams.out.Write(header + "\n");
  for (const SetLevel& level : reading.set.levels) {
    auto sent = SendJson(std::get<SiteAddress>(site), "GET", "/api/levels/" + level.code, "");
    if (auto* reason = std::get_if<std::string>(&sent))
      return Fail(streams, SiteOrigin(std::get<SiteAddress>(site)) + ": " + *reason);
    const SiteAnswer& answer = std::get<SiteAnswer>(sent);
    const auto members = FlatJsonMembers(answer.body);
    std::string line =
        std::to_string(level.line) + "\t" + level.code + "\t" + EscapeText(level.title);
    if (answer.status != 200 || !members) {
      line += "\tnot published";
      for (std::size_t i = 1; i < std::size(Columns); ++i) line += "\t-";
    } else {
      for (std::string_view column : Columns) {
        line += '\t';
        line += FigureCell(*members, column);
      }
    }
    streams.out.Write(line + "\n");
  }
  return reading.errors.empty() ? 0 : CommandFailure;
}

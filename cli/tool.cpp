#include "cli/tool.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include "cli/command_table.h"
#include "cli/io/escaped_text.h"
#include "cli/suggestion.h"
#include "korvalo_constants.h"

namespace {

/// What every command shares, after the commands' own lines in the general help.
constexpr std::string_view CommonHelp =
    "solve, canon and analyze read the codes in their arguments; an argument\n"
    "that names an existing file is read as a level set (a code per line,\n"
    "optionally a tab and a title; # comments), and so is standard input, for -\n"
    "or when there is no argument. -- ends the options. A wrong command line is\n"
    "told in two lines.\n"
    "generate and hardest write a level set with --output FILE (- for standard\n"
    "output), show their progress on standard error while it is a terminal, and\n"
    "stop on Ctrl+C, SIGTERM or SIGHUP with what they found. Messages about a\n"
    "line of a file start with \"korvalo-level: FILE:LINE: \".\n"
    "\n"
    "Exit status 0 means success; 1 an invalid code, a set with problems, a\n"
    "target out of reach or a file that could not be read or written; 2 a wrong\n"
    "command line; 3 that standard output could not be written, standard input\n"
    "could not be read or memory ran out, with a message on standard error; 130\n"
    "that Ctrl+C stopped generate or hardest (143 SIGTERM, 129 SIGHUP).\n"
    "`korvalo-level help COMMAND` (or COMMAND --help) tells more;\n"
    "`korvalo-level --version` prints the version.\n";

/// The tool's own options, before any command.
const std::vector<std::string_view> ToolOptions = {"--help", "-h", "--version", "-v"};

/// Every word that can stand first: the commands and help.
std::vector<std::string_view> CommandWords() {
  std::vector<std::string_view> words = {"help"};
  for (const ToolCommand& command : ToolCommands) words.push_back(command.name);
  return words;
}

/// A first word that is no command, as an option or a command, with the
/// nearest known one.
int RefuseFirstWord(const std::string& word, bool optionsEnded, CheckedOutput& err) {
  if (!optionsEnded && word.size() > 1 && word.front() == '-') {
    return RefuseCommandLine(
        {}, "unknown option " + QuoteText(word) + Suggestion(word, ToolOptions), err);
  }
  return RefuseCommandLine(
      {}, "unknown command " + QuoteText(word) + Suggestion(word, CommandWords()), err);
}

/// help, or help COMMAND: that command's own help.
int RunHelp(const std::vector<std::string>& args, CommandStreams& streams) {
  if (args.empty() || args.front() == "help") {
    if (args.size() > 1)
      return RefuseCommandLine("help", "expects one command at most", streams.err);
    streams.out.Write(GeneralHelp());
    return 0;
  }
  if (args.size() > 1) return RefuseCommandLine("help", "expects one command at most", streams.err);
  if (const ToolCommand* found = FindToolCommand(args.front())) {
    return found->run({"--help"}, streams);
  }
  return RefuseFirstWord(args.front(), true, streams.err);
}

/// The text with every line after the first indented by the given number of blanks.
std::string IndentContinuations(std::string_view text, std::size_t indent) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '\n') out.append(indent, ' ');
  }
  return out;
}

int RunCommand(std::vector<std::string> words, CommandStreams& streams) {
  // "--" before the command ends the tool's own options (--help, --version).
  const bool optionsEnded = !words.empty() && words.front() == EndOfOptions;
  if (optionsEnded) words.erase(words.begin());
  if (words.empty()) return RefuseCommandLine({}, "no command given", streams.err);
  const std::string& command = words.front();
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (command == "help") return RunHelp(rest, streams);
  if (!optionsEnded && IsHelpOption(command)) {
    streams.out.Write(GeneralHelp());
    return 0;
  }
  if (!optionsEnded && (command == "--version" || command == "-v")) {
    streams.out.Write("korvalo-level " + std::string(KorvaloVersion) + "\n");
    return 0;
  }
  if (const ToolCommand* found = FindToolCommand(command)) return found->run(rest, streams);
  return RefuseFirstWord(command, optionsEnded, streams.err);
}

}  // namespace

const ToolCommand* FindToolCommand(std::string_view name) {
  for (const ToolCommand& command : ToolCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::string GeneralHelp() {
  constexpr std::string_view FirstLead = "Usage: korvalo-level ";
  constexpr std::string_view Lead = "       korvalo-level ";
  constexpr std::size_t SummaryColumn = 11;
  std::string help;
  for (const ToolCommand& command : ToolCommands) {
    help += help.empty() ? FirstLead : Lead;
    help += std::string(command.name) + " " +
            IndentContinuations(command.synopsis, Lead.size() + command.name.size() + 1) + "\n";
  }
  help += "\n";
  for (const ToolCommand& command : ToolCommands) {
    std::string name(command.name);
    name.resize(SummaryColumn, ' ');
    help += name + IndentContinuations(command.summary, SummaryColumn) + "\n";
  }
  return help + "\n" + std::string(CommonHelp);
}

int RunTool(const std::vector<std::string>& words, CommandStreams& streams) {
  int status = 0;
  try {
    status = RunCommand(words, streams);
  } catch (const std::bad_alloc&) {
    // Neither output allocates once constructed.
    streams.err.Write("korvalo-level: out of memory\n");
    streams.out.Flush();
    return StreamFailure;
  }
  if (streams.out.Flush()) return status;
  // A reader that went away (| head -1) needs no message.
  if (streams.out.Error() != EPIPE) {
    streams.err.Write("korvalo-level: cannot write to standard output: ");
    streams.err.Write(std::strerror(streams.out.Error()));
    streams.err.Write("\n");
  }
  return StreamFailure;
}

#pragma once
// What the subcommands of korvalo-level share. Each gets the arguments after
// its own name and the standard streams, and returns the process's exit status;
// cli/command_table.h lists them.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "cli/io/checked_output.h"
#include "cli/io/line_reader.h"

/// Exit status for an invalid code or a file that could not be written.
inline constexpr int CommandFailure = 1;
/// Exit status for a wrong command line.
inline constexpr int UsageError = 2;
/// Exit status when standard output cannot be written, standard input cannot
/// be read, or memory runs out.
inline constexpr int StreamFailure = 3;
/// Exit status when Ctrl+C stopped a long search: 128 + SIGINT, what a shell
/// reports for a program the signal ended.
inline constexpr int Interrupted = 130;

/// Standard input, output and error of a command.
struct CommandStreams {
  ReadBytes input;
  CheckedOutput& out;
  CheckedOutput& err;
  bool errIsTerminal = false;  // long searches show their progress there
};

/// True for the words that ask a command for its help.
inline bool IsHelpOption(const std::string& word) { return word == "--help" || word == "-h"; }

/// True when any argument asks for help: the help is then printed whatever
/// else the command line holds.
inline bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), IsHelpOption);
}

/// Reports a wrong command line on standard error, the mistake and then the
/// command's help, and gives the exit status for it.
inline int RefuseCommandLine(std::string_view prefix, std::string_view mistake,
                             std::string_view help, CheckedOutput& err) {
  err.Write(std::string(prefix) + std::string(mistake) + "\n\n");
  err.Write(help);
  return UsageError;
}

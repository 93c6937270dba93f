#pragma once
// The subcommands of korvalo-level. Each gets the arguments after its own name
// and the standard streams, and returns the process's exit status.

#include <string>
#include <vector>

#include "cli/checked_output.h"
#include "cli/line_reader.h"

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

int RunSolve(const std::vector<std::string>& args, CommandStreams& streams);
int RunCanon(const std::vector<std::string>& args, CommandStreams& streams);
int RunGenerate(const std::vector<std::string>& args, CommandStreams& streams);
int RunHardest(const std::vector<std::string>& args, CommandStreams& streams);
int RunCheckSet(const std::vector<std::string>& args, CommandStreams& streams);
int RunRender(const std::vector<std::string>& args, CommandStreams& streams);

/// True for the words that ask a command for its help.
inline bool IsHelpOption(const std::string& word) { return word == "--help" || word == "-h"; }

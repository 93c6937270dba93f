#pragma once
// What the subcommands of korvalo-level share. Each gets the arguments after
// its own name and the standard streams, and returns the process's exit status;
// cli/command_table.h lists them.

#include <algorithm>
#include <optional>
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
  /// While standard input is a terminal, the key that ends what is typed
  /// there ("Ctrl+D"); empty otherwise.
  std::string typedInputEnd;
};

/// The word that ends the options: every argument after it is an operand,
/// however it starts.
inline constexpr std::string_view EndOfOptions = "--";

/// The word that names standard input where a file is read.
inline constexpr std::string_view StandardInputName = "-";

/// The word that names standard output where a file is written.
inline constexpr std::string_view StandardOutputName = "-";

/// True for the words that ask a command for its help.
inline bool IsHelpOption(const std::string& word) { return word == "--help" || word == "-h"; }

/// True when an argument before the end of the options asks for help: the
/// help is then printed whatever else the command line holds.
inline bool AsksForHelp(const std::vector<std::string>& args) {
  const auto end = std::find(args.begin(), args.end(), EndOfOptions);
  return std::any_of(args.begin(), end, IsHelpOption);
}

/// The arguments of a command that takes no options but --help: its
/// operands, in order, without the "--" that ends the options. A word before
/// "--" that starts with a dash (other than "-" itself, standard input) can
/// only be a mistyped option: the mistake is then returned instead, with the
/// nearest of the command's known options.
std::optional<std::string> ReadOperands(const std::vector<std::string>& args,
                                        std::vector<std::string>& operands,
                                        const std::vector<std::string_view>& known = {"--help"});

/// Reports a wrong command line on standard error in two lines, the mistake
/// and where to read more, and gives the exit status for it. An empty command
/// stands for the tool as a whole.
int RefuseCommandLine(std::string_view command, std::string_view mistake, CheckedOutput& err);

/// The start of a message about a line of a file, in the form that editors
/// and compilers' error lists jump to: "korvalo-level: FILE:LINE: ", the
/// file name escaped as in every message; "-" stands for standard input.
std::string FileLinePrefix(std::string_view file, std::size_t line);

/// Tells, on standard error, how to end the input when a command reads
/// standard input and it is a terminal, so that no one waits for an answer
/// that comes only at the end; what names what is read there.
void SayHowToEndTypedInput(std::string_view command, std::string_view what,
                           CommandStreams& streams);

// korvalo-level solve: solvability and a shortest solution for level codes.

#include <cstring>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/escaped_text.h"
#include "logic/level_code.h"
#include "logic/solver.h"

namespace {

constexpr std::string_view SolveHelp =
    "Usage: korvalo-level solve [CODE ...]\n"
    "\n"
    "Reads level codes from the arguments, or one per line from standard input\n"
    "when none is given, and prints one line per code with four fields separated\n"
    "by a tab:\n"
    "  1. the code as given;\n"
    "  2. solvable, unsolvable or invalid;\n"
    "  3. the number of moves of a shortest solution: 0 when the balls already\n"
    "     stand on their holes, - when there is no solution;\n"
    "  4. the moves of that solution as the letters N S W E (the one the\n"
    "     editor's solution step follows), - when there are none.\n"
    "The reason why a code is invalid goes to standard error.\n"
    "\n"
    "Lines end in LF or CR LF. A line longer than 4096 bytes is invalid with\n"
    "the reason \"line too long\"; its code field shows its first 32 bytes\n"
    "followed by \"...\", and reading goes on with the next line.\n"
    "In the code field and in the reasons, every byte outside printable ASCII,\n"
    "and the backslash, is shown as \\xNN with two hexadecimal digits: a tab as\n"
    "\\x09, an escape as \\x1b, a backslash as \\x5c.\n"
    "\n"
    "Exit status: 0 when every code was read, 1 when any was invalid,\n"
    "2 for a wrong command line, 3 when standard output could not be written\n"
    "or standard input could not be read (with a message on standard error;\n"
    "output into a closed pipe just stops) or memory ran out.\n";

/// Bytes of a too long line shown in its code field.
constexpr std::size_t TooLongShown = 32;

/// The three fields after the code for a level that was read.
std::string DescribeSolution(Level& level) {
  const Solution solution = ShortestSolution(level);
  if (!solution.exists) return "unsolvable\t-\t-";
  std::string letters;
  for (Direction direction : solution.moves) letters += DirectionLetter(direction);
  return "solvable\t" + std::to_string(solution.moves.size()) + "\t" +
         (letters.empty() ? "-" : letters);
}

/// The line for a code that is not read, and its reason on standard error.
void ReportInvalid(const std::string& shownCode, std::string_view reason, CommandStreams& streams) {
  streams.out.Write(shownCode + "\tinvalid\t-\t-\n");
  streams.err.Write("korvalo-level solve: invalid code '" + shownCode + "': " + std::string(reason) +
                    "\n");
}

/// Prints the line for one code; false when the code is invalid.
bool SolveOne(std::string_view code, CommandStreams& streams) {
  const std::string shownCode = EscapeText(code);
  Level level;
  const ParseResult result = ParseLevelCode(level, code);
  if (!result.accepted) {
    ReportInvalid(shownCode, result.reason, streams);
    return false;
  }
  streams.out.Write(shownCode + '\t' + DescribeSolution(level) + '\n');
  return true;
}

int StatusFor(bool allRead) { return allRead ? 0 : CommandFailure; }

int SolveArguments(const std::vector<std::string>& codes, CommandStreams& streams) {
  bool allRead = true;
  for (const std::string& code : codes) {
    if (streams.out.Failed()) break;
    allRead = SolveOne(code, streams) && allRead;
  }
  return StatusFor(allRead);
}

/// Solves the codes on standard input, a line each, until the end, a read
/// error or a failed output.
int SolveInput(CommandStreams& streams) {
  LineReader reader(streams.input);
  // Answers reach a terminal before the tool waits for the next line.
  reader.BeforeEachRead([&streams] { streams.out.Flush(); });
  bool allRead = true;
  while (!streams.out.Failed()) {
    const InputLine line = reader.Next();
    switch (line.kind) {
      case InputLine::Kind::Text:
        allRead = SolveOne(line.text, streams) && allRead;
        break;
      case InputLine::Kind::TooLong:
        ReportInvalid(EscapeText(line.text.substr(0, TooLongShown)) + "...", "line too long", streams);
        allRead = false;
        break;
      case InputLine::Kind::End:
        return StatusFor(allRead);
      case InputLine::Kind::ReadError:
        streams.err.Write(std::string("korvalo-level solve: cannot read standard input: ") +
                          std::strerror(line.error) + "\n");
        return StreamFailure;
    }
  }
  return StatusFor(allRead);  // the tool reports the failed output
}

}  // namespace

int RunSolve(const std::vector<std::string>& args, CommandStreams& streams) {
  for (const std::string& arg : args) {
    if (IsHelpOption(arg)) {
      streams.out.Write(SolveHelp);
      return 0;
    }
    // No code starts with a dash, so this can only be a mistyped option.
    if (!arg.empty() && arg.front() == '-') {
      streams.err.Write("korvalo-level solve: unknown option '" + EscapeText(arg) + "'\n");
      streams.err.Write(SolveHelp);
      return UsageError;
    }
  }
  return args.empty() ? SolveInput(streams) : SolveArguments(args, streams);
}

// korvalo-level solve: solvability and a shortest solution for level codes.

#include <iostream>
#include <string>
#include <string_view>

#include "cli/commands.h"
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
    "Exit status: 0 when every code was read, 1 when any was invalid,\n"
    "2 for a wrong command line.\n";

/// The three fields after the code for a level that was read.
std::string DescribeSolution(Level& level) {
  const Solution solution = ShortestSolution(level);
  if (!solution.exists) return "unsolvable\t-\t-";
  std::string letters;
  for (Direction direction : solution.moves) letters += DirectionLetter(direction);
  return "solvable\t" + std::to_string(solution.moves.size()) + "\t" +
         (letters.empty() ? "-" : letters);
}

/// Prints the line for one code; false when the code is invalid.
bool SolveOne(const std::string& code) {
  Level level;
  const ParseResult result = ParseLevelCode(level, code);
  if (!result.accepted) {
    std::cout << code << "\tinvalid\t-\t-\n";
    std::cerr << "korvalo-level solve: invalid code '" << code << "': " << result.reason << '\n';
    return false;
  }
  std::cout << code << '\t' << DescribeSolution(level) << '\n';
  return true;
}

}  // namespace

int RunSolve(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << SolveHelp;
      return 0;
    }
    // No code starts with a dash, so this can only be a mistyped option.
    if (!arg.empty() && arg.front() == '-') {
      std::cerr << "korvalo-level solve: unknown option '" << arg << "'\n" << SolveHelp;
      return UsageError;
    }
  }
  bool allRead = true;
  if (!args.empty()) {
    for (const std::string& code : args) allRead = SolveOne(code) && allRead;
  } else {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF files
      allRead = SolveOne(line) && allRead;
    }
  }
  return allRead ? 0 : 1;
}

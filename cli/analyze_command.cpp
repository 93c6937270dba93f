// korvalo-level analyze: what a level asks of a player beyond the length of
// its solution.

#include <string>
#include <string_view>

#include "cli/code_answers.h"
#include "cli/command_table.h"
#include "logic/level_analysis.h"

namespace {

constexpr std::string_view AnalyzeHelp =
    "Usage: korvalo-level analyze [CODE | FILE | -]...\n"
    "\n"
    "Reads level codes as solve does (from the arguments, level-set files named\n"
    "there, or standard input for - or when there is none; -- ends the options)\n"
    "and prints one line per code with seven fields separated by a tab, each\n"
    "taken over the placements of the balls that the moves reach from the start:\n"
    "  1. the code as given;\n"
    "  2. solvable, unsolvable or invalid (then every further field is -);\n"
    "  3. the number of moves of a shortest solution, - when there is none;\n"
    "  4. solutions: how many sequences of that many moves put every ball on its\n"
    "     hole (1 when solved already, 0 when unsolvable); above 1000000000 it\n"
    "     reads 1000000000+;\n"
    "  5. reachable: how many placements of the balls the moves reach, the\n"
    "     start included;\n"
    "  6. counter-intuitive steps: the steps of the solution solve prints at\n"
    "     which no move toward the holes lowers h, the sum of the balls'\n"
    "     distances (columns plus rows) to their holes; - when unsolvable;\n"
    "  7. greedy effort: how many placements a greedy player expands before the\n"
    "     holes are reached, trying always the one of least h (of equal h, the\n"
    "     first found; a move discovers N, S, W, E in that order), the start and\n"
    "     the solved placement counted; - when unsolvable.\n"
    "The reason why a code is invalid goes to standard error.\n"
    "\n"
    "Input lines, files and the escaping of bytes are as for solve; see\n"
    "korvalo-level solve --help.\n"
    "\n"
    "Exit status: 0 when every code was read, 1 when any was invalid or a file\n"
    "could not be read, 2 for a wrong command line, 3 when standard output\n"
    "could not be written or standard input could not be read (with a message\n"
    "on standard error; output into a closed pipe just stops) or memory ran out.\n";

/// The fields after the code for a level that was read.
std::string AnalysisFields(const LevelAnalysis& analysis) {
  const std::string reachable = std::to_string(analysis.reachable);
  if (!analysis.solvable) return "unsolvable\t-\t0\t" + reachable + "\t-\t-";
  return "solvable\t" + std::to_string(analysis.moves) + '\t' +
         SolutionCountText(analysis.solutions) + '\t' + reachable + '\t' +
         std::to_string(analysis.counterIntuitiveSteps.size()) + '\t' +
         std::to_string(analysis.greedyEffort);
}

}  // namespace

int RunAnalyze(const std::vector<std::string>& args, CommandStreams& streams) {
  LevelAnalyzer analyzer;
  return AnswerCodes({"analyze", AnalyzeHelp,
                      [&analyzer](Level& level) { return AnalysisFields(analyzer.Analyze(level)); },
                      "invalid\t-\t-\t-\t-\t-"},
                     args, streams);
}

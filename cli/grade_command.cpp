// korvalo-level grade: how hard a level is for a player, as difficulty points
// and a named grade worked out from its analysis.

#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "cli/code_answers.h"
#include "cli/command_table.h"
#include "cli/io/escaped_text.h"
#include "logic/calibration.h"
#include "logic/level_analysis.h"
#include "logic/level_grade.h"

namespace {

constexpr std::string_view GradeHelp =
    "Usage: korvalo-level grade [--grade-parameters FILE] [CODE | FILE | -]...\n"
    "\n"
    "Reads level codes as solve does (from the arguments, level-set files named\n"
    "there, or standard input for - or when there is none; -- ends the options)\n"
    "and prints one line per code with four fields separated by a tab:\n"
    "  1. the code as given;\n"
    "  2. solvable, unsolvable or invalid (then every further field is -);\n"
    "  3. the grade: Easy, Normal, Hard or Expert; - when unsolvable;\n"
    "  4. the difficulty points the grade is read from; - when unsolvable.\n"
    "The points add the moves of a shortest solution, 3 for each\n"
    "counter-intuitive step and 2 for each doubling of the greedy effort, and\n"
    "take 1 off for each doubling of the number of shortest solutions (the\n"
    "figures of analyze). Normal starts at 20 points, Hard at 45, Expert at 75.\n"
    "Parameters fitted to the players' ratings (korvalo-level calibrate) change\n"
    "these numbers: they are read from --grade-parameters FILE, else from\n"
    "$XDG_CONFIG_HOME/korvalo/grade_parameters.txt (~/.config/korvalo/ when\n"
    "XDG_CONFIG_HOME is unset) when that file exists.\n"
    "The reason why a code is invalid goes to standard error.\n"
    "\n"
    "Input lines, files and the escaping of bytes are as for solve; see\n"
    "korvalo-level solve --help.\n"
    "\n"
    "Exit status: 0 when every code was read, 1 when any was invalid or a file\n"
    "could not be read, 2 for a wrong command line, 3 when standard output\n"
    "could not be written or standard input could not be read (with a message\n"
    "on standard error; output into a closed pipe just stops) or memory ran out.\n";

constexpr std::string_view ParametersOption = "--grade-parameters";

/// The fields after the code for a level that was read.
std::string GradeFields(const LevelAnalysis& analysis, const GradeParameters& parameters) {
  const std::optional<LevelGrade> grade = GradeLevel(analysis, parameters);
  if (!grade) return "unsolvable\t-\t-";
  return "solvable\t" + std::string(GradeName(grade->grade)) + '\t' + std::to_string(grade->points);
}

}  // namespace

int RunGrade(const std::vector<std::string>& args, CommandStreams& streams) {
  // --grade-parameters FILE (or =FILE) is taken out before the codes are
  // read; after "--" every argument is a code or file.
  std::vector<std::string> codes;
  std::string named;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == ParametersOption) {
      if (i + 1 == args.size())
        return RefuseCommandLine("grade", "--grade-parameters needs a file", streams.err);
      named = args[++i];
      continue;
    }
    if (!optionsEnded && arg.rfind(std::string(ParametersOption) + "=", 0) == 0) {
      named = arg.substr(ParametersOption.size() + 1);
      continue;
    }
    optionsEnded = optionsEnded || arg == EndOfOptions;
    codes.push_back(arg);
  }
  auto chosen = ChosenGradeParameters(
      named, InstalledGradeParametersPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
  if (const auto* error = std::get_if<GradeParametersError>(&chosen)) {
    streams.err.Write("korvalo-level grade: " + EscapeText(error->reason) + "\n");
    return CommandFailure;
  }
  const GradeParameters parameters = std::get<GradeParameters>(chosen);
  LevelAnalyzer analyzer;
  return AnswerCodes({"grade", GradeHelp,
                      [&analyzer, &parameters](Level& level) {
                        return GradeFields(analyzer.Analyze(level), parameters);
                      },
                      "invalid\t-\t-"},
                     codes, streams);
}

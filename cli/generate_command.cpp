// korvalo-level generate: levels whose shortest solution has a chosen number
// of moves, the same for a seed on every machine.

#include <optional>
#include <string>
#include <string_view>

#include "cli/code_answers.h"
#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/interrupt.h"
#include "cli/io/escaped_text.h"
#include "cli/long_search.h"
#include "logic/level_code.h"
#include "logic/level_generator.h"

namespace {

constexpr std::string_view GenerateHelp =
    "Usage: korvalo-level generate --size N --moves MIN[-MAX] [--count K] [--seed S]\n"
    "                              [--open-walls W] [--unique] [--effort MIN[-MAX]]\n"
    "                              [--output FILE]\n"
    "\n"
    "Prints K levels (default 1) of an N x N board (N is 3, 5 or 7) whose shortest\n"
    "solution has from MIN to MAX moves (without MAX, MIN or more), a line each\n"
    "in the format of solve: the code, solvable, the number of moves and the\n"
    "moves as N S W E, separated by tabs. No two of them are the same level up\n"
    "to turns and mirrors. MIN and MAX are at most 503, 13799 or 110543 on a\n"
    "3, 5 or 7 board: one fewer than the placements of the balls.\n"
    "\n"
    "Each level is a random maze with W more inner walls opened at random\n"
    "(default 0), and its pieces on random squares, all drawn from the seed S\n"
    "(a whole number): the same options give the same levels on every machine.\n"
    "Without --seed a seed is drawn at random and named on standard error, so\n"
    "that the levels can be made again.\n"
    "\n"
    "--unique keeps to levels with exactly one shortest solution. --effort keeps\n"
    "to levels on which a greedy player, who always tries the placement that\n"
    "brings the balls nearest to their holes, expands from MIN to MAX placements\n"
    "(the greedy effort of analyze). Both are decided by the same search and the\n"
    "same seed: the levels are the same on every machine too.\n"
    "\n"
    "The search gives up when 5000 candidate levels in a row bring no new level\n"
    "(some seconds on a 7 x 7 board): the target is then out of reach, and it\n"
    "ends with a message and the levels found so far.\n"
    "\n"
    "--output FILE writes the levels to FILE as a level set instead of printing\n"
    "them, with a \"# title:\" line that names the options; - is standard\n"
    "output. The file is written as a whole or not at all; a device or a FIFO\n"
    "is written as it is; a folder or a socket is refused before the search\n"
    "starts. FILE is left alone when no level was found.\n"
    "\n"
    "While standard error is a terminal, a line there shows the levels found,\n"
    "the candidates tried, the most moves found and the time taken. Ctrl+C\n"
    "stops the search: the levels found are printed (or written to FILE) and\n"
    "the exit status is 130. SIGTERM and SIGHUP stop it the same way, with the\n"
    "status 143 or 129. A second signal ends the program at once.\n"
    "\n"
    "Exit status: 0 when K levels were found, 1 when the target was out of reach\n"
    "or FILE could not be written, 2 for a wrong command line, 3 when standard\n"
    "output could not be written or memory ran out, 130 when Ctrl+C stopped it\n"
    "(143 for SIGTERM, 129 for SIGHUP).\n";

// The help texts here and of the tool state the attempt bound.
static_assert(DefaultAttemptLimit == 5000);

constexpr std::string_view Prefix = "korvalo-level generate: ";

struct GenerateOptions {
  GenerationRequest request;
  bool seedGiven = false;
  std::optional<std::string> output;
};

Mistake ReadGenerateOptions(const std::vector<std::string>& args, GenerateOptions& options) {
  OptionValues values;
  if (Mistake mistake = ReadOptions(
          args, {"--size", "--moves", "--count", "--seed", "--open-walls", "--effort", "--output"},
          values, {"--unique"})) {
    return mistake;
  }
  if (values.count("--size") == 0) return "--size is needed";
  if (values.count("--moves") == 0) return "--moves is needed";
  GenerationRequest& request = options.request;
  std::optional<int> maxMoves;
  std::optional<int> maxEffort;
  std::optional<std::uint64_t> seed;
  for (Mistake mistake :
       {ReadIntOption(values, "--size", 0, request.size),
        ReadRange(values, "--moves", "moves", request.minMoves, maxMoves),
        ReadIntOption(values, "--count", 1, request.count), ReadSeedOption(values, "--seed", seed),
        ReadIntOption(values, "--open-walls", 0, request.openWalls),
        ReadRange(values, "--effort", "placements", request.minEffort, maxEffort)}) {
    if (mistake) return mistake;
  }
  request.maxMoves = maxMoves.value_or(NoMoveLimit);
  request.maxEffort = maxEffort.value_or(NoEffortLimit);
  request.unique = values.count("--unique") != 0;
  if (std::optional<Reason> problem = GenerationRequestProblem(request)) {
    return EnglishReason(*problem);
  }
  options.seedGiven = seed.has_value();
  request.seed = seed.value_or(0);
  if (const auto output = values.find("--output"); output != values.end()) {
    if (output->second.empty()) return "--output needs a file name";
    options.output = output->second;
  }
  return std::nullopt;
}

/// The options as a command line, for the title of the set written.
std::string RequestTitle(const GenerationRequest& request) {
  std::string title = "generate --size " + std::to_string(request.size) + " --moves " +
                      std::to_string(request.minMoves);
  if (request.maxMoves != NoMoveLimit) title += '-' + std::to_string(request.maxMoves);
  title += " --count " + std::to_string(request.count) + " --seed " + std::to_string(request.seed);
  if (request.openWalls > 0) title += " --open-walls " + std::to_string(request.openWalls);
  if (request.unique) title += " --unique";
  if (request.minEffort > 0 || request.maxEffort != NoEffortLimit) {
    title += " --effort " + std::to_string(request.minEffort);
    if (request.maxEffort != NoEffortLimit) title += '-' + std::to_string(request.maxEffort);
  }
  return title;
}

std::string ProgressText(const SearchProgress& progress, int count) {
  std::string text = "found " + std::to_string(progress.levelsFound) + " of " +
                     std::to_string(count) + ", tried " + std::to_string(progress.levelsTried);
  if (progress.bestMoves >= 0) text += ", best " + std::to_string(progress.bestMoves) + " moves";
  return text + ", " + ElapsedText(progress.elapsed);
}

/// The level's line in the format of solve.
std::string SolveLine(const FoundLevel& found) {
  Level level;
  ParseLevelCode(level, found.code);  // a code the generator wrote
  return found.code + '\t' + SolutionFields(level) + '\n';
}

/// The message and status for how the search ended.
int ReportEnd(const GenerationResult& result, const GenerationRequest& request,
              const StopRequest& stop, CheckedOutput& err) {
  const std::string found =
      std::to_string(result.levels.size()) + " of " + std::to_string(request.count) + " levels";
  if (result.end == SearchEnd::Cancelled && stop.Interrupted()) {
    err.Write(std::string(Prefix) + "stopped by " + stop.SignalName() + " with " + found +
              " found\n");
    return stop.ExitStatus();
  }
  if (result.end == SearchEnd::OutOfReach) {
    err.Write(std::string(Prefix) + "out of reach: " + std::to_string(request.attemptLimit) +
              " candidates in a row brought no new level (" + found + " found)\n");
    return CommandFailure;
  }
  return 0;  // done, or stopped because standard output failed, which the tool reports
}

}  // namespace

int RunGenerate(const std::vector<std::string>& args, CommandStreams& streams) {
  if (AsksForHelp(args)) {
    streams.out.Write(GenerateHelp);
    return 0;
  }
  GenerateOptions options;
  if (const Mistake mistake = ReadGenerateOptions(args, options)) {
    return RefuseCommandLine("generate", *mistake, streams.err);
  }
  if (OutputRefused(Prefix, options.output, streams.err)) return CommandFailure;
  GenerationRequest& request = options.request;
  if (!options.seedGiven) {
    request.seed = DrawSeed();
    const std::string seed = std::to_string(request.seed);
    streams.err.Write(std::string(Prefix) + "seed " + seed + " (--seed " + seed +
                      " makes these levels again)\n");
  }

  StopRequest stop;
  ProgressLine progress(streams.err, streams.errIsTerminal);
  SearchControl control;
  control.cancel = stop.Flag();
  control.found = [&](const FoundLevel& level) {
    if (options.output) return;
    progress.Clear();
    streams.out.Write(SolveLine(level));
    if (!streams.out.Flush()) stop.Stop();
  };
  if (progress.Shown()) {
    control.progress = [&](const SearchProgress& now) {
      progress.Show(ProgressText(now, request.count));
    };
  }
  const GenerationResult result = GenerateLevels(request, control);
  progress.Clear();

  const int status = ReportEnd(result, request, stop, streams.err);
  if (!options.output) return status;
  return WriteOutputFile(Prefix, *options.output, RequestTitle(request), result.levels, status,
                         streams);
}

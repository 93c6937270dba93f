// korvalo-level hardest: the search for the level whose shortest solution is
// longest, or on which a greedy player works longest.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/interrupt.h"
#include "cli/io/escaped_text.h"
#include "cli/long_search.h"
#include "logic/hardest_search.h"
#include "logic/level_analysis.h"
#include "logic/level_code.h"

namespace {

constexpr std::string_view HardestHelp =
    "Usage: korvalo-level hardest --size N [--goal moves|effort] [--seconds T]\n"
    "                             [--seed S] [--output FILE]\n"
    "\n"
    "Searches for T seconds (default 60; decimals allowed) for the N x N level\n"
    "(N is 3, 5 or 7) whose shortest solution is longest, and prints a line each\n"
    "time it finds a longer one: the code and the number of moves, separated by\n"
    "a tab. The last line is the best level found.\n"
    "\n"
    "With --goal effort it searches instead for the level on which a greedy\n"
    "player, who always tries the placement that brings the balls nearest to\n"
    "their holes, expands the most placements (the greedy effort of analyze),\n"
    "and each line has a third field: that effort. --goal moves is the default.\n"
    "\n"
    "The search climbs from random mazes, opening or closing one wall or moving\n"
    "one ball (or hole) at a time, and starts afresh when it stops getting\n"
    "anywhere. One climb runs on each core of the machine, each from a seed of\n"
    "its own drawn from S, and the best level of all of them is kept. The seed\n"
    "S (a whole number) fixes the climbs' course; how far they get in T seconds\n"
    "depends on the machine. Without --seed a seed is drawn at random and named\n"
    "on standard error.\n"
    "\n"
    "--output FILE writes the best level to FILE as a level set instead of\n"
    "printing, with a \"# title:\" line that names the options; - is standard\n"
    "output. The file is written as a whole or not at all; a device or a FIFO\n"
    "is written as it is; a folder or a socket is refused before the search\n"
    "starts.\n"
    "\n"
    "While standard error is a terminal, a line there shows the most moves (or\n"
    "the greatest effort) found, the candidates tried and the time taken. Ctrl+C\n"
    "stops the search: the best level found is printed (or written to FILE) and\n"
    "the exit status is 130. SIGTERM and SIGHUP stop it the same way, with the\n"
    "status 143 or 129. A second signal ends the program at once.\n"
    "\n"
    "Exit status: 0 when the time was up, 1 when FILE could not be written, 2\n"
    "for a wrong command line, 3 when standard output could not be written or\n"
    "memory ran out, 130 when Ctrl+C stopped it (143 for SIGTERM, 129 for\n"
    "SIGHUP).\n";

constexpr std::string_view Prefix = "korvalo-level hardest: ";

struct HardestOptions {
  HardestRequest request;
  bool seedGiven = false;
  std::optional<std::string> output;
};

/// The goal named by --goal; nothing when the name is none.
std::optional<HardestGoal> GoalNamed(std::string_view name) {
  if (name == "moves") return HardestGoal::Moves;
  if (name == "effort") return HardestGoal::Effort;
  return std::nullopt;
}

Mistake ReadHardestOptions(const std::vector<std::string>& args, HardestOptions& options) {
  OptionValues values;
  if (Mistake mistake =
          ReadOptions(args, {"--size", "--goal", "--seconds", "--seed", "--output"}, values)) {
    return mistake;
  }
  if (values.count("--size") == 0) return "--size is needed";
  HardestRequest& request = options.request;
  std::optional<std::uint64_t> seed;
  for (Mistake mistake : {ReadIntOption(values, "--size", 0, request.size),
                          ReadSecondsOption(values, "--seconds", request.timeLimit),
                          ReadSeedOption(values, "--seed", seed)}) {
    if (mistake) return mistake;
  }
  if (const auto goal = values.find("--goal"); goal != values.end()) {
    const std::optional<HardestGoal> named = GoalNamed(goal->second);
    if (!named) return "--goal expects moves or effort, not " + QuoteText(goal->second);
    request.goal = *named;
  }
  if (std::optional<std::string> problem = HardestRequestProblem(request)) return problem;
  options.seedGiven = seed.has_value();
  request.seed = seed.value_or(0);
  if (const auto output = values.find("--output"); output != values.end()) {
    if (output->second.empty()) return "--output needs a file name";
    options.output = output->second;
  }
  return std::nullopt;
}

std::string RequestTitle(const HardestRequest& request) {
  std::string title = "hardest --size " + std::to_string(request.size);
  if (request.goal == HardestGoal::Effort) title += " --goal effort";
  return title + " --seconds " + SecondsText(request.timeLimit) + " --seed " +
         std::to_string(request.seed);
}

/// The best level found so far, as the progress line shows it.
struct Best {
  int moves = -1;  // -1 before the first level
  int effort = 0;  // for --goal effort
};

std::string ProgressText(const HardestRequest& request, const Best& best,
                         const SearchProgress& progress) {
  std::string text;
  if (best.moves >= 0) {
    text = request.goal == HardestGoal::Effort ? "best effort " + std::to_string(best.effort) +
                                                     " (" + std::to_string(best.moves) + " moves), "
                                               : "best " + std::to_string(best.moves) + " moves, ";
  }
  return text + "tried " + std::to_string(progress.levelsTried) + ", " +
         ElapsedText(progress.elapsed) + " of " + SecondsText(request.timeLimit) + " s";
}

/// The greedy effort of a level the search found.
int GreedyEffortOf(const FoundLevel& found, LevelAnalyzer& analyzer) {
  Level level;
  ParseLevelCode(level, found.code);  // a code the search wrote
  return analyzer.Analyze(level).greedyEffort;
}

/// One climb for each core of the machine.
int ClimbThreads() {
  const auto cores =
      static_cast<int>(std::min<unsigned>(std::thread::hardware_concurrency(), MaxHardestThreads));
  return std::max(cores, 1);
}

/// The best level as the list the level set is written from; none before any.
std::vector<FoundLevel> BestLevels(const HardestResult& result) {
  if (result.best.moves < 0) return {};
  return {result.best};
}

}  // namespace

int RunHardest(const std::vector<std::string>& args, CommandStreams& streams) {
  if (AsksForHelp(args)) {
    streams.out.Write(HardestHelp);
    return 0;
  }
  HardestOptions options;
  if (const Mistake mistake = ReadHardestOptions(args, options)) {
    return RefuseCommandLine("hardest", *mistake, streams.err);
  }
  if (OutputRefused(Prefix, options.output, streams.err)) return CommandFailure;
  HardestRequest& request = options.request;
  request.threads = ClimbThreads();
  if (!options.seedGiven) {
    request.seed = DrawSeed();
    streams.err.Write(std::string(Prefix) + "seed " + std::to_string(request.seed) + "\n");
  }

  StopRequest stop;
  ProgressLine progress(streams.err, streams.errIsTerminal);
  LevelAnalyzer analyzer;
  Best best;
  SearchControl control;
  control.cancel = stop.Flag();
  control.found = [&](const FoundLevel& level) {
    best.moves = level.moves;
    std::string line = level.code + '\t' + std::to_string(level.moves);
    if (request.goal == HardestGoal::Effort) {
      best.effort = GreedyEffortOf(level, analyzer);
      line += '\t' + std::to_string(best.effort);
    }
    if (options.output) return;
    progress.Clear();
    streams.out.Write(line + '\n');
    if (!streams.out.Flush()) stop.Stop();
  };
  if (progress.Shown()) {
    control.progress = [&](const SearchProgress& now) {
      progress.Show(ProgressText(request, best, now));
    };
  }
  const HardestResult result = FindHardestLevel(request, control);
  progress.Clear();

  int status = 0;
  if (result.end == SearchEnd::Cancelled && stop.Interrupted()) {
    streams.err.Write(std::string(Prefix) + "stopped by " + stop.SignalName() + "\n");
    status = stop.ExitStatus();
  }
  if (!options.output) return status;
  return WriteOutputFile(Prefix, *options.output, RequestTitle(request), BestLevels(result), status,
                         streams);
}

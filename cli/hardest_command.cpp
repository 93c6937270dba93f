// korvalo-level hardest: the search for the level whose shortest solution is
// longest.

#include <optional>
#include <string>
#include <string_view>

#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/interrupt.h"
#include "cli/io/escaped_text.h"
#include "cli/long_search.h"
#include "logic/hardest_search.h"

namespace {

constexpr std::string_view HardestHelp =
    "Usage: korvalo-level hardest --size N [--seconds T] [--seed S] [--output FILE]\n"
    "\n"
    "Searches for T seconds (default 60; decimals allowed) for the N x N level\n"
    "(N is 3, 5 or 7) whose shortest solution is longest, and prints a line each\n"
    "time it finds a longer one: the code and the number of moves, separated by\n"
    "a tab. The last line is the best level found.\n"
    "\n"
    "The search climbs from random mazes, opening or closing one wall or moving\n"
    "one ball at a time, and starts afresh when it stops getting anywhere. The\n"
    "seed S (a whole number) fixes its course; how far it gets in T seconds\n"
    "depends on the machine. Without --seed a seed is drawn at random and named\n"
    "on standard error.\n"
    "\n"
    "--output FILE writes the best level to FILE as a level set instead of\n"
    "printing, with a \"# title:\" line that names the options. The file is\n"
    "written as a whole or not at all; a FILE that exists and is not a regular\n"
    "file (a folder, a device, a FIFO) is refused before the search starts.\n"
    "\n"
    "While standard error is a terminal, a line there shows the most moves found,\n"
    "the candidates tried and the time taken. Ctrl+C stops the search: the best\n"
    "level found is printed (or written to FILE) and the exit status is 130. A\n"
    "second Ctrl+C ends the program at once.\n"
    "\n"
    "Exit status: 0 when the time was up, 1 when FILE could not be written, 2\n"
    "for a wrong command line, 3 when standard output could not be written or\n"
    "memory ran out, 130 when Ctrl+C stopped it.\n";

constexpr std::string_view Prefix = "korvalo-level hardest: ";

struct HardestOptions {
  HardestRequest request;
  bool seedGiven = false;
  std::optional<std::string> output;
};

Mistake ReadHardestOptions(const std::vector<std::string>& args, HardestOptions& options) {
  OptionValues values;
  if (Mistake mistake = ReadOptions(args, {"--size", "--seconds", "--seed", "--output"}, values)) {
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
  return "hardest --size " + std::to_string(request.size) + " --seconds " +
         SecondsText(request.timeLimit) + " --seed " + std::to_string(request.seed);
}

std::string ProgressText(const SearchProgress& progress, std::chrono::milliseconds limit) {
  std::string text;
  if (progress.bestMoves >= 0) text = "best " + std::to_string(progress.bestMoves) + " moves, ";
  return text + "tried " + std::to_string(progress.levelsTried) + ", " +
         ElapsedText(progress.elapsed) + " of " + SecondsText(limit) + " s";
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
  if (!options.seedGiven) {
    request.seed = DrawSeed();
    streams.err.Write(std::string(Prefix) + "seed " + std::to_string(request.seed) + "\n");
  }

  StopRequest stop;
  ProgressLine progress(streams.err, streams.errIsTerminal);
  SearchControl control;
  control.cancel = stop.Flag();
  control.found = [&](const FoundLevel& level) {
    if (options.output) return;
    progress.Clear();
    streams.out.Write(level.code + '\t' + std::to_string(level.moves) + '\n');
    if (!streams.out.Flush()) stop.Stop();
  };
  if (progress.Shown()) {
    control.progress = [&](const SearchProgress& now) {
      progress.Show(ProgressText(now, request.timeLimit));
    };
  }
  const HardestResult result = FindHardestLevel(request, control);
  progress.Clear();

  int status = 0;
  if (result.end == SearchEnd::Cancelled && stop.Interrupted()) {
    streams.err.Write(std::string(Prefix) + "stopped by Ctrl+C\n");
    status = Interrupted;
  }
  if (!options.output) return status;
  return WriteOutputFile(Prefix, *options.output, RequestTitle(request), BestLevels(result), status,
                         streams.err);
}

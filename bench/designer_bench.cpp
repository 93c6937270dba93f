// Speed of the designer's searches: generating levels to a difficulty (20
// distinct 7 x 7 levels of at least 40 moves, 5 x 5 levels of at least 30),
// the search over ball placements they rest on, and the best the hardest-level
// search finds in 60 seconds (run alone with --benchmark_filter=Hardest/), and
// the candidates that search rates a second.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "logic/hardest_search.h"
#include "logic/level_generator.h"
#include "logic/placement_distances.h"
#include "logic/search_support.h"

namespace {

/// Per iteration, `count` levels of a new seed; the time is that of all of them.
void BM_Generate(benchmark::State& state) {
  GenerationRequest request;
  request.size = static_cast<int>(state.range(0));
  request.minMoves = static_cast<int>(state.range(1));
  request.count = static_cast<int>(state.range(2));
  std::uint64_t tried = 0;
  std::uint64_t levels = 0;
  for (auto _ : state) {
    ++request.seed;
    const GenerationResult result = GenerateLevels(request);
    if (result.levels.size() != static_cast<std::size_t>(request.count)) {
      state.SkipWithError("the target was not reached");
      break;
    }
    tried += result.tried;
    levels += result.levels.size();
  }
  state.counters["levels/s"] =
      benchmark::Counter(static_cast<double>(levels), benchmark::Counter::kIsRate);
  state.counters["tried/level"] =
      static_cast<double>(tried) / static_cast<double>(levels ? levels : 1);
}

/// One search from random balls on a random maze, over every placement they reach.
template <bool Backward>
void BM_PlacementSearch(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  SeededRandom random(11);
  PlacementDistances distances;
  Level level;
  std::uint64_t reached = 0;
  for (auto _ : state) {
    state.PauseTiming();
    BuildRandomMaze(level, size, random);
    const StateIndex balls = RandomPlacement(size, random);
    state.ResumeTiming();
    if (Backward) {
      distances.SearchTo(level, balls);
    } else {
      distances.SearchFrom(level, balls);
    }
    reached += distances.ReachedCount();
  }
  state.counters["placements"] =
      static_cast<double>(reached) / static_cast<double>(state.iterations());
}

/// The hardest-level search's rate: a fixed number of candidates from one
/// seed, so that every run rates the same levels; per second of processor
/// time, which the other work on a shared machine changes less.
void BM_HardestCandidates(benchmark::State& state) {
  HardestRequest request;
  request.size = static_cast<int>(state.range(0));
  request.seed = 1;
  request.timeLimit = std::chrono::milliseconds(0);
  request.evaluationLimit = static_cast<std::uint64_t>(state.range(1));
  std::uint64_t tried = 0;
  for (auto _ : state) {
    const HardestResult result = FindHardestLevel(request);
    tried += result.tried;
    state.counters["moves"] = result.best.moves;
  }
  state.counters["candidates/s"] =
      benchmark::Counter(static_cast<double>(tried), benchmark::Counter::kIsRate);
}

void BM_Hardest(benchmark::State& state) {
  HardestRequest request;
  request.size = static_cast<int>(state.range(0));
  request.seed = 1;
  request.timeLimit = std::chrono::seconds(state.range(1));
  for (auto _ : state) {
    const HardestResult result = FindHardestLevel(request);
    state.counters["moves"] = result.best.moves;
    state.counters["tried"] = static_cast<double>(result.tried);
    state.SetLabel(result.best.code);
  }
}

}  // namespace

BENCHMARK(BM_Generate)
    ->Name("Generate")
    ->ArgNames({"size", "min", "count"})
    ->Args({7, 40, 20})
    ->Args({5, 30, 20})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_PlacementSearch<false>)
    ->Name("SearchFrom")
    ->Arg(5)
    ->Arg(7)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlacementSearch<true>)
    ->Name("SearchTo")
    ->Arg(5)
    ->Arg(7)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HardestCandidates)
    ->Name("HardestCandidates")
    ->ArgNames({"size", "candidates"})
    ->Args({7, 3000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hardest)
    ->Name("Hardest/7x7/60s")
    ->Args({7, 60})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// Speed of the solver.
//
// Random/<search>/<size>: 201 random levels (a random maze with the balls and
//   holes on random squares); each level is timed on its own, the fastest of
//   all iterations counts, and the counters give the median, the 90th
//   percentile and the slowest level in microseconds. One level after another,
//   so the solver's answer kept from the last question never serves.
// Hard/<search>/<level>: the levels on which the search from both ends is
//   slowest, or slowest against the plain search from the balls (found by
//   find_hard_levels), each timed against that plain search in the same run:
//   the counters give both times and their ratio.
// Codes/read and Codes/solve: 400 random 7 x 7 codes read one after another,
//   and read and answered with a shortest solution as `korvalo-level solve`
//   does (the solution then comes from the answer kept by the reading).
// SolveLevel and Literal: the ordered search that writes the predecessor
//   table, and the plain step-by-step search, on the slowest known level.
//
// "Forward" is the yardstick of bench/forward_search.h.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "bench/forward_search.h"
#include "bench/random_levels.h"
#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/solver.h"
#include "tests/support/level_code_reading.h"
#include "tests/support/literal_solver.h"

namespace {

constexpr int RandomLevelCount = 201;
constexpr int CodeCount = 400;

/// 7 x 7 levels on which the searches work hardest, or hardest against the
/// plain search from the balls: the example of a backward side that could
/// flood the board, the plain search's slowest level, and finds of
/// find_hard_levels.
struct HardLevel {
  const char* name;
  const char* code;
};
constexpr HardLevel HardLevels[] = {
    {"flood", "7110501464036dcaba76befa8aa12fb52e550"},
    {"slowest_plain", "76342030002556aa97fe5aa95fe55a9572555"},
    {"share_just_short", "72426200206515432fd6cd001f4f77a8ea540"},
    {"share_spent", "7554164544310bea2876073b51e5773f9e511"},
    {"worst_time", "7504231665016adc3462e76ad32bfe39bc101"},
    {"crowded", "75446450002522e58b8cf50126e20fb3fe451"},
    {"early_overspend", "70421405061626dd346cd171b2cd3b073a511"},
    {"solvable_worst", "7254643615135ed5899c91a932ced3999a551"},
    {"most_work", "7226651163654f71affaff83ff2bffb7f2555"},
    {"flooded_target", "71400066164107faabfebfeafee3ff9dec555"},
    {"unsolvable_share", "7140604203634c7ca17ede8237afea96f2514"},
    {"backward_most", "7224263542246aef0fee7d712c2f7c189e415"},
    {"time_small", "7002602604331afb14ca8dcbb12df208e4545"},
    {"time_large", "7621265626014dee9e0e4bc9dfc6d79792454"},
    {"time_solvable", "76224210204323b9399a0ac8e8eec2a48a555"},
    {"time_small_share", "733420366465576c9d46f57159ac9da9ac545"},
    {"time_small_share_2", "7106120551434dfb263ef6e3b7ed2a0e6e044"},
    {"time_large_2", "73406520120214fba9bef740cfc7f1b75a415"},
    {"time_small_3", "70134616110559fb223ef6e3b7ed2a0e6e044"},
    {"time_small_4", "70660342114524fba9bef742cfc5f1a75e415"},
    {"time_large_3", "73366153510155ab13bafba1e9eec8a3be501"},
    {"time_solvable_2", "7045354153440ee68f827eebcace2f85da455"},
};

using bench::RandomLevel;

std::vector<Level> MakeRandomLevels(int size, int count, unsigned seed) {
  std::mt19937 engine(seed);
  std::vector<Level> levels;
  for (int i = 0; i < count; ++i) levels.push_back(RandomLevel(size, engine));
  return levels;
}

const std::vector<Level>& RandomLevels(int size) {
  static const std::vector<Level> five = MakeRandomLevels(5, RandomLevelCount, 20261210);
  static const std::vector<Level> seven = MakeRandomLevels(7, RandomLevelCount, 20261210);
  return size == 5 ? five : seven;
}

const std::vector<std::string>& RandomCodes() {
  static const std::vector<std::string> codes = [] {
    std::vector<std::string> list;
    for (const Level& level : MakeRandomLevels(7, CodeCount, 4711)) {
      list.push_back(WriteLevelCode(level));
    }
    return list;
  }();
  return codes;
}

// The searches compared, each on a level of its own.
void Recheck(Level& level) {
  RecheckLevel(level);
  benchmark::DoNotOptimize(level.solvable);
}
void Shortest(Level& level) { benchmark::DoNotOptimize(ShortestSolution(level).moves.data()); }
void Step(Level& level) {
  Level copy = level;
  StepTowardSolution(copy);
  benchmark::DoNotOptimize(copy.balls.data());
}
void Forward(Level& level) {
  static yardstick::ForwardSearch search;
  benchmark::DoNotOptimize(search.Run(level).found);
}
void InSearchOrder(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
  static PredecessorTable table;
  benchmark::DoNotOptimize(SolveLevel(level, level.startState, level.targetState, table));
}
void Literal(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
  static PredecessorTable table;
  benchmark::DoNotOptimize(SolveLevelLiteral(level, level.startState, level.targetState, table));
}

using Search = void (*)(Level&);

double Microseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::micro>(duration).count();
}

template <typename Run>
double TimeOnce(Run run) {
  const auto begin = std::chrono::steady_clock::now();
  run();
  return Microseconds(std::chrono::steady_clock::now() - begin);
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

template <Search search>
void BM_Random(benchmark::State& state) {
  std::vector<Level> levels = RandomLevels(static_cast<int>(state.range(0)));
  std::vector<double> fastest(levels.size(), 1e18);
  for (auto _ : state) {
    for (std::size_t i = 0; i < levels.size(); ++i) {
      fastest[i] = std::min(fastest[i], TimeOnce([&] { search(levels[i]); }));
    }
  }
  state.counters["median_us"] = Percentile(fastest, 0.5);
  state.counters["p90_us"] = Percentile(fastest, 0.9);
  state.counters["max_us"] = Percentile(fastest, 1.0);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(levels.size()));
}

template <Search search>
void BM_Hard(benchmark::State& state) {
  Level level;
  ReadLevelCode(level, HardLevels[state.range(0)].code);
  RecheckLevel(level);
  double ours = 1e18;
  double forward = 1e18;
  for (auto _ : state) {
    yardstick::AskAboutAnotherLevel();
    ours = std::min(ours, TimeOnce([&] { search(level); }));
    forward = std::min(forward, TimeOnce([&] { Forward(level); }));
  }
  state.counters["us"] = ours;
  state.counters["forward_us"] = forward;
  state.counters["ratio"] = ours / forward;
  state.SetLabel(std::string(HardLevels[state.range(0)].name) +
                 (level.solvable ? " solvable" : " unsolvable"));
}

void BM_ReadCodes(benchmark::State& state) {
  const std::vector<std::string>& codes = RandomCodes();
  Level level;
  for (auto _ : state) {
    for (const std::string& code : codes) {
      benchmark::DoNotOptimize(ReadLevelCode(level, code).outcome);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(codes.size()));
}

void BM_SolveCodes(benchmark::State& state) {
  const std::vector<std::string>& codes = RandomCodes();
  for (auto _ : state) {
    for (const std::string& code : codes) {
      Level level;
      if (ReadLevelCode(level, code).outcome == CodeReading::Rejected) continue;
      benchmark::DoNotOptimize(ShortestSolution(level).moves.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(codes.size()));
}

template <Search search>
void BM_SlowestPlain(benchmark::State& state) {
  Level level;
  ReadLevelCode(level, "76342030002556aa97fe5aa95fe55a9572555");
  for (auto _ : state) search(level);
}

void BM_RandomMaze7(benchmark::State& state) {
  std::mt19937 engine(7);
  const RandomSource random = [&engine]() { return static_cast<int>(engine() & 0x7fff); };
  Level level;
  for (auto _ : state) {
    RandomMaze(level, 7, random);
    benchmark::DoNotOptimize(level.cells.data());
  }
}

void Sizes(benchmark::internal::Benchmark* benchmark) { benchmark->Arg(5)->Arg(7); }

void HardLevelArguments(benchmark::internal::Benchmark* benchmark) {
  for (std::size_t i = 0; i < std::size(HardLevels); ++i) {
    benchmark->Arg(static_cast<std::int64_t>(i));
  }
}

}  // namespace

BENCHMARK(BM_Random<Recheck>)
    ->Name("Random/RecheckLevel")
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Random<Shortest>)
    ->Name("Random/ShortestSolution")
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Random<Step>)
    ->Name("Random/StepTowardSolution")
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Random<Forward>)->Name("Random/Forward")->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Random<InSearchOrder>)
    ->Name("Random/SolveLevel")
    ->Apply(Sizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hard<Recheck>)
    ->Name("Hard/RecheckLevel")
    ->Apply(HardLevelArguments)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hard<Shortest>)
    ->Name("Hard/ShortestSolution")
    ->Apply(HardLevelArguments)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hard<Step>)
    ->Name("Hard/StepTowardSolution")
    ->Apply(HardLevelArguments)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadCodes)->Name("Codes/read")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveCodes)->Name("Codes/solve")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlowestPlain<InSearchOrder>)
    ->Name("SolveLevel/slowest_plain")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlowestPlain<Literal>)->Name("Literal/slowest_plain")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RandomMaze7)->Name("RandomMaze7")->Unit(benchmark::kMicrosecond);

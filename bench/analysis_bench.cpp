// Speed of the level analysis (solutions, reachable placements,
// counter-intuitive steps and greedy effort in one search), which designer
// mode runs after every change and `korvalo-level analyze` per level.
//
// Random/<size>: 201 random levels (a random maze with the balls and holes on
//   random squares), analysed one after another so that the kept answer never
//   serves; the time per level, and counters for the median and the slowest
//   level in milliseconds.
// Hard/<level>: the 7 x 7 levels on which the solver works hardest, and the
//   longest known 7 x 7 level.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "logic/level_analysis.h"
#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/solver.h"

namespace {

constexpr int RandomLevelCount = 201;

struct NamedLevel {
  const char* name;
  const char* code;
};
constexpr NamedLevel HardLevels[] = {
    {"flood", "7110501464036dcaba76befa8aa12fb52e550"},
    {"slowest_plain", "76342030002556aa97fe5aa95fe55a9572555"},
    {"most_work", "7226651163654f71affaff83ff2bffb7f2555"},
    {"backward_heavy", "71400066164107faabfebfeafee3ff9dec555"},
};

/// A random maze with the balls and holes on random distinct squares.
Level RandomLevel(int size, std::mt19937& engine) {
  Level level;
  RandomMaze(level, size, [&engine]() { return static_cast<int>(engine() & 0x7fff); });
  std::uniform_int_distribution<int> square(0, size * size - 1);
  std::vector<int> taken;
  for (Pieces* pieces : {&level.balls, &level.holes}) {
    for (const Colour c : ColoursRedFirst) {
      const std::int8_t colour = ColourNumber(c);
      int s = square(engine);
      while (std::find(taken.begin(), taken.end(), s) != taken.end()) s = square(engine);
      // Balls and holes each on their own squares; a ball may stand on a hole.
      taken.push_back(s);
      (*pieces)[static_cast<std::size_t>(2 - colour)] = {
          static_cast<std::int8_t>(s % size), static_cast<std::int8_t>(s / size), 0, colour};
    }
    taken.clear();
  }
  RecheckLevel(level);
  return level;
}

void BM_Random(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  std::mt19937 engine(20261211);
  std::vector<Level> levels;
  for (int i = 0; i < RandomLevelCount; ++i) levels.push_back(RandomLevel(size, engine));
  LevelAnalyzer analyzer;
  std::vector<double> times(levels.size(), 1e300);
  for (auto _ : state) {
    for (std::size_t i = 0; i < levels.size(); ++i) {
      const auto begin = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(analyzer.Analyze(levels[i]).greedyEffort);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
              .count();
      times[i] = std::min(times[i], ms);
    }
  }
  std::sort(times.begin(), times.end());
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["slowest_ms"] = times.back();
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(levels.size()));
}
BENCHMARK(BM_Random)->Arg(5)->Arg(7)->Unit(benchmark::kMillisecond);

void BM_Hard(benchmark::State& state, const char* code) {
  Level level;
  if (!ParseLevelCode(level, code).accepted) {
    state.SkipWithError("the code does not read");
    return;
  }
  Level other;
  ParseLevelCode(other, "31011121121026ac5");
  LevelAnalyzer analyzer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(analyzer.Analyze(level).solutions);
    // Another level in between, so that the kept answer never serves.
    state.PauseTiming();
    benchmark::DoNotOptimize(analyzer.Analyze(other).solutions);
    state.ResumeTiming();
  }
  const LevelAnalysis& analysis = analyzer.Analyze(level);
  state.counters["moves"] = analysis.moves;
  state.counters["reachable"] = analysis.reachable;
  state.counters["effort"] = analysis.greedyEffort;
}

const bool Registered = [] {
  for (const NamedLevel& hard : HardLevels) {
    benchmark::RegisterBenchmark((std::string("Hard/") + hard.name).c_str(), BM_Hard, hard.code)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

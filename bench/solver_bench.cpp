// Speed of the solver on random levels as the editor makes them and on the
// slowest 7 x 7 level known, and the cost of building a random 7 x 7 maze.
// Three searches: RecheckLevel (searches from both ends, answers solvability
// only), SolveLevel (the search the solution step uses, same order as the
// plain rule) and the plain step-by-step search.
//
// Each random level is its own benchmark (/size/index), so the median over
// levels can be read off the rows; the searches are exhaustive for unsolvable
// levels and stop early for solvable ones, so the levels differ a lot.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "logic/level_code.h"
#include "logic/literal_solver.h"
#include "logic/maze.h"
#include "logic/solver.h"

namespace {

constexpr int LevelsPerSize = 21;
constexpr const char* SlowestLevel = "76342030002556aa97fe5aa95fe55a9572555";

/// A random maze with the balls and holes on random distinct squares.
Level RandomLevel(int size, std::mt19937& engine) {
  Level level;
  RandomMaze(level, size, [&engine]() { return static_cast<int>(engine() & 0x7fff); });
  std::uniform_int_distribution<int> square(0, size * size - 1);
  for (Pieces* pieces : {&level.balls, &level.holes}) {
    std::vector<int> taken;
    for (const Colour c : ColoursRedFirst) {
      const std::int8_t colour = ColourNumber(c);
      int s = square(engine);
      while (std::find(taken.begin(), taken.end(), s) != taken.end()) s = square(engine);
      taken.push_back(s);
      (*pieces)[static_cast<std::size_t>(2 - colour)] = {static_cast<std::int8_t>(s % size),
                                                         static_cast<std::int8_t>(s / size), 0, colour};
    }
  }
  RecheckLevel(level);
  return level;
}

const std::vector<Level>& RandomLevels(int size) {
  static const auto levels = [] {
    std::vector<std::vector<Level>> bySize(8);
    std::mt19937 engine(20261210);
    for (int n : {5, 7}) {
      for (int i = 0; i < LevelsPerSize; ++i) bySize[n].push_back(RandomLevel(n, engine));
    }
    return bySize;
  }();
  return levels[size];
}

void RecheckLiteral(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
  level.solvable = SolveLevelLiteral(level, level.startState, level.targetState) ? 1 : 0;
}

void SolveInSearchOrder(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
  level.solvable = SolveLevel(level, level.startState, level.targetState) ? 1 : 0;
}

template <void (*Recheck)(Level&)>
void BM_RandomLevel(benchmark::State& state) {
  Level level = RandomLevels(static_cast<int>(state.range(0)))[state.range(1)];
  for (auto _ : state) {
    Recheck(level);
    benchmark::DoNotOptimize(level.solvable);
  }
  state.SetLabel(level.solvable ? "solvable" : "unsolvable");
}

template <void (*Recheck)(Level&)>
void BM_SlowestLevel(benchmark::State& state) {
  Level level;
  ReadLevelCode(level, SlowestLevel);
  for (auto _ : state) {
    Recheck(level);
    benchmark::DoNotOptimize(level.solvable);
  }
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

void LevelArguments(benchmark::internal::Benchmark* benchmark) {
  for (int size : {5, 7}) {
    for (int i = 0; i < LevelsPerSize; ++i) benchmark->Args({size, i});
  }
}

}  // namespace

BENCHMARK(BM_RandomLevel<RecheckLevel>)->Name("Recheck/random")->Apply(LevelArguments)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RandomLevel<SolveInSearchOrder>)->Name("SolveLevel/random")->Apply(LevelArguments)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RandomLevel<RecheckLiteral>)->Name("Literal/random")->Apply(LevelArguments)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlowestLevel<RecheckLevel>)->Name("Recheck/slowest7x7")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlowestLevel<SolveInSearchOrder>)->Name("SolveLevel/slowest7x7")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SlowestLevel<RecheckLiteral>)->Name("Literal/slowest7x7")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RandomMaze7)->Name("RandomMaze7")->Unit(benchmark::kMicrosecond);

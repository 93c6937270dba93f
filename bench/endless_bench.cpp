// Speed of endless play's new level: a random level of a chosen size and
// grade, which the game makes while the player waits, so it must come well
// under a second. One benchmark per size and grade, each iteration from a new
// seed; the counter "nearest" is the share of levels that came of another
// grade because none of the one asked turned up in time.

#include <benchmark/benchmark.h>

#include <string>

#include "play/endless_play.h"

namespace {

void MakeLevel(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  const Grade grade = static_cast<Grade>(state.range(1));
  std::uint64_t seed = 1;
  int nearest = 0;
  for (auto _ : state) {
    const EndlessLevel made = MakeEndlessLevel(size, grade, seed++, GradeParameters{});
    nearest += made.ofTheGradeAsked ? 0 : 1;
    benchmark::DoNotOptimize(made.code);
  }
  state.counters["nearest"] = benchmark::Counter(nearest, benchmark::Counter::kAvgIterations);
  state.SetLabel(std::to_string(size) + "x" + std::to_string(size) + " " +
                 std::string(GradeName(grade)));
}

BENCHMARK(MakeLevel)
    ->ArgsProduct({{3, 5, 7}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace

#pragma once
// The search for the hardest level of a board size: the level whose shortest
// solution is longest, or the one on which a greedy player works longest.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "logic/search_control.h"

/// What makes a level hard.
enum class HardestGoal {
  Moves,   // the length of its shortest solution
  Effort,  // the greedy effort (logic/level_analysis.h)
};

struct HardestRequest {
  int size = 7;  // 3, 5 or 7
  std::uint64_t seed = 0;
  std::chrono::milliseconds timeLimit{60000};  // zero: none
  std::uint64_t evaluationLimit = 0;           // candidates rated before it stops; zero: none
  HardestGoal goal = HardestGoal::Moves;
  // Climbs run at once, each on a thread of its own and from a seed of its
  // own, sharing the evaluations out; 1 to MaxHardestThreads.
  int threads = 1;
};

inline constexpr int MaxHardestThreads = 64;

struct HardestResult {
  FoundLevel best;  // moves is -1 when the search ended before its first level
  SearchEnd end = SearchEnd::Done;
  std::uint64_t tried = 0;  // candidates rated
};

/// Why the request cannot be run (bad size, no limit at all), or nothing.
std::optional<std::string> HardestRequestProblem(const HardestRequest& request);

/// Climbs over walls and balls (and holes, for the effort) toward the
/// hardest level, handing each new best level to control.found; ends at the
/// time or evaluation limit (Done when the evaluations ran out) or when
/// cancelled. The levels found carry the length of their shortest solution
/// whatever the goal. With one thread a seed and an evaluation limit give
/// the same levels every time; with more, each climb's course is fixed too,
/// and so is the worth of the best level, but among levels of equal worth
/// the one found first in time is kept.
HardestResult FindHardestLevel(const HardestRequest& request, const SearchControl& control = {});

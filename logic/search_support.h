#pragma once
// Pieces shared by the designer searches: their clock and stop rules, and
// random boards and placements drawn from the seeded source.

#include <chrono>
#include <cstdint>

#include "logic/level.h"
#include "logic/search_control.h"
#include "logic/seeded_random.h"

/// The clock, the limits and the caller's control of one search.
class SearchRun {
 public:
  /// timeLimit zero: no time limit.
  SearchRun(const SearchControl& control, std::chrono::milliseconds timeLimit);

  /// Why the search must stop now (time up or cancelled); Done when it may go on.
  SearchEnd StopReason() const;

  /// Counts one rated candidate, and reports progress when it is due.
  void CountTried();

  /// Hands a level to the caller and counts it.
  void Report(const FoundLevel& level);

  /// The last progress report, whether or not one is due.
  void Finish();

  std::uint64_t Tried() const { return m_progress.levelsTried; }

 private:
  void SendProgress();

  const SearchControl& m_control;
  std::chrono::steady_clock::time_point m_start;
  std::chrono::steady_clock::time_point m_nextProgress;
  std::chrono::milliseconds m_timeLimit;
  SearchProgress m_progress;
};

/// RandomMaze of the size from the seeded source, the pieces left standing on
/// their own holes so that the build's solvability check costs nothing.
void BuildRandomMaze(Level& level, int size, SeededRandom& random);

/// Opens `count` inner walls chosen at random among the closed ones (all of
/// them when there are fewer).
void OpenRandomWalls(Level& level, int count, SeededRandom& random);

/// Three distinct squares at random, as a StateIndex of the board.
StateIndex RandomPlacement(int size, SeededRandom& random);

/// The level with the balls on `balls` and the holes on `holes`, described.
FoundLevel DescribeLevel(Level& level, StateIndex balls, StateIndex holes, int moves);

/// Flips both copies of the inner side with this number: the east sides
/// first, row by row, then the south sides, row by row.
void ToggleInnerSide(Level& level, int side);

/// 2N(N-1), the number of inner sides of an N x N board.
constexpr int InnerSideCount(int size) { return 2 * size * (size - 1); }

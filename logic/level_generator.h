#pragma once
// Levels generated to a difficulty: random mazes with random pieces whose
// shortest solution has a chosen number of moves, no two alike up to the
// board's symmetries, the same for a seed on every machine.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logic/level_analysis.h"
#include "logic/reason.h"
#include "logic/search_control.h"

/// No upper end to the number of moves.
inline constexpr int NoMoveLimit = -1;

/// Candidates rated in a row without a new level before a target counts as out
/// of reach: about 7 seconds of one processor on a 7 x 7 board, 1 on 5 x 5.
inline constexpr std::uint64_t DefaultAttemptLimit = 5000;

/// Placements of the holes tried per candidate for an effort range: the
/// greedy player costs far less than the maze and the search from its balls.
inline constexpr int EffortDrawsPerCandidate = 8;

struct GenerationRequest {
  int size = 5;                // 3, 5 or 7
  int minMoves = 0;            // the shortest solution has at least this many moves
  int maxMoves = NoMoveLimit;  // and at most this many
  int count = 1;               // levels wanted
  std::uint64_t seed = 0;
  int openWalls = 0;  // inner walls opened at random in each maze, before the pieces
  std::uint64_t attemptLimit = DefaultAttemptLimit;  // candidates in a row without a new level
  std::chrono::milliseconds timeLimit{0};            // zero: none
  // The quality of the levels (logic/level_analysis.h); left as they are, the
  // levels are those of the request without them.
  bool unique = false;            // exactly one shortest solution
  int minEffort = 0;              // the greedy effort is at least this
  int maxEffort = NoEffortLimit;  // and at most this
  // Canonical codes (logic/canonical_code.h) of levels there are already, as
  // in a set the levels go into: no level found is alike one of them.
  std::vector<std::string> avoid;
};

struct GenerationResult {
  std::vector<FoundLevel> levels;  // in the order found, also handed to control.found
  SearchEnd end = SearchEnd::Done;
  std::uint64_t tried = 0;  // candidates rated
};

/// The most moves a shortest solution can have on an N x N board (N is 3, 5
/// or 7): one fewer than the placements of the three balls, 503, 13799 and
/// 110543. A move range beyond it holds no level.
int MostSolutionMoves(int size);

/// Why the request cannot be run (bad size, move range beyond
/// MostSolutionMoves, count, walls, limit or effort range), or nothing when
/// it can.
std::optional<Reason> GenerationRequestProblem(const GenerationRequest& request);

/// Up to request.count levels with distinct canonical codes, none of them in
/// request.avoid, whose shortest
/// solution has from minMoves to maxMoves moves. Each candidate is a random
/// maze with openWalls more walls opened and the balls on random squares; one
/// search from the balls rates every placement of the holes, and the holes go
/// to one drawn at random among those in range. With `unique` only
/// placements with one shortest solution are in range (the same search
/// counts them all). With an effort range, up to EffortDrawsPerCandidate
/// placements are drawn in turn, without repeats, until the greedy player's
/// effort toward one lies in the range. A request with a problem yields no
/// level and OutOfReach.
GenerationResult GenerateLevels(const GenerationRequest& request,
                                const SearchControl& control = {});

#pragma once
// Whether the balls can reach their holes, a shortest solution, and the solution step.

#include <cstdint>
#include <vector>

#include "logic/moves.h"

/// True when the balls can reach their holes: one fast search, no table, solvable not written.
/// Recomputes startState and targetState; leaves balls and holes red, green, blue.
// SolutionExists, RecheckLevel, StepTowardSolution and ShortestSolution keep
// the last answer of their thread: asked about the same walls, balls and
// holes again, they answer without a search.
bool SolutionExists(Level& level);

/// Recomputes startState, targetState and solvable; leaves balls and holes red, green, blue.
void RecheckLevel(Level& level);

/// Moves the balls by the first move of a shortest solution, if there is one.
void StepTowardSolution(Level& level);

/// A shortest solution: exists is false when there is none; moves is empty
/// when the balls already stand on their holes.
struct Solution {
  bool exists = false;
  std::vector<Direction> moves;
};

/// The shortest solution whose first move StepTowardSolution takes, from the
/// balls' current squares. Reorders balls and holes red, green, blue.
Solution ShortestSolution(Level& level);

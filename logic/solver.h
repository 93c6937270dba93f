#pragma once
// Breadth-first search over placements of the balls, and the solution step.

#include <vector>

#include "logic/moves.h"

/// True when target can be reached from start; fills level.predecessors on the way.
bool SolveLevel(Level& level, StateIndex start, StateIndex target);

/// True when the balls can reach their holes: one search, no table, and
/// `solvable` not written. Encodes startState and targetState as RecheckLevel does.
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

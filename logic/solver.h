#pragma once
// Breadth-first search over placements of the balls, and the solution step.

#include <cstdint>
#include <vector>

#include "logic/moves.h"

/// True when target can be reached from start; fills level.predecessors on the
/// way, allocating the table when it is missing. The only search that writes it.
bool SolveLevel(Level& level, StateIndex start, StateIndex target);

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

/// The work of the search behind SolutionExists, for tools that look for the
/// levels on which it is slowest: placements expanded from the balls (four
/// moves each) and from the holes (four directions each), the placements the
/// backward moves found, and all of it counted in forward states by the costs
/// the search budgets with. The search's work is at most 1.125 times that of
/// the plain search from the balls, counted in the same way.
struct SearchEffort {
  bool found = false;
  std::int64_t forwardStates = 0;
  std::int64_t backwardStates = 0;
  std::int64_t backwardPlacements = 0;
  double work = 0;
};

/// Runs the search of SolutionExists afresh and reports its work; encodes
/// startState and targetState like SolutionExists.
SearchEffort MeasureSolutionSearch(Level& level);

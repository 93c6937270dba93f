#pragma once
// The breadth-first searches over placements that leave a table of first
// discoveries, against which the solver's answers and solutions are held.

#include <vector>

#include "logic/moves.h"

/// Per StateIndex, the state from which a move first reached it; 0 marks a
/// state not reached (state 0, all balls on one square, is never a placement).
using PredecessorTable = std::vector<StateIndex>;

/// True when target can be reached from start. Fills the table (StateCount
/// entries) in the order north, south, west, east, first discovery wins, the
/// start itself only when a move leads back to it; leaves it alone when start
/// is target. With the moves of logic/ball_moves.h.
bool SolveLevel(const Level& level, StateIndex start, StateIndex target,
                PredecessorTable& predecessors);

/// The same search done step by step with DecodeState, the move and
/// EncodeState for every successor. Slow, but plainly the rule itself: the
/// same answer and the same table as SolveLevel.
bool SolveLevelLiteral(const Level& level, StateIndex start, StateIndex target,
                       PredecessorTable& predecessors);

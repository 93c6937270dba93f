#pragma once
// The breadth-first search done step by step with DecodeState, the move and
// EncodeState for every successor. Slow, but plainly the rule itself: the fast
// SolveLevel is compared against it and measured against it.

#include "logic/moves.h"

/// Same contract and same table contents as SolveLevel.
bool SolveLevelLiteral(Level& level, StateIndex start, StateIndex target);

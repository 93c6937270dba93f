#pragma once
// Why a level has no solution, where a reason can be told for sure: a ball
// that no open path joins to its hole. A ball moves one square at a time
// through open sides, and other balls can only hold it back, never carry it,
// so such a ball never reaches its hole whatever the others do. Other levels
// without solution get no reason (ReasonId::None).

#include "logic/level.h"
#include "logic/reason.h"

/// The reason for the first such ball, red first; None when every ball has an
/// open path to its hole (the level may still have no solution).
Reason UnsolvableReason(const Level& level);

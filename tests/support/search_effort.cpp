#include "tests/support/search_effort.h"

SearchEffort MeasureSolutionSearch(Level& level) {
  assert(!PlacementIsInvalid(level));
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
  return solving::WithKeyBits(level.boardSize, [&](auto bits) {
    return solving::TwoEndedSearch<bits>(level, level.startState, level.targetState).Effort();
  });
}

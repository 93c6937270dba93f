#include "logic/literal_solver.h"

#include <algorithm>
#include <vector>

bool SolveLevelLiteral(Level& level, StateIndex start, StateIndex target) {
  if (start == target) return true;
  const std::int32_t stateCount = StateCount(level);
  level.predecessors.assign(static_cast<std::size_t>(stateCount), 0);
  // Every state is queued at most once after its entry is set, plus the start
  // once before it has an entry.
  std::vector<StateIndex> queue(static_cast<std::size_t>(stateCount) + 1);
  std::size_t tail = 0;
  queue[tail++] = start;
  for (std::size_t head = 0; head < tail; ++head) {
    const StateIndex current = queue[head];
    for (Direction direction : AllDirections) {
      Pieces scratch{};
      DecodeState(level, current, scratch);
      Move(level, scratch, direction);
      const StateIndex successor = EncodeState(level, scratch);
      if (level.predecessors[successor] == 0) {
        level.predecessors[successor] = current;
        queue[tail++] = successor;
      }
      if (successor == target) return true;
    }
  }
  return false;
}

#include "tests/support/literal_solver.h"

#include "logic/ball_moves.h"

bool SolveLevel(const Level& level, StateIndex start, StateIndex target,
                PredecessorTable& predecessors) {
  if (start == target) return true;
  const int squares = level.boardSize * level.boardSize;
  const ballmoves::MoveTables tables = ballmoves::BuildMoveTables(level);
  predecessors.assign(static_cast<std::size_t>(StateCount(level)), 0);
  std::vector<StateIndex> queue = {start};
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const StateIndex current = queue[head];
    const ballmoves::Squares balls = {current % squares, current / squares % squares,
                                      current / squares / squares};
    for (const ballmoves::SquareTable& destination : tables.destination) {
      const ballmoves::Squares next = ballmoves::Apply(destination, balls);
      const StateIndex successor = (next.red * squares + next.green) * squares + next.blue;
      if (predecessors[successor] == 0) {
        predecessors[successor] = current;
        queue.push_back(successor);
      }
      if (successor == target) return true;
    }
  }
  return false;
}

bool SolveLevelLiteral(const Level& level, StateIndex start, StateIndex target,
                       PredecessorTable& predecessors) {
  if (start == target) return true;
  const std::int32_t stateCount = StateCount(level);
  predecessors.assign(static_cast<std::size_t>(stateCount), 0);
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
      if (predecessors[successor] == 0) {
        predecessors[successor] = current;
        queue[tail++] = successor;
      }
      if (successor == target) return true;
    }
  }
  return false;
}

#include "logic/solver.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <vector>

// The search expands states in exactly the order of the plain rule (decode,
// move, encode for every successor; first discovery wins; north, south, west,
// east), so the table it leaves is the same entry for entry. It is faster
// because it works on square numbers: each move is two table look-ups per ball
// instead of a sort of Piece records, and the visited marks live in a bitset
// small enough to stay in the first-level cache.

namespace {

constexpr int MaxSquares = 49;

/// Per direction: the square a ball moves to (its own when a wall is in the
/// way), and a rank that puts the ball farthest ahead first.
struct MoveTables {
  std::array<std::array<std::uint8_t, MaxSquares>, 4> destination{};
  std::array<std::array<std::uint8_t, MaxSquares>, 4> rank{};
};

MoveTables BuildMoveTables(const Level& level) {
  const int n = level.boardSize;
  const int last = n * n - 1;
  MoveTables tables;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const int square = row * n + column;
      const Cell cell = level.cells[square];
      const auto to = [&](Cell bit, int target) {
        return static_cast<std::uint8_t>((cell & bit) ? target : square);
      };
      tables.destination[0][square] = to(OpenNorth, square - n);
      tables.destination[1][square] = to(OpenSouth, square + n);
      tables.destination[2][square] = to(OpenWest, square - 1);
      tables.destination[3][square] = to(OpenEast, square + 1);
      // Balls level with each other across the direction of travel never
      // meet in a move, so any order among them gives the same squares.
      const int columnMajor = column * n + row;
      tables.rank[0][square] = static_cast<std::uint8_t>(square);
      tables.rank[1][square] = static_cast<std::uint8_t>(last - square);
      tables.rank[2][square] = static_cast<std::uint8_t>(columnMajor);
      tables.rank[3][square] = static_cast<std::uint8_t>(last - columnMajor);
    }
  }
  return tables;
}

/// Squares of the blue, green and red ball.
using Squares = std::array<std::uint8_t, 3>;

Squares Apply(const MoveTables& tables, int direction, Squares balls) {
  const auto& destination = tables.destination[direction];
  const auto& rank = tables.rank[direction];
  std::array<int, 3> order = {0, 1, 2};
  if (rank[balls[order[1]]] < rank[balls[order[0]]]) std::swap(order[0], order[1]);
  if (rank[balls[order[2]]] < rank[balls[order[1]]]) std::swap(order[1], order[2]);
  if (rank[balls[order[1]]] < rank[balls[order[0]]]) std::swap(order[0], order[1]);
  // Front to back: a ball stays when the square ahead holds a ball that stayed.
  const std::uint8_t first = destination[balls[order[0]]];
  std::uint8_t second = destination[balls[order[1]]];
  if (second == first) second = balls[order[1]];
  std::uint8_t third = destination[balls[order[2]]];
  if (third == first || third == second) third = balls[order[2]];
  balls[order[0]] = first;
  balls[order[1]] = second;
  balls[order[2]] = third;
  return balls;
}

std::uint32_t Pack(const Squares& balls) {
  return balls[0] | (std::uint32_t{balls[1]} << 8) | (std::uint32_t{balls[2]} << 16);
}

Squares Unpack(std::uint32_t packed) {
  return {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
          static_cast<std::uint8_t>(packed >> 16)};
}

class VisitedSet {
 public:
  explicit VisitedSet(std::int32_t size) : m_words((static_cast<std::size_t>(size) + 63) / 64) {}
  /// Marks the state; true when it was not marked before.
  bool Insert(StateIndex state) {
    std::uint64_t& word = m_words[static_cast<std::size_t>(state) / 64];
    const std::uint64_t bit = std::uint64_t{1} << (state % 64);
    if (word & bit) return false;
    word |= bit;
    return true;
  }

 private:
  std::vector<std::uint64_t> m_words;
};

std::int32_t ReachableBound(std::int32_t squares) {
  return squares * (squares - 1) * (squares - 2) + 1;
}

/// The states from the start to the target along the table; empty when the
/// chain is broken.
std::vector<StateIndex> PathFromTable(const Level& level, StateIndex start, StateIndex target) {
  std::vector<StateIndex> path = {target};
  StateIndex state = target;
  while (state != start) {
    state = level.predecessors[state];
    if (state == 0) return {};
    path.push_back(state);
  }
  std::reverse(path.begin(), path.end());
  return path;
}

/// The first move, in the search's order, that takes from to to.
Direction MoveBetween(const Level& level, StateIndex from, StateIndex to) {
  for (Direction direction : AllDirections) {
    Pieces scratch{};
    DecodeState(level, from, scratch);
    Move(level, scratch, direction);
    if (EncodeState(level, scratch) == to) return direction;
  }
  assert(false && "consecutive states of a path are one move apart");
  return Direction::North;
}

void EncodeBallsAndHoles(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
}

}  // namespace

bool SolveLevel(Level& level, StateIndex start, StateIndex target) {
  if (start == target) return true;
  const std::int32_t stateCount = StateCount(level);
  assert(start > 0 && start < stateCount && target >= 0 && target < stateCount);
  level.predecessors.assign(static_cast<std::size_t>(stateCount), 0);

  const MoveTables tables = BuildMoveTables(level);
  const std::int32_t squares = level.boardSize * level.boardSize;
  const auto indexOf = [squares](const Squares& balls) {
    return (balls[2] * squares + balls[1]) * squares + balls[0];
  };

  VisitedSet visited(stateCount);
  std::vector<std::uint32_t> queue;
  queue.reserve(static_cast<std::size_t>(ReachableBound(squares)));
  // The start is not marked: like any state it is marked when a move first
  // leads to it, and then queued a second time.
  const Squares startSquares = {static_cast<std::uint8_t>(start % squares),
                                static_cast<std::uint8_t>(start / squares % squares),
                                static_cast<std::uint8_t>(start / squares / squares)};
  queue.push_back(Pack(startSquares));
  for (std::size_t head = 0; head < queue.size(); ++head) {
    const Squares current = Unpack(queue[head]);
    const StateIndex currentIndex = indexOf(current);
    for (int direction = 0; direction < 4; ++direction) {
      const Squares next = Apply(tables, direction, current);
      const StateIndex nextIndex = indexOf(next);
      if (visited.Insert(nextIndex)) {
        level.predecessors[nextIndex] = currentIndex;
        queue.push_back(Pack(next));
      }
      if (nextIndex == target) return true;
    }
  }
  return false;
}

void RecheckLevel(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  level.solvable = SolveLevel(level, level.startState, level.targetState) ? 1 : 0;
}

void StepTowardSolution(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  if (level.startState == level.targetState) return;
  if (!SolveLevel(level, level.startState, level.targetState)) return;
  // Walk back from the target to the state whose predecessor is the start.
  StateIndex state = level.targetState;
  StateIndex predecessor = level.predecessors[state];
  while (predecessor != level.startState) {
    if (predecessor == 0) return;
    state = predecessor;
    predecessor = level.predecessors[state];
  }
  level.startState = state;
  DecodeState(level, state, level.balls);
}

Solution ShortestSolution(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  Solution solution;
  if (level.startState == level.targetState) {
    solution.exists = true;
    return solution;
  }
  if (!SolveLevel(level, level.startState, level.targetState)) return solution;
  const std::vector<StateIndex> path = PathFromTable(level, level.startState, level.targetState);
  if (path.empty()) return solution;
  solution.exists = true;
  for (std::size_t i = 1; i < path.size(); ++i) {
    solution.moves.push_back(MoveBetween(level, path[i - 1], path[i]));
  }
  return solution;
}

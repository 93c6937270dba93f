#include "logic/solver.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <memory>
#include <vector>

// Two searches live here, both on square numbers instead of Piece records: a
// move is one table look-up per ball and a few comparisons instead of
// decoding, sorting and encoding records, and the visited marks live in a
// bitset small enough to stay in the first-level cache.
//
// SolveLevel expands states in exactly the order of the plain rule (decode,
// move, encode for every successor; first discovery wins; north, south, west,
// east), so the table it leaves is the same entry for entry and the first move
// of the solution it finds is the same.
//
// RecheckLevel only needs to know whether the holes can be reached. It
// searches from both ends at once and stops as soon as the two meet or one of
// them runs out of states, which for most levels is long before a search from
// the balls alone would end. The solution step and ShortestSolution ask it
// first too, and run the ordered search only for a level with a solution.

namespace {

constexpr int MaxSquares = 49;
using SquareTable = std::array<std::uint8_t, MaxSquares>;
constexpr std::uint8_t NoSquare = 0xff;

/// Per direction, the square a ball moves to (its own when a wall is in the
/// way), and the square a ball must have come from to arrive on a square by
/// moving (NoSquare when none can).
struct MoveTables {
  std::array<SquareTable, 4> destination{};
  std::array<SquareTable, 4> source{};
};

MoveTables BuildMoveTables(const Level& level) {
  const int n = level.boardSize;
  MoveTables tables;
  for (auto& sources : tables.source) sources.fill(NoSquare);
  for (int square = 0; square < n * n; ++square) {
    const Cell cell = level.cells[square];
    const auto to = [&](Cell bit, int target) {
      return static_cast<std::uint8_t>((cell & bit) ? target : square);
    };
    tables.destination[0][square] = to(OpenNorth, square - n);
    tables.destination[1][square] = to(OpenSouth, square + n);
    tables.destination[2][square] = to(OpenWest, square - 1);
    tables.destination[3][square] = to(OpenEast, square + 1);
    for (std::size_t direction = 0; direction < 4; ++direction) {
      const std::uint8_t target = tables.destination[direction][square];
      if (target != square) tables.source[direction][target] = static_cast<std::uint8_t>(square);
    }
  }
  return tables;
}

/// Squares of the blue, green and red ball.
struct Squares {
  int blue;
  int green;
  int red;
  friend bool operator==(const Squares&, const Squares&) = default;
};

// The same outcome as moving the balls front to back: a ball stays when a wall
// is in its way or when the square ahead holds a ball that stays.
Squares Apply(const SquareTable& destination, const Squares& from) {
  const int blue = destination[from.blue];
  const int green = destination[from.green];
  const int red = destination[from.red];
  // Mostly no ball heads for a square another ball stands on, and every ball
  // simply takes its one step.
  const bool meeting = (blue == from.green) | (blue == from.red) | (green == from.blue) |
                       (green == from.red) | (red == from.blue) | (red == from.green);
  if (!meeting) return {blue, green, red};
  // The balls ahead decide first, and a chain is at most three balls long, so
  // two rounds of "blocked by a ball that stays" settle every ball.
  bool blueStays = blue == from.blue;
  bool greenStays = green == from.green;
  bool redStays = red == from.red;
  for (int round = 0; round < 2; ++round) {
    blueStays = blueStays | ((blue == from.green) & greenStays) | ((blue == from.red) & redStays);
    greenStays = greenStays | ((green == from.blue) & blueStays) | ((green == from.red) & redStays);
    redStays = redStays | ((red == from.blue) & blueStays) | ((red == from.green) & greenStays);
  }
  return {blueStays ? from.blue : blue, greenStays ? from.green : green,
          redStays ? from.red : red};
}

std::uint32_t Pack(const Squares& balls) {
  return static_cast<std::uint32_t>(balls.blue | (balls.green << 8) | (balls.red << 16));
}

Squares Unpack(std::uint32_t packed) {
  return {static_cast<int>(packed & 0xff), static_cast<int>((packed >> 8) & 0xff),
          static_cast<int>(packed >> 16)};
}

class StateSpace {
 public:
  explicit StateSpace(std::int32_t boardSize) : m_squares(boardSize * boardSize) {}
  std::int32_t Count() const { return m_squares * m_squares * m_squares; }
  StateIndex IndexOf(const Squares& balls) const {
    return (balls.red * m_squares + balls.green) * m_squares + balls.blue;
  }
  Squares SquaresOf(StateIndex state) const {
    return {state % m_squares, state / m_squares % m_squares, state / m_squares / m_squares};
  }
  /// Three balls on three squares reach at most this many states.
  std::size_t ReachableBound() const {
    return static_cast<std::size_t>(m_squares * (m_squares - 1) * (m_squares - 2) + 1);
  }

 private:
  std::int32_t m_squares;
};

class VisitedSet {
 public:
  explicit VisitedSet(std::int32_t size) : m_words((static_cast<std::size_t>(size) + 63) / 64) {}
  bool Contains(StateIndex state) const {
    const auto bit = static_cast<std::uint32_t>(state);
    return (m_words[bit / 64] >> (bit % 64)) & 1;
  }
  /// Marks the state; true when it was not marked before. Free of branches,
  /// since whether a successor is new is close to a coin toss.
  bool Insert(StateIndex state) {
    const auto bit = static_cast<std::uint32_t>(state);
    std::uint64_t& word = m_words[bit / 64];
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    const bool isNew = (word & mask) == 0;
    word |= mask;
    return isNew;
  }

 private:
  std::vector<std::uint64_t> m_words;
};

/// Calls visit with every placement that one move in the direction turns into
/// to: each ball either stayed or came from the square behind it, and the move
/// itself confirms which of those combinations are real.
template <typename Visit>
void ForEachSourcePlacement(const MoveTables& tables, std::size_t direction, const Squares& to,
                            Visit visit) {
  const SquareTable& source = tables.source[direction];
  const std::array<int, 2> blue = {to.blue, source[to.blue]};
  const std::array<int, 2> green = {to.green, source[to.green]};
  const std::array<int, 2> red = {to.red, source[to.red]};
  for (int b = 0; b < 2; ++b) {
    if (blue[b] == NoSquare) continue;
    for (int g = 0; g < 2; ++g) {
      if (green[g] == NoSquare || green[g] == blue[b]) continue;
      for (int r = 0; r < 2; ++r) {
        if (red[r] == NoSquare || red[r] == blue[b] || red[r] == green[g]) continue;
        const Squares from = {blue[b], green[g], red[r]};
        if (b + g + r > 0 && Apply(tables.destination[direction], from) == to) visit(from);
      }
    }
  }
}

/// One end of the two-ended search: what it has reached and its newest layer.
struct SearchEnd {
  VisitedSet reached;
  std::vector<std::uint32_t> layer;
};

// A step back costs up to eight forward moves, so the end searched backward
// gets a smaller share of the work.
constexpr std::size_t BackwardCost = 2;

bool TargetIsReachable(const Level& level, StateIndex start, StateIndex target) {
  if (start == target) return true;
  const StateSpace space(level.boardSize);
  const MoveTables tables = BuildMoveTables(level);
  SearchEnd forward{VisitedSet(space.Count()), {Pack(space.SquaresOf(start))}};
  SearchEnd backward{VisitedSet(space.Count()), {Pack(space.SquaresOf(target))}};
  forward.reached.Insert(start);
  backward.reached.Insert(target);
  std::vector<std::uint32_t> next;
  bool met = false;
  while (!forward.layer.empty() && !backward.layer.empty() && !met) {
    next.clear();
    const bool goForward = forward.layer.size() <= BackwardCost * backward.layer.size();
    SearchEnd& end = goForward ? forward : backward;
    const VisitedSet& other = goForward ? backward.reached : forward.reached;
    const auto reach = [&](const Squares& balls) {
      const StateIndex state = space.IndexOf(balls);
      if (other.Contains(state)) met = true;
      if (end.reached.Insert(state)) next.push_back(Pack(balls));
    };
    for (std::uint32_t packed : end.layer) {
      const Squares current = Unpack(packed);
      for (std::size_t direction = 0; direction < 4; ++direction) {
        if (goForward) {
          reach(Apply(tables.destination[direction], current));
        } else {
          ForEachSourcePlacement(tables, direction, current, reach);
        }
      }
      if (met) break;
    }
    end.layer.swap(next);
  }
  return met;
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

/// The quick answer first: the ordered search has to visit every reachable
/// state before it can tell that there is no solution.
bool HasSolution(const Level& level) {
  return TargetIsReachable(level, level.startState, level.targetState);
}

void EncodeBallsAndHoles(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
}

}  // namespace

bool SolveLevel(Level& level, StateIndex start, StateIndex target) {
  if (start == target) return true;
  const StateSpace space(level.boardSize);
  assert(start > 0 && start < space.Count() && target >= 0 && target < space.Count());
  const MoveTables tables = BuildMoveTables(level);

  // Every state is queued at most once after it is first reached, plus the
  // start before that; one more slot takes the write of a successor that
  // turns out to be known already.
  const auto capacity = static_cast<std::size_t>(space.Count()) + 2;
  const auto queue = std::make_unique_for_overwrite<std::uint32_t[]>(capacity);
  const auto discoveredBy = std::make_unique_for_overwrite<StateIndex[]>(capacity);
  VisitedSet visited(space.Count());
  // The start is not marked: like any state it is marked when a move first
  // leads to it, and then queued a second time.
  queue[0] = Pack(space.SquaresOf(start));
  std::size_t tail = 1;
  bool found = false;
  for (std::size_t head = 0; head < tail && !found; ++head) {
    const Squares current = Unpack(queue[head]);
    const StateIndex currentIndex = space.IndexOf(current);
    for (const SquareTable& destination : tables.destination) {
      const Squares next = Apply(destination, current);
      const StateIndex nextIndex = space.IndexOf(next);
      // Written always, kept only when new: no branch on a coin toss.
      queue[tail] = Pack(next);
      discoveredBy[tail] = currentIndex;
      tail += visited.Insert(nextIndex);
      if (nextIndex == target) {
        found = true;
        break;
      }
    }
  }
  // The first discovery of each state is its entry; the rest stay 0.
  level.predecessors.assign(static_cast<std::size_t>(space.Count()), 0);
  for (std::size_t i = 1; i < tail; ++i) {
    level.predecessors[space.IndexOf(Unpack(queue[i]))] = discoveredBy[i];
  }
  return found;
}

void RecheckLevel(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  level.solvable = TargetIsReachable(level, level.startState, level.targetState) ? 1 : 0;
}

void StepTowardSolution(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  if (level.startState == level.targetState) return;
  if (!HasSolution(level)) return;
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
  if (!HasSolution(level)) return solution;
  if (!SolveLevel(level, level.startState, level.targetState)) return solution;
  const std::vector<StateIndex> path = PathFromTable(level, level.startState, level.targetState);
  if (path.empty()) return solution;
  solution.exists = true;
  for (std::size_t i = 1; i < path.size(); ++i) {
    solution.moves.push_back(MoveBetween(level, path[i - 1], path[i]));
  }
  return solution;
}

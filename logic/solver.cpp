#include "logic/solver.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <memory>
#include <vector>

// Two searches live here, both on square numbers instead of Piece records: a
// move is one table look-up per ball and a few comparisons instead of
// decoding, sorting and encoding records.
//
// SolveLevel expands states in exactly the order of the plain rule (decode,
// move, encode for every successor; first discovery wins; north, south, west,
// east), so the table it leaves is the same entry for entry.
//
// RecheckLevel, the solution step and ShortestSolution search from both ends
// at once (TwoEndedSearch below), which for most levels ends long before a
// search from the balls alone would, and rebuild from it exactly the solution
// the ordered search would find. They leave the predecessor table alone.

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
  assert(n * n <= MaxSquares && level.cells.size() == static_cast<std::size_t>(n * n));
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

// A step back costs up to eight forward moves, so the end searched backward
// gets a smaller share of the work.
constexpr std::size_t BackwardCost = 2;

constexpr std::uint16_t Unreached = 0xffff;

// Breadth-first from the start and from the target at once, a whole layer at
// a time, always on the end with the smaller newest layer. The search ends
// when a layer reaches a state the other end has reached: then every meeting
// of that layer lies on a shortest solution, forwardDepth + backwardDepth
// moves long. It ends without a meeting when one end runs out of states.
//
// The ordered search takes, among the shortest solutions, the one whose moves
// come first letter by letter in the order north, south, west, east (its queue
// holds each layer in exactly that order), so that solution is rebuilt by
// taking at every step the first move that stays on some shortest solution.
class TwoEndedSearch {
 public:
  TwoEndedSearch(const Level& level, StateIndex start, StateIndex target)
      : m_space(level.boardSize),
        m_tables(BuildMoveTables(level)),
        m_start(start),
        m_forwardDistance(static_cast<std::size_t>(m_space.Count()), Unreached),
        m_backwardDistance(static_cast<std::size_t>(m_space.Count()), Unreached) {
    m_forwardDistance[start] = 0;
    m_backwardDistance[target] = 0;
    m_forwardStates.push_back(Pack(m_space.SquaresOf(start)));
    m_forwardLayerStarts = {0, 1};
    m_backwardLayer.push_back(Pack(m_space.SquaresOf(target)));
    m_met = start == target;
    while (!m_met && ForwardLayerSize() > 0 && !m_backwardLayer.empty()) {
      if (ForwardLayerSize() <= BackwardCost * m_backwardLayer.size()) {
        ExpandForward();
      } else {
        ExpandBackward();
      }
    }
  }

  bool Met() const { return m_met; }

  /// The moves of the first shortest solution in the ordered search's order.
  // Only when Met().
  std::vector<Direction> FirstShortestSolution() const {
    const int length = m_forwardDepth + m_backwardDepth;
    const VisitedSet onSolution = MarkForwardStatesOnShortestSolutions();
    std::vector<Direction> moves;
    Squares current = m_space.SquaresOf(m_start);
    for (int step = 1; step <= length; ++step) {
      for (std::size_t direction = 0; direction < 4; ++direction) {
        const Squares next = Apply(m_tables.destination[direction], current);
        const StateIndex state = m_space.IndexOf(next);
        const int remaining = length - step;
        const bool stays = remaining <= m_backwardDepth
                               ? m_backwardDistance[state] == remaining
                               : m_forwardDistance[state] == step && onSolution.Contains(state);
        if (stays) {
          moves.push_back(AllDirections[direction]);
          current = next;
          break;
        }
      }
    }
    assert(moves.size() == static_cast<std::size_t>(length));
    return moves;
  }

 private:
  std::size_t ForwardLayerSize() const {
    return m_forwardStates.size() - m_forwardLayerStarts[m_forwardLayerStarts.size() - 2];
  }

  void ExpandForward() {
    const std::size_t begin = m_forwardLayerStarts[m_forwardLayerStarts.size() - 2];
    const std::size_t end = m_forwardStates.size();
    const auto depth = static_cast<std::uint16_t>(m_forwardDepth + 1);
    for (std::size_t i = begin; i < end; ++i) {
      const Squares current = Unpack(m_forwardStates[i]);
      for (const SquareTable& destination : m_tables.destination) {
        const Squares next = Apply(destination, current);
        const StateIndex state = m_space.IndexOf(next);
        if (m_backwardDistance[state] != Unreached) m_met = true;
        if (m_forwardDistance[state] == Unreached) {
          m_forwardDistance[state] = depth;
          m_forwardStates.push_back(Pack(next));
        }
      }
    }
    m_forwardLayerStarts.push_back(m_forwardStates.size());
    m_forwardDepth = depth;
  }

  void ExpandBackward() {
    std::vector<std::uint32_t> next;
    const auto depth = static_cast<std::uint16_t>(m_backwardDepth + 1);
    const auto reach = [&](const Squares& balls) {
      const StateIndex state = m_space.IndexOf(balls);
      if (m_forwardDistance[state] != Unreached) m_met = true;
      if (m_backwardDistance[state] == Unreached) {
        m_backwardDistance[state] = depth;
        next.push_back(Pack(balls));
      }
    };
    for (std::uint32_t packed : m_backwardLayer) {
      for (std::size_t direction = 0; direction < 4; ++direction) {
        ForEachSourcePlacement(m_tables, direction, Unpack(packed), reach);
      }
    }
    m_backwardLayer.swap(next);
    m_backwardDepth = depth;
  }

  /// The states of the forward layers that lie on a shortest solution: in the
  /// last layer the meetings, in each layer before it the states with a move
  /// to a marked state of the next layer.
  VisitedSet MarkForwardStatesOnShortestSolutions() const {
    VisitedSet marked(m_space.Count());
    const std::size_t lastLayer = m_forwardLayerStarts.size() - 2;
    for (std::size_t i = m_forwardLayerStarts[lastLayer]; i < m_forwardStates.size(); ++i) {
      const StateIndex state = m_space.IndexOf(Unpack(m_forwardStates[i]));
      if (m_backwardDistance[state] == m_backwardDepth) marked.Insert(state);
    }
    for (std::size_t layer = lastLayer; layer-- > 1;) {
      for (std::size_t i = m_forwardLayerStarts[layer]; i < m_forwardLayerStarts[layer + 1]; ++i) {
        const Squares current = Unpack(m_forwardStates[i]);
        for (const SquareTable& destination : m_tables.destination) {
          const StateIndex next = m_space.IndexOf(Apply(destination, current));
          if (m_forwardDistance[next] == layer + 1 && marked.Contains(next)) {
            marked.Insert(m_space.IndexOf(current));
            break;
          }
        }
      }
    }
    return marked;
  }

  StateSpace m_space;
  MoveTables m_tables;
  StateIndex m_start;
  std::vector<std::uint16_t> m_forwardDistance;   // moves from the start, per state
  std::vector<std::uint16_t> m_backwardDistance;  // moves to the target, per state
  std::vector<std::uint32_t> m_forwardStates;     // every forward layer, in order
  std::vector<std::size_t> m_forwardLayerStarts;  // where each layer begins, then the end
  std::vector<std::uint32_t> m_backwardLayer;     // the newest backward layer
  int m_forwardDepth = 0;
  int m_backwardDepth = 0;
  bool m_met = false;
};

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

bool SolutionExists(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  return TwoEndedSearch(level, level.startState, level.targetState).Met();
}

void RecheckLevel(Level& level) { level.solvable = SolutionExists(level) ? 1 : 0; }

void StepTowardSolution(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  if (level.startState == level.targetState) return;
  const TwoEndedSearch search(level, level.startState, level.targetState);
  if (!search.Met()) return;
  Move(level, level.balls, search.FirstShortestSolution().front());
  level.startState = EncodeState(level, level.balls);
  // The balls leave in the order the state's digits give them: blue, green, red.
  DecodeState(level, level.startState, level.balls);
}

Solution ShortestSolution(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  const TwoEndedSearch search(level, level.startState, level.targetState);
  if (!search.Met()) return {};
  return {true, search.FirstShortestSolution()};
}

#include "logic/placement_distances.h"

#include <algorithm>
#include <array>
#include <cassert>

// The searches work on square numbers rather than Piece records: a move is
// one table look-up per ball and a few comparisons. The rule is the one of
// the moves (every ball steps unless a wall, or a ball ahead that stays, is
// in its way); the tests hold the two against each other.

namespace {

constexpr std::uint16_t Unreached = 0xffff;
constexpr int MaxSquares = 49;
constexpr std::uint8_t NoSquare = 0xff;
using SquareTable = std::array<std::uint8_t, MaxSquares>;

/// Per direction (north, south, west, east), the square a ball steps to (its
/// own when a wall is in the way), and the square a ball steps from to arrive
/// on a square (NoSquare when none can).
struct BoardMoves {
  std::array<SquareTable, 4> destination{};
  std::array<SquareTable, 4> source{};
};

BoardMoves BoardMovesOf(const Level& level) {
  const int n = level.boardSize;
  assert(IsBoardSize(n) && level.cells.size() == static_cast<std::size_t>(n * n));
  BoardMoves moves;
  for (SquareTable& sources : moves.source) sources.fill(NoSquare);
  for (int square = 0; square < n * n; ++square) {
    const Cell cell = level.cells[square];
    // North, south, west, east.
    const std::array<int, 4> ahead = {(cell & OpenNorth) ? square - n : square,
                                      (cell & OpenSouth) ? square + n : square,
                                      (cell & OpenWest) ? square - 1 : square,
                                      (cell & OpenEast) ? square + 1 : square};
    for (std::size_t direction = 0; direction < 4; ++direction) {
      const auto target = static_cast<std::uint8_t>(ahead[direction]);
      moves.destination[direction][square] = target;
      if (target != square) moves.source[direction][target] = static_cast<std::uint8_t>(square);
    }
  }
  return moves;
}

struct Balls {
  int blue;
  int green;
  int red;
  friend bool operator==(const Balls&, const Balls&) = default;
};

/// One move of the three balls.
Balls Step(const SquareTable& destination, const Balls& from) {
  const int blue = destination[from.blue];
  const int green = destination[from.green];
  const int red = destination[from.red];
  const bool meeting = (blue == from.green) | (blue == from.red) | (green == from.blue) |
                       (green == from.red) | (red == from.blue) | (red == from.green);
  if (!meeting) return {blue, green, red};
  // A ball heading for a square that a ball stands on moves only when that
  // ball moves. A chain is at most three balls long and each round settles
  // the balls in one order, so two rounds settle every chain.
  bool blueStays = blue == from.blue;
  bool greenStays = green == from.green;
  bool redStays = red == from.red;
  for (int round = 0; round < 2; ++round) {
    blueStays = blueStays | ((blue == from.green) & greenStays) | ((blue == from.red) & redStays);
    greenStays = greenStays | ((green == from.blue) & blueStays) | ((green == from.red) & redStays);
    redStays = redStays | ((red == from.blue) & blueStays) | ((red == from.green) & greenStays);
  }
  return {blueStays ? from.blue : blue, greenStays ? from.green : green, redStays ? from.red : red};
}

/// Calls visit with every placement that one move in the direction turns
/// into `to`, other than `to` itself: each ball stayed or came from the square
/// behind it, and the move confirms which combinations are real.
template <typename Visit>
void ForEachPlacementBefore(const BoardMoves& moves, std::size_t direction, const Balls& to,
                            Visit visit) {
  const SquareTable& source = moves.source[direction];
  const std::array<int, 2> blue = {to.blue, source[to.blue]};
  const std::array<int, 2> green = {to.green, source[to.green]};
  const std::array<int, 2> red = {to.red, source[to.red]};
  for (std::size_t b = 0; b < 2; ++b) {
    if (blue[b] == NoSquare) continue;
    for (std::size_t g = 0; g < 2; ++g) {
      if (green[g] == NoSquare || green[g] == blue[b]) continue;
      for (std::size_t r = 0; r < 2; ++r) {
        if (red[r] == NoSquare || red[r] == blue[b] || red[r] == green[g]) continue;
        const Balls from = {blue[b], green[g], red[r]};
        if (b + g + r > 0 && Step(moves.destination[direction], from) == to) visit(from);
      }
    }
  }
}

std::uint32_t Pack(const Balls& balls) {
  return static_cast<std::uint32_t>(balls.blue | (balls.green << 8) | (balls.red << 16));
}

Balls Unpack(std::uint32_t packed) {
  return {static_cast<int>(packed & 0xff), static_cast<int>((packed >> 8) & 0xff),
          static_cast<int>(packed >> 16)};
}

StateIndex IndexOf(const Balls& balls, int squares) {
  return (balls.red * squares + balls.green) * squares + balls.blue;
}

Balls BallsOf(StateIndex state, int squares) {
  return {state % squares, state / squares % squares, state / squares / squares};
}

}  // namespace

template <typename ExpandLayer>
void PlacementDistances::Search(const Level& level, StateIndex origin, int depthLimit,
                                ExpandLayer expand) {
  const int squares = level.boardSize * level.boardSize;
  const auto stateCount = static_cast<std::size_t>(squares * squares * squares);
  assert(origin >= 0 && static_cast<std::size_t>(origin) < stateCount);
  m_squares = squares;
  // Room for every placement, plus the one slot a placement reached again is
  // written to before it is dropped.
  m_states.resize(stateCount + 1);
  // A bit per placement: small enough to stay in the processor's nearest
  // cache, where a table of distances would not.
  m_reached.assign((stateCount + 63) / 64, 0);
  m_distance.clear();
  const auto firstReach = [this](StateIndex state) {
    const auto bit = static_cast<std::uint32_t>(state);
    std::uint64_t& word = m_reached[bit / 64];
    const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
    const bool isNew = (word & mask) == 0;
    word |= mask;
    return isNew;
  };
  firstReach(origin);
  m_states[0] = Pack(BallsOf(origin, squares));
  std::size_t count = 1;
  m_layerStarts.assign({0, 1});
  for (int depth = 1; depthLimit < 0 || depth <= depthLimit; ++depth) {
    const std::size_t begin = m_layerStarts[m_layerStarts.size() - 2];
    const std::size_t end = count;
    // Written always and kept only when new: whether a placement is new is
    // close to a coin toss, which a branch would keep guessing wrong.
    const auto reach = [this, squares, &firstReach, &count](const Balls& balls) {
      m_states[count] = Pack(balls);
      count += firstReach(IndexOf(balls, squares));
    };
    for (std::size_t i = begin; i < end; ++i) expand(Unpack(m_states[i]), reach);
    if (count == end) break;
    m_layerStarts.push_back(count);
  }
}

void PlacementDistances::SearchFrom(const Level& level, StateIndex start, int depthLimit) {
  const BoardMoves moves = BoardMovesOf(level);
  Search(level, start, depthLimit, [&moves](const Balls& current, auto reach) {
    for (const SquareTable& destination : moves.destination) reach(Step(destination, current));
  });
}

void PlacementDistances::SearchTo(const Level& level, StateIndex target, int depthLimit) {
  const BoardMoves moves = BoardMovesOf(level);
  Search(level, target, depthLimit, [&moves](const Balls& current, auto reach) {
    for (std::size_t direction = 0; direction < 4; ++direction) {
      ForEachPlacementBefore(moves, direction, current, reach);
    }
  });
}

int PlacementDistances::Distance(StateIndex state) const {
  const auto stateCount = static_cast<std::size_t>(m_squares * m_squares * m_squares);
  if (state < 0 || static_cast<std::size_t>(state) >= stateCount) return -1;
  if (m_distance.empty()) {
    m_distance.assign(stateCount, Unreached);
    for (std::size_t layer = 0; layer + 1 < m_layerStarts.size(); ++layer) {
      for (std::size_t i = m_layerStarts[layer]; i < m_layerStarts[layer + 1]; ++i) {
        m_distance[IndexOf(Unpack(m_states[i]), m_squares)] = static_cast<std::uint16_t>(layer);
      }
    }
  }
  const std::uint16_t distance = m_distance[state];
  return distance == Unreached ? -1 : distance;
}

std::size_t PlacementDistances::LayerStart(int distance) const {
  if (distance < 0) return 0;
  const auto layer = static_cast<std::size_t>(distance);
  return layer < m_layerStarts.size() ? m_layerStarts[layer] : m_layerStarts.back();
}

std::size_t PlacementDistances::CountWithin(int least, int most) const {
  const std::size_t begin = LayerStart(least);
  const std::size_t end = most < 0 ? m_layerStarts.back() : LayerStart(most + 1);
  return end > begin ? end - begin : 0;
}

PlacementDistances::Placement PlacementDistances::PlacementWithin(int least, int most,
                                                                  std::size_t n) const {
  assert(n < CountWithin(least, most));
  (void)most;
  const std::size_t position = LayerStart(least) + n;
  // The layer holding the position: the last one that starts at or before it.
  const auto layer = std::upper_bound(m_layerStarts.begin(), m_layerStarts.end(), position) -
                     m_layerStarts.begin() - 1;
  return {IndexOf(Unpack(m_states[position]), m_squares), static_cast<int>(layer)};
}

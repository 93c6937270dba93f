#include "logic/placement_distances.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "logic/ball_moves.h"

// The searches work on square numbers rather than Piece records, with the
// move rule of logic/ball_moves.h that the solver uses too.

namespace {

constexpr std::uint16_t Unreached = 0xffff;
using ballmoves::Apply;
using ballmoves::BuildMoveTables;
using ballmoves::MoveTables;
using ballmoves::NoSquare;
using ballmoves::Squares;
using ballmoves::SquareTable;

/// Calls visit with every placement that one move in the direction turns
/// into `to`, other than `to` itself: each ball stayed or came from the square
/// behind it, and the move confirms which combinations are real.
template <typename Visit>
void ForEachPlacementBefore(const MoveTables& moves, std::size_t direction, const Squares& to,
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
        const Squares from = {blue[b], green[g], red[r]};
        if (b + g + r > 0 && Apply(moves.destination[direction], from) == to) visit(from);
      }
    }
  }
}

std::uint32_t Pack(const Squares& balls) {
  return static_cast<std::uint32_t>(balls.blue | (balls.green << 8) | (balls.red << 16));
}

Squares Unpack(std::uint32_t packed) {
  return {static_cast<int>(packed & 0xff), static_cast<int>((packed >> 8) & 0xff),
          static_cast<int>(packed >> 16)};
}

StateIndex IndexOf(const Squares& balls, int squares) {
  return (balls.red * squares + balls.green) * squares + balls.blue;
}

Squares SquaresOf(StateIndex state, int squares) {
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
  m_states[0] = Pack(SquaresOf(origin, squares));
  std::size_t count = 1;
  m_layerStarts.assign({0, 1});
  for (int depth = 1; depthLimit < 0 || depth <= depthLimit; ++depth) {
    const std::size_t begin = m_layerStarts[m_layerStarts.size() - 2];
    const std::size_t end = count;
    // Written always and kept only when new: whether a placement is new is
    // close to a coin toss, which a branch would keep guessing wrong.
    const auto reach = [this, squares, &firstReach, &count](const Squares& balls) {
      m_states[count] = Pack(balls);
      count += firstReach(IndexOf(balls, squares));
    };
    for (std::size_t i = begin; i < end; ++i) expand(Unpack(m_states[i]), reach);
    if (count == end) break;
    m_layerStarts.push_back(count);
  }
}

void PlacementDistances::SearchFrom(const Level& level, StateIndex start, int depthLimit) {
  const MoveTables moves = BuildMoveTables(level);
  Search(level, start, depthLimit, [&moves](const Squares& current, auto reach) {
    for (const SquareTable& destination : moves.destination) reach(Apply(destination, current));
  });
}

void PlacementDistances::SearchTo(const Level& level, StateIndex target, int depthLimit) {
  const MoveTables moves = BuildMoveTables(level);
  Search(level, target, depthLimit, [&moves](const Squares& current, auto reach) {
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

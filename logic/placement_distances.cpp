#include "logic/placement_distances.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <type_traits>

#include "logic/ball_moves.h"
#include "logic/two_ended_search.h"

// The searches work on placements packed as keys: the squares of the blue,
// green and red ball in fields of four, five or six bits (for 3, 5 or 7
// squares a side), blue lowest. Reading a key is a few shifts, the key itself
// indexes the bit set of placements reached (25 KB on 7 x 7, which stays in
// the processor's nearest cache), and a move of balls that stand apart,
// which is most moves, is three look-ups in tables of destinations already
// shifted into their fields. Each layer is expanded by one function whose
// state stays in registers. The move rule is that of logic/ball_moves.h,
// which the solver uses too.

namespace {

constexpr std::uint16_t Unreached = 0xffff;
using ballmoves::Apply;
using ballmoves::ApplyTouching;
using ballmoves::BuildMoveTables;
using ballmoves::KeyMoveTables;
using ballmoves::MoveTables;
using ballmoves::Squares;
using ballmoves::Touching;

Squares SquaresOfKey(std::uint32_t key, unsigned bits) {
  const std::uint32_t mask = (1u << bits) - 1;
  return {static_cast<int>(key & mask), static_cast<int>((key >> bits) & mask),
          static_cast<int>(key >> (2 * bits))};
}

StateIndex IndexOf(const Squares& balls, int squares) {
  return (balls.red * squares + balls.green) * squares + balls.blue;
}

/// Appends key to the list at tail when it is not in reached, and adds it
/// there. Written always and kept only when new: whether a placement is new
/// is close to a coin toss, which a branch would keep guessing wrong.
inline void Reach(std::uint32_t key, std::uint32_t* __restrict states, std::size_t& tail,
                  std::uint64_t* __restrict reached) {
  states[tail] = key;
  std::uint64_t& word = reached[key / 64];
  const std::uint64_t mask = std::uint64_t{1} << (key % 64);
  tail += (word & mask) == 0;
  word |= mask;
}

/// Lists after end the placements first reached by one move from those from
/// begin to end, in the order of the placements and then of the moves;
/// returns the new end.
template <unsigned Bits>
std::size_t ExpandForward(const MoveTables& tables, const KeyMoveTables<Bits>& keys,
                          std::uint32_t* __restrict const states, const std::size_t begin,
                          const std::size_t end, std::uint64_t* __restrict const reached) {
  using Keys = KeyMoveTables<Bits>;
  std::size_t tail = end;
  for (std::size_t i = begin; i < end; ++i) {
    const Squares current = Keys::SquaresOf(states[i]);
    // Mostly the balls stand apart, and each move is three look-ups.
    if (Touching(tables, current)) {
      for (std::size_t d = 0; d < 4; ++d) {
        Reach(Keys::KeyOf(ApplyTouching(tables.destination[d], current)), states, tail, reached);
      }
    } else {
      for (std::size_t d = 0; d < 4; ++d) Reach(keys.MoveApart(d, current), states, tail, reached);
    }
  }
  return tail;
}

// The way back takes the solver's tables of the placements a move can have
// come from (logic/two_ended_search.h): per direction, a bit for each set of
// balls that moved, which added to the key gives the placement before. The
// searches list those placements with the blue ball's choice changing
// slowest and the red ball's fastest; the tables' bits have the blue ball
// lowest, so the sets are read in the order of their bit-reversed numbers.

/// The set of moved balls with its three bits reversed.
constexpr unsigned Reversed(unsigned moved) {
  return (moved & 1u) << 2 | (moved & 2u) | (moved & 4u) >> 2;
}

/// Per byte of moved sets (bit m: the set m moved), the same byte with each
/// bit m moved to bit Reversed(m).
constexpr std::array<std::uint8_t, 256> ReversedSets = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned sets = 0; sets < 256; ++sets) {
    for (unsigned moved = 0; moved < 8; ++moved) {
      if (sets & (1u << moved)) table[sets] |= static_cast<std::uint8_t>(1u << Reversed(moved));
    }
  }
  return table;
}();

constexpr std::uint32_t InListOrder(std::uint32_t sets) {
  std::uint32_t ordered = 0;
  for (unsigned direction = 0; direction < 4; ++direction) {
    ordered |= std::uint32_t{ReversedSets[(sets >> (8 * direction)) & 0xff]} << (8 * direction);
  }
  return ordered;
}

/// solving::SourceSetsApart with each direction's sets in the order of the list.
constexpr std::array<std::uint32_t, 4096> SourceSetsApartInOrder = [] {
  std::array<std::uint32_t, 4096> table{};
  for (std::size_t sides = 0; sides < table.size(); ++sides) {
    table[sides] = InListOrder(solving::SourceSetsApart[sides]);
  }
  return table;
}();

/// What the way back needs of a board, besides its move tables.
template <unsigned Bits>
struct BackwardTables {
  explicit BackwardTables(const Level& level) : openSides(solving::OpenSides(level)), offsets() {
    const std::array<solving::Key, 32> byBits = solving::SourceKeyOffsets<Bits>(level.boardSize);
    for (unsigned position = 0; position < 32; ++position) {
      offsets[position] = byBits[position / 8 * 8 + Reversed(position % 8)];
    }
  }
  std::array<unsigned, ballmoves::MaxSquares> openSides;
  std::array<std::uint32_t, 32> offsets;  // per bit of an ordered entry, what it adds to a key
};

/// As ExpandForward, with the placements one move leads from instead of to.
template <unsigned Bits>
std::size_t ExpandBackward(const MoveTables& tables, const BackwardTables<Bits>& back,
                           std::uint32_t* __restrict const states, const std::size_t begin,
                           const std::size_t end, std::uint64_t* __restrict const reached) {
  using Keys = KeyMoveTables<Bits>;
  std::size_t tail = end;
  for (std::size_t i = begin; i < end; ++i) {
    const std::uint32_t toKey = states[i];
    const Squares to = Keys::SquaresOf(toKey);
    // Mostly the balls stand apart, and one look-up gives every placement.
    std::uint32_t sets =
        Touching(tables, to)
            ? InListOrder(solving::SourceSetsOfTouchingBalls(tables, back.openSides, to))
            : SourceSetsApartInOrder[back.openSides[to.blue] | (back.openSides[to.green] << 4) |
                                     (back.openSides[to.red] << 8)];
    for (; sets != 0; sets &= sets - 1) {
      const std::uint32_t key = toKey + back.offsets[static_cast<unsigned>(std::countr_zero(sets))];
      assert(Apply(tables.destination[std::countr_zero(sets) / 8], Keys::SquaresOf(key)) == to);
      Reach(key, states, tail, reached);
    }
  }
  return tail;
}

}  // namespace

template <unsigned Bits, typename ExpandLayer>
void PlacementDistances::Search(const Level& level, StateIndex origin, int depthLimit,
                                ExpandLayer expand) {
  const int squares = level.boardSize * level.boardSize;
  assert(origin >= 0 && origin < squares * squares * squares);
  m_squares = squares;
  m_bits = Bits;
  // Room for every placement, plus the one slot a placement reached again is
  // written to before it is dropped.
  const auto placements = static_cast<std::size_t>(BallPlacements(level.boardSize));
  if (m_states.size() < placements + 1) m_states.resize(placements + 1);
  const std::size_t keyCount = static_cast<std::size_t>(squares) << (2 * Bits);
  m_reached.assign((keyCount + 63) / 64, 0);
  m_distance.clear();
  std::uint32_t* const states = m_states.data();
  std::uint64_t* const reached = m_reached.data();
  std::size_t tail = 0;
  Reach(solving::PlacementKeys<Bits>(level.boardSize).KeyOfState(origin), states, tail, reached);
  m_layerStarts.assign({0, 1});
  for (int depth = 1; depthLimit < 0 || depth <= depthLimit; ++depth) {
    const std::size_t begin = m_layerStarts[m_layerStarts.size() - 2];
    const std::size_t end = tail;
    tail = expand(states, begin, end, reached);
    if (tail == end) break;
    m_layerStarts.push_back(tail);
  }
}

void PlacementDistances::SearchFrom(const Level& level, StateIndex start, int depthLimit) {
  const MoveTables tables = BuildMoveTables(level);
  solving::WithKeyBits(level.boardSize, [&](auto bits) {
    const KeyMoveTables<bits> keys(tables);
    Search<bits>(
        level, start, depthLimit,
        [&](std::uint32_t* states, std::size_t begin, std::size_t end, std::uint64_t* reached) {
          return ExpandForward<bits>(tables, keys, states, begin, end, reached);
        });
  });
}

void PlacementDistances::SearchTo(const Level& level, StateIndex target, int depthLimit) {
  const MoveTables tables = BuildMoveTables(level);
  solving::WithKeyBits(level.boardSize, [&](auto bits) {
    const BackwardTables<bits> back(level);
    Search<bits>(
        level, target, depthLimit,
        [&](std::uint32_t* states, std::size_t begin, std::size_t end, std::uint64_t* reached) {
          return ExpandBackward<bits>(tables, back, states, begin, end, reached);
        });
  });
}

StateIndex PlacementDistances::StateAt(std::size_t position) const {
  return IndexOf(SquaresOfKey(m_states[position], m_bits), m_squares);
}

int PlacementDistances::Distance(StateIndex state) const {
  const auto stateCount = static_cast<std::size_t>(m_squares * m_squares * m_squares);
  if (state < 0 || static_cast<std::size_t>(state) >= stateCount) return -1;
  if (m_distance.empty()) {
    m_distance.assign(stateCount, Unreached);
    for (std::size_t layer = 0; layer + 1 < m_layerStarts.size(); ++layer) {
      for (std::size_t i = m_layerStarts[layer]; i < m_layerStarts[layer + 1]; ++i) {
        m_distance[StateAt(i)] = static_cast<std::uint16_t>(layer);
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
  return {StateAt(position), static_cast<int>(layer)};
}

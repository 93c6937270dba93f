#pragma once
// The search from both ends behind SolutionExists, RecheckLevel, the
// solution step and ShortestSolution (logic/solver.cpp), in a header of its
// own so that the tools that measure its work build it from the same source.

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "logic/ball_moves.h"
#include "logic/solver.h"

namespace solving {

/// The work of the search behind SolutionExists, for tools that look for the
/// levels on which it is slowest: placements expanded from the balls (four
/// moves each) and from the holes (four directions each), the placements the
/// backward moves found, and all of it counted in forward states by the costs
/// the search budgets with. The search's work is at most that of the plain
/// search from the balls, counted in the same way, plus the lesser of an
/// eighth of it and a twelfth of it and 250 forward states.
struct SearchEffort {
  bool found = false;
  std::int64_t forwardStates = 0;
  std::int64_t backwardStates = 0;
  std::int64_t backwardPlacements = 0;
  double work = 0;
};

using ballmoves::Apply;
using ballmoves::ApplyTouching;
using ballmoves::BuildMoveTables;
using ballmoves::KeyMoveTables;
using ballmoves::MaxSquares;
using ballmoves::MoveTables;
using ballmoves::Squares;
using ballmoves::SquareTable;
using ballmoves::Touching;

/// A placement of the balls as one number inside the searches: the squares
/// of the blue, green and red ball in fields of Bits bits each (four, five or
/// six for 3, 5 or 7 squares a side), blue lowest. Making and reading one are
/// a few shifts, and the number itself indexes the searches' bit sets.
using Key = std::uint32_t;

/// The field width for a board size.
constexpr unsigned KeyBits(std::int32_t boardSize) {
  return boardSize <= 3 ? 4 : boardSize <= 5 ? 5 : 6;
}

template <unsigned Bits>
class PlacementKeys {
 public:
  explicit PlacementKeys(std::int32_t boardSize) : m_squares(boardSize * boardSize) {
    assert(KeyBits(boardSize) == Bits);
  }
  /// One more than the largest key: the red field holds at most m_squares values.
  std::int32_t Count() const { return m_squares << (2 * Bits); }
  static Key KeyOf(const Squares& balls) {
    return static_cast<Key>(balls.blue) | (static_cast<Key>(balls.green) << Bits) |
           (static_cast<Key>(balls.red) << (2 * Bits));
  }
  static Squares SquaresOf(Key key) {
    return {static_cast<int>(key & Mask), static_cast<int>((key >> Bits) & Mask),
            static_cast<int>(key >> (2 * Bits))};
  }
  Key KeyOfState(StateIndex state) const {
    return KeyOf({state % m_squares, state / m_squares % m_squares, state / m_squares / m_squares});
  }
  StateIndex StateOf(Key key) const {
    const Squares balls = SquaresOf(key);
    return (balls.red * m_squares + balls.green) * m_squares + balls.blue;
  }

 private:
  static constexpr Key Mask = (Key{1} << Bits) - 1;
  std::int32_t m_squares;
};

/// Calls run with the field width of the board size as a compile-time
/// constant, so that each size gets search loops of its own.
template <typename Run>
decltype(auto) WithKeyBits(std::int32_t boardSize, Run run) {
  switch (KeyBits(boardSize)) {
    case 4: return run(std::integral_constant<unsigned, 4>{});
    case 5: return run(std::integral_constant<unsigned, 5>{});
    default: return run(std::integral_constant<unsigned, 6>{});
  }
}

/// A set of keys, one bit each, on words the thread's buffers own. A plain
/// pointer, so that the searches' inner loops keep it in a register.
class KeySet {
 public:
  explicit KeySet(std::uint64_t* words) : m_words(words) {}
  bool Contains(Key key) const { return (m_words[key / 64] >> (key % 64)) & 1; }
  /// Adds the key; true when it was not in the set. Free of branches, since
  /// whether a successor is new is close to a coin toss.
  bool Add(Key key) const {
    std::uint64_t& word = m_words[key / 64];
    const std::uint64_t mask = std::uint64_t{1} << (key % 64);
    const bool isNew = (word & mask) == 0;
    word |= mask;
    return isNew;
  }
  void Remove(Key key) const { m_words[key / 64] &= ~(std::uint64_t{1} << (key % 64)); }
  /// Empties the word that holds the key, with whatever else it holds.
  void ClearWordOf(Key key) const { m_words[key / 64] = 0; }
  std::uint64_t* Words() const { return m_words; }
  /// Empties the set: every word of a set of the largest board.
  void ClearAll() const;

 private:
  std::uint64_t* m_words;
};

/// Memory for a list that a search writes before it reads: it grows without
/// being cleared, so that only the pages a search reaches are ever touched.
template <typename Entry>
class Slots {
 public:
  void Reserve(std::size_t count) {
    if (count <= m_count) return;
    m_entries.reset(new Entry[count]);
    m_count = count;
  }
  Entry* Data() const { return m_entries.get(); }

 private:
  std::unique_ptr<Entry[]> m_entries;
  std::size_t m_count = 0;
};

/// The three key sets of the searches: the placements reached from the
/// balls, those reached from the holes, and those of the whole layers among
/// the latter (the only ones the forward side may meet). Each set has room
/// for the keys of the largest board, so that its words never move.
class ReachedWords {
 public:
  static constexpr std::size_t WordsPerSet =
      ((std::size_t{MaxSquares} << (2 * KeyBits(7))) + 63) / 64;

  ReachedWords() : m_words(3 * WordsPerSet, 0) {}
  KeySet FromBalls() { return KeySet(m_words.data()); }
  KeySet FromHoles() { return KeySet(m_words.data() + WordsPerSet); }
  KeySet WholeBackwardLayers() { return KeySet(m_words.data() + 2 * WordsPerSet); }

 private:
  std::vector<std::uint64_t> m_words;
};

inline void KeySet::ClearAll() const {
  std::fill(m_words, m_words + ReachedWords::WordsPerSet, std::uint64_t{0});
}

/// The memory of the searches of one thread, kept between searches so that a
/// search neither allocates nor clears more than it uses. Each thread has its
/// own, so searches on different threads share nothing they write.
struct SearchBuffers {
  ReachedWords reached;
  Slots<Key> forwardStates;              // every forward layer in order
  Slots<std::uint32_t> forwardChildren;  // per forward state expanded, where its successors begin
  Slots<Key> backwardStates;             // every backward layer in order
  std::vector<std::size_t> forwardLayerStarts;
  std::vector<std::size_t> backwardLayerStarts;
  // The keys in the sets are among the first forwardListed forward states
  // and the first backwardListed backward states; the searches keep these
  // counts up to date, so that the next search can empty the sets by them.
  std::size_t forwardListed = 0;
  std::size_t backwardListed = 0;

  /// Ready for a search over at most placementCount placements: the sets
  /// emptied of what the last search left, the lists long enough.
  void Prepare(std::int32_t placementCount) {
    EmptySets();
    // Every placement is listed at most once per side, and one more slot takes
    // the write of a successor that turns out to be known already.
    const auto capacity = static_cast<std::size_t>(placementCount) + 2;
    forwardStates.Reserve(capacity);
    forwardChildren.Reserve(capacity);
    backwardStates.Reserve(capacity);
    forwardLayerStarts.clear();
    backwardLayerStarts.clear();
  }

 private:
  static void EmptySet(KeySet set, const Key* listed, std::size_t count, bool whole) {
    if (whole) {
      set.ClearAll();
    } else {
      for (std::size_t i = 0; i < count; ++i) set.ClearWordOf(listed[i]);
    }
  }

  // Emptying a set word by word costs about this many keys' clearing each.
  static constexpr std::size_t WordsPerKeyCleared = 8;

  /// Clears the word of every key listed, or every word of a set when its
  /// list is long: either costs no more than the search that listed them. Set
  /// by set, so that a search mostly forward empties one set whole, as the
  /// plain search does, and not all three.
  void EmptySets() {
    const bool forwardWhole = forwardListed * WordsPerKeyCleared >= ReachedWords::WordsPerSet;
    const bool backwardWhole = backwardListed * WordsPerKeyCleared >= ReachedWords::WordsPerSet;
    EmptySet(reached.FromBalls(), forwardStates.Data(), forwardListed, forwardWhole);
    EmptySet(reached.FromHoles(), backwardStates.Data(), backwardListed, backwardWhole);
    EmptySet(reached.WholeBackwardLayers(), backwardStates.Data(), backwardListed, backwardWhole);
    forwardListed = 0;
    backwardListed = 0;
  }
};

/// This thread's buffers, ready for a search on a board of the given size.
SearchBuffers& BuffersForSearch(std::int32_t boardSize);

/// The open sides ahead of a square and behind it, per direction of a move
/// (north, south, west, east).
constexpr std::array<Cell, 4> OpenAhead = {OpenNorth, OpenSouth, OpenWest, OpenEast};
constexpr std::array<Cell, 4> OpenBehind = {OpenSouth, OpenNorth, OpenEast, OpenWest};

/// Per set of balls that must have moved and set that can have moved (index
/// 8 * must + can; bit b: blue, green, red), the sets that moved, as bits: all
/// sets from the former up to the latter, none when a ball must have moved
/// that cannot have.
constexpr std::array<std::uint8_t, 64> MovedSets = [] {
  std::array<std::uint8_t, 64> table{};
  for (unsigned index = 0; index < 64; ++index) {
    const unsigned mustMove = index / 8;
    const unsigned canMove = index % 8;
    for (unsigned moved = 1; moved < 8; ++moved) {
      if ((moved & mustMove) == mustMove && (moved & ~canMove) == 0) {
        table[index] |= static_cast<std::uint8_t>(1u << moved);
      }
    }
  }
  return table;
}();

/// The placements a move can have come from when no ball is an open
/// neighbour of another, by the open sides of the squares of the blue, green
/// and red ball (four bits each, blue lowest). Then only the walls count: a
/// ball with an open side ahead moved, since nothing stopped it, and came
/// through the open side behind it; a ball with a wall ahead moved or not, as
/// long as there is a side behind it to come through. Bit 8d + m of an entry:
/// in direction d, the balls in the set m moved.
constexpr std::array<std::uint32_t, 4096> SourceSetsApart = [] {
  // Which balls have a given open side, from the twelve bits.
  constexpr auto with = [](unsigned sides, Cell side) {
    return unsigned{(sides & side) != 0} | unsigned{((sides >> 4) & side) != 0} << 1 |
           unsigned{((sides >> 8) & side) != 0} << 2;
  };
  std::array<std::uint32_t, 4096> table{};
  for (unsigned sides = 0; sides < 4096; ++sides) {
    for (unsigned direction = 0; direction < 4; ++direction) {
      const unsigned mustMove = with(sides, OpenAhead[direction]);
      const unsigned canMove = with(sides, OpenBehind[direction]);
      table[sides] |= std::uint32_t{MovedSets[mustMove * 8 + canMove]} << (8 * direction);
    }
  }
  return table;
}();

/// The open sides of every square of the level.
inline std::array<unsigned, MaxSquares> OpenSides(const Level& level) {
  std::array<unsigned, MaxSquares> sides{};
  for (std::size_t square = 0; square < level.cells.size(); ++square) {
    sides[square] = level.cells[square] & (OpenNorth | OpenSouth | OpenWest | OpenEast);
  }
  return sides;
}

/// SourceSetsApart for one ball: the sets of moved balls, per direction
/// (bit 8d + m), that the walls around the ball's square allow, whatever the
/// other balls do. With open sides ahead the ball is in every set; without a
/// side behind, in none. The balls decide independently, so the entry of
/// SourceSetsApart for three squares is the and of the three balls' entries.
constexpr std::uint32_t SourceSetsOfBall(unsigned ball, unsigned sides) {
  std::uint32_t sets = 0;
  for (unsigned direction = 0; direction < 4; ++direction) {
    const bool mustMove = (sides & OpenAhead[direction]) != 0;
    const bool canMove = (sides & OpenBehind[direction]) != 0;
    for (unsigned moved = 1; moved < 8; ++moved) {
      const bool inSet = (moved >> ball) & 1u;
      if (inSet ? canMove : !mustMove) sets |= std::uint32_t{1} << (8 * direction + moved);
    }
  }
  return sets;
}

/// Per square, SourceSetsOfBall of the blue, green and red ball there: the
/// backward side's look-up for balls apart, small enough to stay in the
/// first-level cache beside the bit sets (SourceSetsApart takes 16 KB).
using BallSourceSets = std::array<std::array<std::uint32_t, 3>, MaxSquares>;

/// SourceSetsOfBall per ball and open sides, worked out once for all levels.
constexpr std::array<std::array<std::uint32_t, 16>, 3> SourceSetsOfBalls = [] {
  std::array<std::array<std::uint32_t, 16>, 3> table{};
  for (unsigned ball = 0; ball < 3; ++ball) {
    for (unsigned sides = 0; sides < 16; ++sides)
      table[ball][sides] = SourceSetsOfBall(ball, sides);
  }
  return table;
}();

inline BallSourceSets SourceSetsOfSquares(const std::array<unsigned, MaxSquares>& openSides) {
  BallSourceSets table;
  for (std::size_t square = 0; square < MaxSquares; ++square) {
    for (unsigned ball = 0; ball < 3; ++ball) {
      table[square][ball] = SourceSetsOfBalls[ball][openSides[square]];
    }
  }
  return table;
}

/// What moving back adds to a key, per bit of SourceSetsApart: each ball that
/// moved north came from one row further south, and so on. Wraps round for
/// the sets that move a ball back towards a lower square; the sum of key and
/// offset is the key of the placement all the same.
template <unsigned Bits>
std::array<Key, 32> SourceKeyOffsets(std::int32_t boardSize) {
  const auto n = static_cast<Key>(boardSize);
  const std::array<Key, 4> back = {n, Key{0} - n, 1, Key{0} - 1};
  std::array<Key, 32> offsets{};
  for (unsigned direction = 0; direction < 4; ++direction) {
    for (unsigned moved = 1; moved < 8; ++moved) {
      Key offset = 0;
      for (unsigned ball = 0; ball < 3; ++ball) {
        if (moved & (1u << ball)) offset += back[direction] << (Bits * ball);
      }
      offsets[8 * direction + moved] = offset;
    }
  }
  return offsets;
}

/// The same for balls of which some are open neighbours of others, per
/// direction: by the balls with a wall ahead (bits 0 to 2), those with an
/// open side behind (bits 3 to 5), and which ball has which ahead of it (bits
/// 6 to 11, one per ordered pair: see BallAheadBits). Bit m of an entry: the
/// balls in the set m moved. Read backward, the move rule says: a ball that
/// moved came through the side behind it; a ball that stayed had a wall ahead
/// of it or a ball ahead of it that stayed too, so a ball with neither moved;
/// and a ball that moved left its square free, so a ball that now stands
/// behind it moved into that square as well.
constexpr std::array<std::uint8_t, 4096> SourceSetsTouching = [] {
  std::array<std::uint8_t, 4096> table{};
  constexpr unsigned Pairs[6][2] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}};
  for (unsigned index = 0; index < 4096; ++index) {
    unsigned blockedByBall = 0;
    std::array<unsigned, 3> followers{};  // per ball, the ball behind it
    for (unsigned pair = 0; pair < 6; ++pair) {
      const unsigned present = (index >> (6 + pair)) & 1u;
      blockedByBall |= present << Pairs[pair][0];
      followers[Pairs[pair][1]] |= present << Pairs[pair][0];
    }
    const unsigned mustMove = 7u & ~((index & 7u) | blockedByBall);
    const unsigned canMove = (index >> 3) & 7u;
    for (unsigned moved = 1; moved < 8; ++moved) {
      const unsigned required = mustMove | ((moved & 1u) ? followers[0] : 0u) |
                                ((moved & 2u) ? followers[1] : 0u) |
                                ((moved & 4u) ? followers[2] : 0u);
      const bool holds = (moved & ~canMove) == 0 && (required & ~moved) == 0;
      table[index] |= static_cast<std::uint8_t>(unsigned{holds} << moved);
    }
  }
  return table;
}();

/// Bits 6 to 11 of an index of SourceSetsTouching: for each ordered pair of
/// balls, whether the first has the second right ahead of it.
inline unsigned BallAheadBits(const std::array<int, 3>& ahead, const Squares& balls) {
  return unsigned{ahead[0] == balls.green} << 6 | unsigned{ahead[0] == balls.red} << 7 |
         unsigned{ahead[1] == balls.blue} << 8 | unsigned{ahead[1] == balls.red} << 9 |
         unsigned{ahead[2] == balls.blue} << 10 | unsigned{ahead[2] == balls.green} << 11;
}

/// The sets of moved balls of all four directions, as in SourceSetsApart, for
/// balls of which some are open neighbours of others.
inline std::uint32_t SourceSetsOfTouchingBalls(const MoveTables& tables,
                                               const std::array<unsigned, MaxSquares>& openSides,
                                               const Squares& balls) {
  const std::array<unsigned, 3> sides = {openSides[balls.blue], openSides[balls.green],
                                         openSides[balls.red]};
  std::uint32_t sets = 0;
  for (std::size_t direction = 0; direction < 4; ++direction) {
    const SquareTable& destination = tables.destination[direction];
    const std::array<int, 3> ahead = {destination[balls.blue], destination[balls.green],
                                      destination[balls.red]};
    const unsigned wall = unsigned{ahead[0] == balls.blue} |
                          unsigned{ahead[1] == balls.green} << 1 |
                          unsigned{ahead[2] == balls.red} << 2;
    const Cell behind = OpenBehind[direction];
    const unsigned canMove = unsigned{(sides[0] & behind) != 0} << 3 |
                             unsigned{(sides[1] & behind) != 0} << 4 |
                             unsigned{(sides[2] & behind) != 0} << 5;
    sets |= std::uint32_t{SourceSetsTouching[wall | canMove | BallAheadBits(ahead, balls)]}
            << (8 * direction);
  }
  return sets;
}

// What the work costs, in eighths of a forward state: a forward state tries
// four moves, as a state of the plain search from the balls does with the
// same move tables. A backward state takes one or four table look-ups, and
// each placement they find is listed and joins the whole layers once its
// layer is done: measured against the forward state on the same level, a
// backward state with its placements costs 0.7 to 2.0 forward states (from
// small searches to ones over every placement of a 7 x 7 board, with balls
// apart or crowded), and the costs here are the dearest of those. A key
// compared while a waiting backward layer goes on is one bit read.
constexpr std::int64_t ForwardStateCost = 8;
constexpr std::int64_t BackwardStateCost = 8;
constexpr std::int64_t BackwardPlacementCost = 2;
constexpr std::int64_t RecheckedKeyCost = 1;
// Each turn of the backward side (its set-up, and the states it brings back
// into the caches) costs about six forward states on small levels, where the
// backward side waits and goes on after nearly every forward layer.
constexpr std::int64_t BackwardTurnCost = 48;
/// Four directions that find seven placements each.
constexpr std::int64_t DearestBackwardStateCost = BackwardStateCost + 28 * BackwardPlacementCost;
/// The least work a later turn of the backward side must be able to afford
/// before it starts: each turn has costs of its own (the waiting layer taken up
/// again, its keys brought back into the caches) that the counts undercount
/// on small levels, where a backward side that could go on after every
/// forward layer did a few states each time. Fewer, longer turns do the same
/// work in less time. On large levels a later turn also waits until it can
/// afford half the backward work done so far: measured interleaved against
/// the plain search, the slowest large unsolvable levels known went from
/// 1.13-1.15 to 1.08-1.11 times its time with that, and the median of
/// random 7 x 7 levels stayed at 55 us (waiting for the whole of the work
/// done instead of half of it raised their 90th percentile by 7 %).
constexpr std::int64_t LeastLaterTurnWork = 32 * DearestBackwardStateCost;
constexpr std::int64_t LaterTurnGrowthDivisor = 2;
/// What the backward side may spend, as a fraction of the forward work that
/// the plain search from the balls must do too (see TwoEndedSearch): the
/// lesser of an eighth of it and a twelfth of it plus EarlyShareExtra, which
/// meet at 6,000 forward states. Most random levels end within a few thousand
/// forward states, and there the eighth lets the backward side meet the
/// forward side, or run out of placements, sooner (the median of random 7 x 7
/// levels comes to 55 instead of 69 us with a twelfth throughout). On large
/// levels the share comes close to a twelfth: counted in these costs, the
/// backward side's work takes up to 1.15 times as long as the same count of
/// forward work there (its states are scattered over the bit sets and its
/// layers are passed over once more).
constexpr std::int64_t BackwardShareDivisor = 12;
constexpr std::int64_t EarlyShareDivisor = 8;
constexpr std::int64_t EarlyShareExtra = 250 * ForwardStateCost;

/// How the expansion of a forward layer ended.
struct ForwardLayerEnd {
  std::size_t tail;      // past the last successor kept, or where the meeting stands
  std::size_t expanded;  // states of the layer expanded
  bool met;              // the successor at tail is in the other side's set
};

/// Expands the forward states from begin to end: their successors go after
/// them, each new one once, and each state notes where its successors begin.
/// Stops at the first successor in goal; while goal holds the target alone
/// (OneGoal), a successor is compared with the target's key instead.
// Everything the loop needs is local, so that it stays in registers; it is
// the yardstick's loop (bench/forward_search.h) with one store per state and
// the goal test added.
template <unsigned Bits, bool OneGoal>
ForwardLayerEnd ExpandForwardLayer(const MoveTables tables, const KeyMoveTables<Bits>& keys,
                                   Key* __restrict const states,
                                   std::uint32_t* __restrict const children,
                                   const std::size_t begin, const std::size_t end,
                                   std::uint64_t* __restrict const reached, const KeySet goal,
                                   const Key targetKey) {
  std::size_t tail = end;
  for (std::size_t i = begin; i < end; ++i) {
    const Squares current = KeyMoveTables<Bits>::SquaresOf(states[i]);
    children[i] = static_cast<std::uint32_t>(tail);
    bool met = false;
    const auto reach = [&](Key key) {
      // Written always, kept only when new: no branch on a coin toss. A state
      // in goal is new here: had this side reached it before, the two sides
      // would have met then.
      states[tail] = key;
      std::uint64_t& word = reached[key / 64];
      const std::uint64_t mask = std::uint64_t{1} << (key % 64);
      tail += (word & mask) == 0;
      word |= mask;
      met = OneGoal ? key == targetKey : goal.Contains(key);
    };
    // Mostly the balls stand apart, and each move is three look-ups.
    if (Touching(tables, current)) {
      for (std::size_t d = 0; d < 4 && !met; ++d) {
        reach(KeyMoveTables<Bits>::KeyOf(ApplyTouching(tables.destination[d], current)));
      }
    } else {
      for (std::size_t d = 0; d < 4 && !met; ++d) reach(keys.MoveApart(d, current));
    }
    if (met) return {tail - 1, i + 1 - begin, true};
  }
  return {tail, end - begin, false};
}

// Breadth-first from the start and from the target at once, a whole layer at
// a time on the forward side. Each round expands the side whose next layer
// looks cheaper, but the backward side only while its work stays within its
// share of the forward work that the plain search from the balls must do
// anyway. A backward layer that reaches the end of its share waits, half
// expanded, until the forward side has done more; the forward side meets
// only whole backward layers, and the states the waiting layer found are
// compared with the forward states found meanwhile when it goes on. The
// search ends when a state is reached from both ends, or without a meeting
// when one end runs out of states.
//
// The bound: let P be the work of the plain search from the balls, which
// expands layer after layer until it finds the target among the successors,
// or every reachable placement. (1) Every state this search expands forward,
// the plain search expands too: the forward side expands the same layers in
// the same order, and stops no later, since it stops at the first successor
// in a set that holds the target. (2) Once the backward side has a whole
// layer beyond the target and no meeting, a shortest solution, if there is
// one, is at least two moves longer than the newest forward layer is deep,
// so the plain search expands all of that layer too. (3) Before each turn,
// each backward state, and before a waiting layer's states are compared, the
// backward side checks that its work so far, that step's most and all, stays
// within its allowance: the lesser of ForwardWork / 8 and ForwardWork / 12 +
// EarlyShareExtra, where ForwardWork is the forward work done, with the
// newest layer added in the case of (2); by (1) and (2) that is at most the
// lesser of P / 8 and P / 12 + EarlyShareExtra. (4) After a meeting on the
// backward side, the newest forward layer is looked over once, up to the
// meeting, as the plain search expands it. So the search costs at most P
// plus that allowance, plus the rebuilding of the solution: a move per step
// and one pass over the backward states.
//
// In time, measured by the wall clock on a shared 2-core machine (2.1 GHz,
// a load of 7 to 15 from other builds), each search interleaved with the
// plain search in one process and the fastest of hundreds of runs kept:
// - The forward side alone (the backward side switched off) takes 1.035 to
//   1.045 times the plain search's time on small levels (5,000 to 12,000
//   states, 34 to 80 us), where the fixed costs of a search (tables,
//   buffers, one call per layer) weigh most, and 0.94 times on a large one.
// - The backward side takes about twice the time of the forward work its
//   count stands for: on small unsolvable levels some 15 us of 80 for about
//   a ninth of the forward work counted, on large ones 16 % of the time for
//   a twelfth. Likely because its states are scattered over two more bit
//   sets, which with the forward side's set no longer fit the first-level
//   cache together (this machine gives no cache counters to show it).
// - The backward side finds the moves into balls standing apart by and-ing
//   three per-square entries of its own level (BallSourceSets, 588 bytes)
//   instead of one look-up in SourceSetsApart (16 KB, scattered over by the
//   states), and counts its work in locals. Timed against the former way in
//   one process, interleaved: the levels where the backward side works most
//   came 2 to 4 % faster, the slowest large unsolvable one from 1.10 to 1.09
//   times the plain search, the median of random 7 x 7 levels from 54.5 to
//   53.9 us; small unsolvable levels moved by less than the noise.
// - So the worst levels known (bench/solver_bench.cpp's Hard set, with what
//   find_hard_levels --goal time found by the wall clock in 14 minutes per
//   class) come to 1.18 to 1.20 times the plain search on small unsolvable
//   levels (1.2 to 1.3 where the timing also covers the emptying of the
//   last search's sets), 1.05 to 1.09 on large unsolvable ones, and at most
//   0.97 on solvable ones. The bound of 1.1 in time is met on large and
//   solvable levels, not on small unsolvable ones.
// - Counted by callgrind with its cache model (a 48 KB first-level data
//   cache) on a small unsolvable level (time_small_4), the whole search runs
//   22 % more instructions than the plain search, its forward side alone
//   13 % more (the goal test, and noting where each state's successors
//   begin), and the forward side misses the first-level cache some 550
//   times a search against the plain search's 2: its own set and the set of
//   the whole backward layers, 25 KB each, do not fit in it together. The
//   three sets' words laid out in turns, so that a key's bits in all three
//   share a cache line, did 1 to 3 % worse on every level timed.
// - Also tried for the forward side's goal test, and dropped: a summary of
//   the whole layers' set (one bit per word, 392 bytes) read first, so
//   that the set's own word is read only where the summary bit is on.
//   Without branches: 44 % more instructions in the forward side, 1.45 to
//   1.75 times the plain search where it had been 1.05 to 1.20, and the
//   median of random 7 x 7 levels from 55 to 70 us. Behind a branch on the
//   summary bit: small unsolvable levels from 1.18 to 1.22-1.26, large ones
//   from 1.06-1.08 to as much as 1.46 (likely mispredicted where the
//   summary is well filled). And the goal test taken out of the expansion
//   loop, 256 states expanded and then only their new successors looked up
//   in the whole layers: the same instructions, the forward side's
//   first-level read misses down by a tenth only, and 3 to 6 % slower on
//   every level (time_small_4 from 1.19 to 1.23, the median from 54 to
//   57 us). So the goal test's reads of the whole layers' set cause few of
//   the forward side's misses.
// - On small levels the plain search's own time depends on what ran just
//   before it in the process, by up to a quarter (35 or 46 us on the same
//   level, the fastest of 301 runs each, depending on whether the former or
//   the present form of this search ran just before it; the cause is not
//   known), so ratios there carry that much doubt.
// - What was tried for those: fewer, longer turns (128 dearest states each)
//   brought them to 1.11 but doubled the median of random 7 x 7 levels (55
//   to 108 us); crowded backward states counted two to four forward states
//   dearer brought them to 1.22 and the median to 59 to 63 us. The median
//   comes from the early eighth: it is the backward side that ends most
//   random levels, and it must start early to do so.
// Where the backward side is cheap (small layers around the holes,
// unsolvable levels whose holes can be reached from few placements), it
// meets the forward side or runs out of states long before that, and the
// search is far cheaper than P.
//
// The ordered search takes, among the shortest solutions, the one whose moves
// come first letter by letter in the order north, south, west, east: its
// queue holds each layer in exactly the order of those first solutions, and so
// does the forward side here. A shortest solution passes the newest forward
// layer at a meeting; the first one, in the layer's order, is reached by the
// chain of first discoveries that leads to it, and from there every step takes
// the first move, in move order, that comes one move nearer the target.
template <unsigned Bits>
class TwoEndedSearch {
 public:
  TwoEndedSearch(const Level& level, StateIndex start, StateIndex target)
      : m_keys(level.boardSize),
        m_buffers(BuffersForSearch(level.boardSize)),
        m_tables(BuildMoveTables(level)),
        m_keyTables(m_tables),
        m_openSides(OpenSides(level)),
        m_ballSources(SourceSetsOfSquares(m_openSides)),
        m_sourceOffsets(SourceKeyOffsets<Bits>(level.boardSize)),
        m_forwardSeen(m_buffers.reached.FromBalls()),
        m_backwardSeen(m_buffers.reached.FromHoles()),
        m_backwardWhole(m_buffers.reached.WholeBackwardLayers()) {
    const Key startKey = m_keys.KeyOfState(start);
    const Key targetKey = m_keys.KeyOfState(target);
    m_targetKey = targetKey;
    m_forwardSeen.Add(startKey);
    m_backwardSeen.Add(targetKey);
    m_backwardWhole.Add(targetKey);
    m_buffers.forwardStates.Data()[0] = startKey;
    m_buffers.backwardStates.Data()[0] = targetKey;
    m_buffers.forwardListed = 1;
    m_buffers.backwardListed = 1;
    m_buffers.forwardLayerStarts = {0, 1};
    m_buffers.backwardLayerStarts = {0, 1};
    if (start == target) {
      m_met = true;
      return;
    }
    Run();
  }

  bool Met() const { return m_met; }

  SearchEffort Effort() const {
    const std::int64_t work = ForwardStateCost * m_forwardStates + BackwardWork();
    return {m_met, m_forwardStates, m_backwardStates, m_backwardPlacements,
            static_cast<double>(work) / ForwardStateCost};
  }

  /// The moves of the first shortest solution in the ordered search's order.
  // Only when Met(). Takes the whole backward layers apart.
  std::vector<Direction> FirstShortestSolution() {
    std::vector<Direction> moves;
    const Key* const forwardStates = m_buffers.forwardStates.Data();
    Squares current = m_keys.SquaresOf(forwardStates[0]);
    for (std::uint32_t position : ChainToMeeting()) {
      const Squares next = m_keys.SquaresOf(forwardStates[position]);
      const Step step = FirstStep(current, [&](const Squares& balls) { return balls == next; });
      moves.push_back(step.direction);
      current = step.balls;
    }
    // From the meeting, every step goes to a state one move nearer the target:
    // with the backward layers from the current state's own distance on taken
    // out of the set, a successor in the set is exactly such a state.
    for (std::size_t distance = m_meetingDistance; distance > 0; --distance) {
      if (distance <= BackwardDepth()) ForgetBackwardLayer(distance);
      const Step step = FirstStep(current, [&](const Squares& balls) {
        return m_backwardWhole.Contains(m_keys.KeyOf(balls));
      });
      moves.push_back(step.direction);
      current = step.balls;
    }
    return moves;
  }

 private:
  void Run() {
    while (!m_met && ForwardLayerSize() > 0 && BackwardStatesLeft() > 0) {
      if (BackwardGoesNext()) {
        ExpandBackward();
      } else {
        ExpandForward();
      }
    }
  }

  std::int64_t ForwardLayerCost() const {
    return ForwardStateCost * static_cast<std::int64_t>(ForwardLayerSize());
  }

  /// True when the rest of the backward layer looks cheaper than the next
  /// forward layer, and the backward side can afford its next step.
  bool BackwardGoesNext() const {
    const std::int64_t backwardCost =
        AverageBackwardStateCost() * static_cast<std::int64_t>(BackwardStatesLeft());
    return backwardCost < ForwardLayerCost() &&
           BackwardWork() + BackwardTurnCost + RecheckCost() + LeastTurnWork() <=
               BackwardAllowance();
  }

  /// The least work the backward side's next turn must be able to afford:
  /// the first turn starts as soon as one state is affordable, so that a
  /// backward side that runs out at once ends the search early; a later one
  /// once it can afford half of what the backward side has done so far, so
  /// that the turns grow with the search and their number with its logarithm.
  std::int64_t LeastTurnWork() const {
    if (m_backwardTurns == 0) return DearestBackwardStateCost;
    return std::max(LeastLaterTurnWork, BackwardWork() / LaterTurnGrowthDivisor);
  }

  /// What the backward side may cost in all: a share of the forward work the
  /// plain search must do. That includes the newest forward layer once the
  /// backward side has a whole layer beyond the target: then a solution is
  /// at least two moves longer than that layer is deep.
  std::int64_t BackwardAllowance() const {
    const std::int64_t pending = BackwardDepth() > 0 ? ForwardLayerCost() : 0;
    const std::int64_t forwardWork = ForwardStateCost * m_forwardStates + pending;
    return std::min(forwardWork / EarlyShareDivisor,
                    forwardWork / BackwardShareDivisor + EarlyShareExtra);
  }

  std::int64_t BackwardWork() const {
    return BackwardTurnCost * m_backwardTurns + BackwardStateCost * m_backwardStates +
           BackwardPlacementCost * m_backwardPlacements + RecheckedKeyCost * m_recheckedKeys;
  }

  /// The cost of a backward state so far, for the choice of the side.
  std::int64_t AverageBackwardStateCost() const {
    if (m_backwardStates == 0) return BackwardStateCost + 4 * BackwardPlacementCost;
    return BackwardWork() / m_backwardStates;
  }

  static std::size_t NewestLayerSize(const std::vector<std::size_t>& starts) {
    return starts[starts.size() - 1] - starts[starts.size() - 2];
  }
  std::size_t ForwardLayerSize() const { return NewestLayerSize(m_buffers.forwardLayerStarts); }
  /// States of the newest whole backward layer not expanded yet.
  std::size_t BackwardStatesLeft() const {
    return m_buffers.backwardLayerStarts.back() - m_backwardNext;
  }
  /// The distance from the target of the newest whole backward layer.
  std::size_t BackwardDepth() const { return m_buffers.backwardLayerStarts.size() - 2; }
  std::size_t ForwardStatesListed() const { return m_buffers.forwardLayerStarts.back(); }

  void ExpandForward() {
    std::vector<std::size_t>& starts = m_buffers.forwardLayerStarts;
    const std::size_t begin = starts[starts.size() - 2];
    const std::size_t end = starts.back();
    const auto expand = [&](auto oneGoal) {
      return ExpandForwardLayer<Bits, oneGoal>(
          m_tables, m_keyTables, m_buffers.forwardStates.Data(), m_buffers.forwardChildren.Data(),
          begin, end, m_forwardSeen.Words(), m_backwardWhole, m_targetKey);
    };
    const ForwardLayerEnd outcome =
        BackwardDepth() == 0 ? expand(std::true_type{}) : expand(std::false_type{});
    m_forwardStates += static_cast<std::int64_t>(outcome.expanded);
    m_forwardExpanded = begin + outcome.expanded;
    if (outcome.met) {
      // The first meeting in the layer's order: it lies on the solution sought.
      m_buffers.forwardListed = outcome.tail + 1;
      m_met = true;
      m_meeting = outcome.tail;
      m_meetingDistance = BackwardDepth();
      return;
    }
    m_buffers.forwardListed = outcome.tail;
    starts.push_back(outcome.tail);
  }

  /// Expands the newest whole backward layer, or the rest of it, until it
  /// meets the forward side, or until the backward side has spent its
  /// allowance; a layer expanded to its end becomes whole in its turn.
  void ExpandBackward() {
    std::vector<std::size_t>& starts = m_buffers.backwardLayerStarts;
    const std::size_t end = starts.back();
    Key* const states = m_buffers.backwardStates.Data();
    const KeySet seen = m_backwardSeen;
    const KeySet forward = m_forwardSeen;
    const std::int64_t allowance = BackwardAllowance();
    ++m_backwardTurns;
    std::size_t tail = m_backwardTail;
    bool met = RecheckWaitingStates(end);
    const auto reach = [&](Key key) {
      states[tail] = key;
      met |= forward.Contains(key);
      tail += seen.Add(key);
    };
    // Counted in locals: the stores into the sets could otherwise be taken
    // for writes to the members, which would then be read again every state.
    std::int64_t spare = allowance - BackwardWork();
    std::int64_t expanded = 0;
    std::int64_t placements = 0;
    std::size_t i = m_backwardNext;
    for (; i < end && !met && spare >= DearestBackwardStateCost; ++i) {
      const int found = ExpandBackwardState(states[i], reach);
      spare -= BackwardStateCost + BackwardPlacementCost * found;
      placements += found;
      ++expanded;
    }
    m_backwardStates += expanded;
    m_backwardPlacements += placements;
    m_buffers.backwardListed = tail;
    if (met) {
      m_met = true;
      FindMeetingAfterBackwardLayerMet();
      return;
    }
    m_backwardNext = i;
    m_backwardTail = tail;
    if (i < end) {
      m_forwardListedAtPause = ForwardStatesListed();
      return;
    }
    for (std::size_t j = end; j < tail; ++j) m_backwardWhole.Add(states[j]);
    starts.push_back(tail);
  }

  /// Calls reach with the key of every placement one move turns into the
  /// state's; returns how many there are.
  template <typename Reach>
  int ExpandBackwardState(Key toKey, Reach reach) const {
    const Squares to = m_keys.SquaresOf(toKey);
    // Mostly the balls stand apart, and one look-up gives every placement.
    std::uint32_t sets =
        Touching(m_tables, to)
            ? SourceSetsOfTouchingBalls(m_tables, m_openSides, to)
            : m_ballSources[to.blue][0] & m_ballSources[to.green][1] & m_ballSources[to.red][2];
    // Counted in the loop: built for any x86-64, std::popcount is a library call.
    int found = 0;
    for (; sets != 0; sets &= sets - 1, ++found) {
      const Key key = toKey + m_sourceOffsets[std::countr_zero(sets)];
      assert(Apply(m_tables.destination[std::countr_zero(sets) / 8], m_keys.SquaresOf(key)) == to);
      reach(key);
    }
    return found;
  }

  /// Keys to compare before a waiting backward layer goes on: the fewer of
  /// its states found so far and the forward states found since it waits.
  std::size_t KeysToRecheck() const {
    if (m_backwardNext == m_buffers.backwardLayerStarts[m_buffers.backwardLayerStarts.size() - 2]) {
      return 0;
    }
    return std::min(m_backwardTail - m_buffers.backwardLayerStarts.back(),
                    ForwardStatesListed() - m_forwardListedAtPause);
  }
  std::int64_t RecheckCost() const {
    return RecheckedKeyCost * static_cast<std::int64_t>(KeysToRecheck());
  }

  /// True when a state the waiting layer found so far (those from layerEnd on)
  /// has been reached by the forward side since: the forward side meets only
  /// whole layers.
  bool RecheckWaitingStates(std::size_t layerEnd) {
    const std::size_t count = KeysToRecheck();
    if (count == 0) return false;
    m_recheckedKeys += static_cast<std::int64_t>(count);
    const bool fromWaiting = count == m_backwardTail - layerEnd;
    const Key* const keys = fromWaiting ? m_buffers.backwardStates.Data() + layerEnd
                                        : m_buffers.forwardStates.Data() + m_forwardListedAtPause;
    const KeySet other = fromWaiting ? m_forwardSeen : m_backwardSeen;
    bool met = false;
    for (std::size_t i = 0; i < count; ++i) met |= other.Contains(keys[i]);
    return met;
  }

  /// A backward layer, not yet whole, met the forward side: so a shortest
  /// solution is one move longer than the newest layers of both sides
  /// together, and passes the newest forward layer at a state with a move
  /// into the whole backward layers. The first such state, in the layer's
  /// order, is the meeting sought.
  void FindMeetingAfterBackwardLayerMet() {
    m_meetingDistance = BackwardDepth() + 1;
    const std::vector<std::size_t>& starts = m_buffers.forwardLayerStarts;
    for (std::size_t i = starts[starts.size() - 2]; i < starts.back(); ++i) {
      const Squares balls = m_keys.SquaresOf(m_buffers.forwardStates.Data()[i]);
      for (const SquareTable& destination : m_tables.destination) {
        if (m_backwardWhole.Contains(m_keys.KeyOf(Apply(destination, balls)))) {
          m_meeting = i;
          return;
        }
      }
    }
    assert(false && "no state of the newest forward layer is next to the backward side");
  }

  /// Positions of the forward states from the start (excluded) to the meeting.
  std::vector<std::uint32_t> ChainToMeeting() const {
    std::vector<std::uint32_t> chain;
    const std::uint32_t* const children = m_buffers.forwardChildren.Data();
    // The parent of a state is the last state expanded whose successors begin
    // at or before it: the successors stand in the order of their parents.
    const auto parentOf = [&](std::size_t position) {
      return static_cast<std::size_t>(
          std::upper_bound(children, children + m_forwardExpanded, position) - children - 1);
    };
    for (std::size_t position = m_meeting; position != 0; position = parentOf(position)) {
      chain.push_back(static_cast<std::uint32_t>(position));
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
  }

  /// Takes the backward layer at the distance out of the whole layers' set.
  void ForgetBackwardLayer(std::size_t distance) {
    const std::vector<std::size_t>& starts = m_buffers.backwardLayerStarts;
    for (std::size_t i = starts[distance]; i < starts[distance + 1]; ++i) {
      m_backwardWhole.Remove(m_buffers.backwardStates.Data()[i]);
    }
  }

  struct Step {
    Direction direction;
    Squares balls;
  };

  /// The first move, in move order, that gives a placement accept takes.
  template <typename Accept>
  Step FirstStep(const Squares& from, Accept accept) const {
    for (std::size_t direction = 0; direction < 4; ++direction) {
      const Squares balls = Apply(m_tables.destination[direction], from);
      if (accept(balls)) return {AllDirections[direction], balls};
    }
    assert(false && "no move continues the shortest solution");
    return {Direction::North, from};
  }

  PlacementKeys<Bits> m_keys;
  SearchBuffers& m_buffers;
  MoveTables m_tables;
  KeyMoveTables<Bits> m_keyTables;
  Key m_targetKey = 0;
  std::size_t m_forwardExpanded = 0;             // forward states expanded, from the start on
  std::array<unsigned, MaxSquares> m_openSides;  // per square, its open sides
  BallSourceSets m_ballSources;
  std::array<Key, 32> m_sourceOffsets;
  KeySet m_forwardSeen;
  KeySet m_backwardSeen;   // every backward state found, the waiting layer's too
  KeySet m_backwardWhole;  // the states of the whole backward layers
  bool m_met = false;
  std::size_t m_meeting = 0;               // position of the meeting among the forward states
  std::size_t m_meetingDistance = 0;       // moves from the meeting to the target
  std::size_t m_backwardNext = 0;          // the next backward state to expand
  std::size_t m_backwardTail = 1;          // past the last backward state found
  std::size_t m_forwardListedAtPause = 0;  // forward states listed when a layer began to wait
  std::int64_t m_forwardStates = 0;        // states expanded forward
  std::int64_t m_backwardTurns = 0;        // calls of ExpandBackward
  std::int64_t m_backwardStates = 0;       // states expanded backward
  std::int64_t m_backwardPlacements = 0;   // placements the backward moves found
  std::int64_t m_recheckedKeys = 0;        // keys compared when a waiting layer went on
};

}  // namespace solving

#include "logic/solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "logic/ball_moves.h"

// Two searches live here, both on square numbers instead of Piece records: a
// move is one table look-up per ball and a few comparisons instead of
// decoding, sorting and encoding records.
//
// SolveLevel expands states in exactly the order of the plain rule (decode,
// move, encode for every successor; first discovery wins; north, south, west,
// east), so the table it leaves is the same entry for entry.
//
// SolutionExists, RecheckLevel, the solution step and ShortestSolution search
// from both ends at once (TwoEndedSearch below), which for most levels ends
// long before a search from the balls alone would, and never costs much more,
// and rebuild from it exactly the solution the ordered search would find.
// They leave the predecessor table alone, and share one answer per thread:
// asked twice in a row about the same level, they search once.
//
// Every search works in buffers of its own thread, kept from one search to the
// next: a search clears two bit sets of at most 25 KB and writes only the
// states it reaches.

namespace {

using ballmoves::Apply;
using ballmoves::ApplyApart;
using ballmoves::BuildMoveTables;
using ballmoves::MaxSquares;
using ballmoves::MoveTables;
using ballmoves::NoSquare;
using ballmoves::Settle;
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

/// The placements one end of a search has reached, one bit per key, and
/// a look at the other end's bits. Plain pointers, so that the searches'
/// inner loops keep them in registers.
class ReachedStates {
 public:
  ReachedStates(std::uint64_t* words, const std::uint64_t* otherWords)
      : m_words(words), m_otherWords(otherWords) {}
  bool Contains(Key key) const { return (m_words[key / 64] >> (key % 64)) & 1; }
  /// Marks the state as reached from this end; true when it was not before.
  /// Free of branches, since whether a successor is new is close to a coin toss.
  bool Add(Key key) const {
    std::uint64_t& word = m_words[key / 64];
    const std::uint64_t mask = std::uint64_t{1} << (key % 64);
    const bool isNew = (word & mask) == 0;
    word |= mask;
    return isNew;
  }
  bool ReachedFromOtherEnd(Key key) const { return (m_otherWords[key / 64] >> (key % 64)) & 1; }
  void Remove(Key key) const { m_words[key / 64] &= ~(std::uint64_t{1} << (key % 64)); }

 private:
  std::uint64_t* m_words;
  const std::uint64_t* m_otherWords;
};

/// The bits of ReachedStates for both ends, emptied for each search but
/// keeping their memory.
class ReachedWords {
 public:
  /// Empties the words for keys below count.
  void Reset(std::int32_t count) {
    m_wordsPerEnd = (static_cast<std::size_t>(count) + 63) / 64;
    if (m_words.size() < 2 * m_wordsPerEnd) m_words.resize(2 * m_wordsPerEnd);
    std::fill_n(m_words.begin(), 2 * m_wordsPerEnd, std::uint64_t{0});
  }
  ReachedStates FromBalls() { return {m_words.data(), m_words.data() + m_wordsPerEnd}; }
  ReachedStates FromHoles() { return {m_words.data() + m_wordsPerEnd, m_words.data()}; }

 private:
  std::vector<std::uint64_t> m_words;
  std::size_t m_wordsPerEnd = 0;
};

/// The memory of the searches of one thread, kept between searches so that a
/// search neither allocates nor clears more than it uses. Each thread has its
/// own, so searches on different threads share nothing they write.
struct SearchBuffers {
  ReachedWords reached;
  std::vector<Key> forwardStates;             // every forward layer in order
  std::vector<std::uint32_t> forwardParents;  // per forward state, where its parent stands
  std::vector<Key> backwardStates;            // every backward layer in order
  std::vector<std::size_t> forwardLayerStarts;
  std::vector<std::size_t> backwardLayerStarts;

  /// Ready for a search over keys below keyCount, of which at most
  /// placementCount are placements.
  void Prepare(std::int32_t keyCount, std::int32_t placementCount) {
    reached.Reset(keyCount);
    // Every placement is listed at most once per side, and one more slot takes
    // the write of a successor that turns out to be known already.
    const auto capacity = static_cast<std::size_t>(placementCount) + 2;
    for (auto* list : {&forwardStates, &forwardParents, &backwardStates}) {
      if (list->size() < capacity) list->resize(capacity);
    }
    forwardLayerStarts.clear();
    backwardLayerStarts.clear();
  }
};

SearchBuffers& ThreadBuffers() {
  thread_local SearchBuffers buffers;
  return buffers;
}

/// This thread's buffers, ready for a search on a board of the given size.
template <unsigned Bits>
SearchBuffers& BuffersForSearch(const PlacementKeys<Bits>& keys, std::int32_t boardSize) {
  SearchBuffers& buffers = ThreadBuffers();
  const std::int32_t squares = boardSize * boardSize;
  buffers.Prepare(keys.Count(), squares * (squares - 1) * (squares - 2));
  return buffers;
}

/// Calls visit with every placement that one move in the direction turns into
/// to, and returns how many there are. Read backward, the move rule says: a
/// ball that moved came from the square behind it; a ball that stayed had a
/// wall ahead of it or a ball ahead of it that stayed too, so a ball with
/// neither moved; and a ball that moved left its square free, so a ball that
/// now stands on that square moved into it as well. When Apart (no ball is an
/// open neighbour of another) only the walls count.
template <bool Apart, typename Visit>
int ForEachSourcePlacement(const MoveTables& tables, std::size_t direction, const Squares& to,
                           Visit visit) {
  const SquareTable& source = tables.source[direction];
  const SquareTable& destination = tables.destination[direction];
  const std::array<int, 3> square = {to.blue, to.green, to.red};
  std::array<int, 3> behind{};
  std::array<unsigned, 3> followers{};  // per ball, the ball that must move when it moves
  unsigned canMove = 0;
  unsigned mustMove = 0;
  for (std::size_t ball = 0; ball < 3; ++ball) {
    behind[ball] = source[square[ball]];
    const int ahead = destination[square[ball]];
    bool blocked = ahead == square[ball];
    if (!Apart) {
      for (std::size_t other = 0; other < 3; ++other) {
        blocked |= ahead == square[other];
        if (behind[ball] == square[other]) followers[ball] = 1u << other;
      }
    }
    canMove |= unsigned{behind[ball] != NoSquare} << ball;
    mustMove |= unsigned{!blocked} << ball;
  }
  // Bit b of moved: ball b (blue, green, red) moved. Nothing moving gives the
  // placement itself.
  unsigned possible = 0;
  if (Apart) {
    // Every set of moved balls from those that must have moved up to those
    // that can have.
    if ((mustMove & ~canMove) != 0) return 0;
    const unsigned optional = canMove & ~mustMove;
    for (unsigned chosen = optional;; chosen = (chosen - 1) & optional) {
      possible |= 1u << (mustMove | chosen);
      if (chosen == 0) break;
    }
    possible &= ~1u;
  } else {
    // The seven cases are judged without branches, since which of them hold
    // is hard to foresee.
    for (unsigned moved = 1; moved < 8; ++moved) {
      const unsigned required = mustMove | ((moved & 1u) ? followers[0] : 0u) |
                                ((moved & 2u) ? followers[1] : 0u) |
                                ((moved & 4u) ? followers[2] : 0u);
      const bool holds = ((moved & ~canMove) | (required & ~moved)) == 0;
      possible |= unsigned{holds} << moved;
    }
  }
  int found = 0;
  for (; possible != 0; possible &= possible - 1) {
    const auto moved = static_cast<unsigned>(std::countr_zero(possible));
    const auto origin = [&](std::size_t ball) {
      return (moved & (1u << ball)) ? behind[ball] : square[ball];
    };
    const Squares from = {origin(0), origin(1), origin(2)};
    assert(Apply(destination, from) == to);
    visit(from);
    ++found;
  }
  return found;
}

// The cost of the work: a forward state tries four moves; a backward state
// looks at four directions and at the placements it finds, each of which
// costs a quarter to a third of a forward state (measured on random and on
// hard levels; the larger share is taken).
constexpr std::int64_t ForwardStateCost = 3;
constexpr std::int64_t BackwardTryCost = 1;
// Before the first backward state shows it: four directions and four placements.
constexpr std::int64_t FirstBackwardStateCost = 8 * BackwardTryCost;
// A search from the balls alone must expand every forward layer this search
// has expanded, and the newest one too once the backward side has a layer of
// its own. The backward side may cost at most this fraction of that, so the
// search never costs much more than the search from the balls alone would.
constexpr std::int64_t BackwardShareDivisor = 4;

/// How the expansion of a forward layer ended.
struct ForwardLayerEnd {
  std::size_t tail;      // past the last successor kept, or where the meeting stands
  std::size_t expanded;  // states of the layer expanded
  bool met;              // the successor at tail is in the other side's set
};

/// Expands the forward states from begin to end: their successors go after
/// them, each new one once, with the position of the state it came from.
/// Stops at the first successor the other side has reached.
// Everything the loop needs is local, so that it stays in registers.
template <unsigned Bits>
ForwardLayerEnd ExpandForwardLayer(const MoveTables& tables, const PlacementKeys<Bits> keys,
                                   Key* const states, std::uint32_t* const parents,
                                   const std::size_t begin, const std::size_t end,
                                   const ReachedStates reached) {
  std::size_t tail = end;
  for (std::size_t i = begin; i < end; ++i) {
    const Squares current = keys.SquaresOf(states[i]);
    // True when the successor is a state the other end has reached.
    const auto reach = [&](const Squares& next) {
      const Key key = keys.KeyOf(next);
      // Written always, kept only when new: no branch on a coin toss.
      states[tail] = key;
      parents[tail] = static_cast<std::uint32_t>(i);
      const bool isNew = reached.Add(key);
      // A state both ends reach is new here: had this end reached it before,
      // the two would have met then.
      if (reached.ReachedFromOtherEnd(key)) return true;
      tail += isNew;
      return false;
    };
    // Mostly the balls stand apart, and each move is three look-ups.
    bool met = false;
    if (Touching(tables, current)) {
      for (std::size_t d = 0; d < 4 && !met; ++d) {
        met = reach(Apply(tables.destination[d], current));
      }
    } else {
      for (std::size_t d = 0; d < 4 && !met; ++d) {
        met = reach(ApplyApart(tables.destination[d], current));
      }
    }
    if (met) return {tail, i + 1 - begin, true};
  }
  return {tail, end - begin, false};
}

// Breadth-first from the start and from the target at once, a whole layer at
// a time. Each round expands the side whose next layer costs less, but the
// backward side only while its work stays within its share of the forward
// work that any search from the balls must do anyway (BackwardShareDivisor).
// A backward layer that would overspend is taken back and waits until the
// forward side has done enough; meanwhile the search goes on from the balls,
// against the backward states as a larger target. So on levels where the
// backward side floods the board the search costs little more than a search
// from the balls. The search ends when a state is reached from both ends, or
// without a meeting when one end runs out of states.
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
        m_buffers(BuffersForSearch(m_keys, level.boardSize)),
        m_tables(BuildMoveTables(level)),
        m_forwardSeen(m_buffers.reached.FromBalls()),
        m_backwardSeen(m_buffers.reached.FromHoles()) {
    const Key startKey = m_keys.KeyOfState(start);
    const Key targetKey = m_keys.KeyOfState(target);
    m_forwardSeen.Add(startKey);
    m_backwardSeen.Add(targetKey);
    m_buffers.forwardStates[0] = startKey;
    m_buffers.backwardStates[0] = targetKey;
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
    return {m_met, m_forwardStates, m_backwardStates, m_backwardPlacements};
  }

  /// The moves of the first shortest solution in the ordered search's order.
  // Only when Met(). Takes the backward set apart.
  std::vector<Direction> FirstShortestSolution() {
    std::vector<Direction> moves;
    Squares current = m_keys.SquaresOf(m_buffers.forwardStates[0]);
    for (std::uint32_t position : ChainToMeeting()) {
      const Squares next = m_keys.SquaresOf(m_buffers.forwardStates[position]);
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
        return m_backwardSeen.Contains(m_keys.KeyOf(balls));
      });
      moves.push_back(step.direction);
      current = step.balls;
    }
    return moves;
  }

 private:
  void Run() {
    while (!m_met && ForwardLayerSize() > 0 && BackwardLayerSize() > 0) {
      if (BackwardIsCheaper()) {
        ExpandBackward();
      } else {
        ExpandForward();
      }
    }
  }

  std::int64_t ForwardLayerCost() const {
    return ForwardStateCost * static_cast<std::int64_t>(ForwardLayerSize());
  }

  bool BackwardIsCheaper() const {
    const std::int64_t backwardCost =
        BackwardStateCost() * static_cast<std::int64_t>(BackwardLayerSize());
    return backwardCost < ForwardLayerCost() &&
           BackwardWork() + backwardCost <= BackwardAllowance();
  }

  /// What the backward side may cost in all: a share of the forward work any
  /// search from the balls must do. That includes the newest forward layer
  /// once the backward side has a layer beyond the target: then no state of
  /// the next forward layer can be the target.
  std::int64_t BackwardAllowance() const {
    const std::int64_t pending = BackwardDepth() > 0 ? ForwardLayerCost() : 0;
    return (ForwardWork() + pending) / BackwardShareDivisor;
  }

  std::int64_t ForwardWork() const { return ForwardStateCost * m_forwardStates; }
  std::int64_t BackwardWork() const {
    return BackwardTryCost * (4 * m_backwardStates + m_backwardPlacements);
  }
  /// The cost of a backward state so far, rounded up.
  std::int64_t BackwardStateCost() const {
    if (m_backwardStates == 0) return FirstBackwardStateCost;
    return (BackwardWork() + m_backwardStates - 1) / m_backwardStates;
  }

  static std::size_t NewestLayerSize(const std::vector<std::size_t>& starts) {
    return starts[starts.size() - 1] - starts[starts.size() - 2];
  }
  std::size_t ForwardLayerSize() const { return NewestLayerSize(m_buffers.forwardLayerStarts); }
  std::size_t BackwardLayerSize() const { return NewestLayerSize(m_buffers.backwardLayerStarts); }
  /// The distance from the target of the newest complete backward layer.
  std::size_t BackwardDepth() const { return m_buffers.backwardLayerStarts.size() - 2; }

  void ExpandForward() {
    std::vector<std::size_t>& starts = m_buffers.forwardLayerStarts;
    const std::size_t begin = starts[starts.size() - 2];
    const std::size_t end = starts.back();
    const ForwardLayerEnd outcome =
        ExpandForwardLayer(m_tables, m_keys, m_buffers.forwardStates.data(),
                           m_buffers.forwardParents.data(), begin, end, m_forwardSeen);
    m_forwardStates += static_cast<std::int64_t>(outcome.expanded);
    if (outcome.met) {
      // The first meeting in the layer's order: it lies on the solution sought.
      m_met = true;
      m_meeting = outcome.tail;
      m_meetingDistance = BackwardDepth();
      return;
    }
    starts.push_back(outcome.tail);
  }

  /// Expands the newest backward layer until it meets the forward side, or
  /// until the backward side has spent its allowance.
  void ExpandBackward() {
    std::vector<std::size_t>& starts = m_buffers.backwardLayerStarts;
    const std::size_t begin = starts[starts.size() - 2];
    const std::size_t end = starts.back();
    Key* const states = m_buffers.backwardStates.data();
    const ReachedStates seen = m_backwardSeen;
    const std::int64_t allowance = BackwardAllowance();
    std::size_t tail = end;
    bool met = false;
    const auto reach = [&](const Squares& balls) {
      const Key key = m_keys.KeyOf(balls);
      states[tail] = key;
      met |= seen.ReachedFromOtherEnd(key);
      tail += seen.Add(key);
    };
    bool overspent = false;
    for (std::size_t i = begin; i < end && !met; ++i) {
      if (BackwardWork() + BackwardTryCost * 4 > allowance) {
        overspent = true;
        break;
      }
      const Squares to = m_keys.SquaresOf(states[i]);
      const bool touching = Touching(m_tables, to);
      for (std::size_t direction = 0; direction < 4; ++direction) {
        m_backwardPlacements += touching
                                    ? ForEachSourcePlacement<false>(m_tables, direction, to, reach)
                                    : ForEachSourcePlacement<true>(m_tables, direction, to, reach);
      }
      ++m_backwardStates;
    }
    if (met) {
      m_met = true;
      FindMeetingAfterBackwardLayerMet(end, tail);
      return;
    }
    if (overspent) {
      // The part of the layer is taken back, since the solution is rebuilt
      // from whole layers; the layer is expanded anew once the forward side
      // has earned the backward side enough work.
      ForgetBackwardStates(end, tail);
      return;
    }
    starts.push_back(tail);
  }

  /// A backward layer, not yet whole, met the forward side: so a shortest
  /// solution is one move longer than the newest layers of both sides
  /// together, and passes the newest forward layer at a state with a move
  /// into the whole backward layers. The first such state, in the layer's
  /// order, is the meeting sought.
  void FindMeetingAfterBackwardLayerMet(std::size_t layerBegin, std::size_t layerEnd) {
    ForgetBackwardStates(layerBegin, layerEnd);
    m_meetingDistance = BackwardDepth() + 1;
    const std::vector<std::size_t>& starts = m_buffers.forwardLayerStarts;
    for (std::size_t i = starts[starts.size() - 2]; i < starts.back(); ++i) {
      const Squares balls = m_keys.SquaresOf(m_buffers.forwardStates[i]);
      for (const SquareTable& destination : m_tables.destination) {
        if (m_backwardSeen.Contains(m_keys.KeyOf(Apply(destination, balls)))) {
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
    for (std::size_t position = m_meeting; position != 0;
         position = m_buffers.forwardParents[position]) {
      chain.push_back(static_cast<std::uint32_t>(position));
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
  }

  /// Takes the backward states listed from begin to end out of the backward set.
  void ForgetBackwardStates(std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      m_backwardSeen.Remove(m_buffers.backwardStates[i]);
    }
  }

  void ForgetBackwardLayer(std::size_t distance) {
    const std::vector<std::size_t>& starts = m_buffers.backwardLayerStarts;
    ForgetBackwardStates(starts[distance], starts[distance + 1]);
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
  ReachedStates m_forwardSeen;
  ReachedStates m_backwardSeen;
  bool m_met = false;
  std::size_t m_meeting = 0;              // position of the meeting among the forward states
  std::size_t m_meetingDistance = 0;      // moves from the meeting to the target
  std::int64_t m_forwardStates = 0;       // states expanded forward
  std::int64_t m_backwardStates = 0;      // states expanded backward
  std::int64_t m_backwardPlacements = 0;  // placements the backward moves found
};

void EncodeBallsAndHoles(Level& level) {
  level.startState = EncodeState(level, level.balls);
  level.targetState = EncodeState(level, level.holes);
}

/// The answer of the last search on this thread and the level it was for: a
/// level is often asked about twice in a row (read from a code, then
/// rechecked or solved; rechecked, then stepped), and the second answer then
/// costs no search. The search depends on nothing but what is kept here.
class RememberedAnswer {
 public:
  bool IsFor(const Level& level) const {
    return m_known && level.boardSize == m_boardSize && level.startState == m_start &&
           level.targetState == m_target &&
           std::equal(level.cells.begin(), level.cells.end(), m_cells.begin(),
                      m_cells.begin() + level.boardSize * level.boardSize);
  }
  void Keep(const Level& level, Solution answer) {
    m_known = true;
    m_boardSize = level.boardSize;
    std::copy(level.cells.begin(), level.cells.end(), m_cells.begin());
    m_start = level.startState;
    m_target = level.targetState;
    m_answer = std::move(answer);
  }
  const Solution& Get() const { return m_answer; }

 private:
  bool m_known = false;
  std::int32_t m_boardSize = 0;
  std::array<Cell, MaxSquares> m_cells{};
  StateIndex m_start = 0;
  StateIndex m_target = 0;
  Solution m_answer;
};

/// The first shortest solution for the level's balls and holes, if any.
/// Encodes both, which leaves them red, green, blue.
const Solution& Answer(Level& level) {
  assert(!PlacementIsInvalid(level));
  assert(level.cells.size() == static_cast<std::size_t>(level.boardSize * level.boardSize));
  EncodeBallsAndHoles(level);
  thread_local RememberedAnswer remembered;
  if (!remembered.IsFor(level)) {
    remembered.Keep(
        level, WithKeyBits(level.boardSize, [&](auto bits) {
          TwoEndedSearch<bits> search(level, level.startState, level.targetState);
          return search.Met() ? Solution{true, search.FirstShortestSolution()} : Solution{};
        }));
  }
  return remembered.Get();
}

/// SolveLevel's search, for start and target that differ.
template <unsigned Bits>
bool OrderedSearch(Level& level, StateIndex start, StateIndex target) {
  const PlacementKeys<Bits> keys(level.boardSize);
  const std::int32_t stateCount = StateCount(level);
  assert(start > 0 && start < stateCount && target >= 0 && target < stateCount);
  const MoveTables tables = BuildMoveTables(level);

  SearchBuffers& buffers = BuffersForSearch(keys, level.boardSize);
  Key* const queue = buffers.forwardStates.data();
  std::uint32_t* const discoveredBy = buffers.forwardParents.data();
  const ReachedStates visited = buffers.reached.FromBalls();
  const Key targetKey = keys.KeyOfState(target);
  // The start is not marked: like any state it is marked when a move first
  // leads to it, and then queued a second time.
  queue[0] = keys.KeyOfState(start);
  std::size_t tail = 1;
  bool found = false;
  for (std::size_t head = 0; head < tail && !found; ++head) {
    const Squares current = keys.SquaresOf(queue[head]);
    const auto currentState = static_cast<std::uint32_t>(keys.StateOf(queue[head]));
    for (const SquareTable& destination : tables.destination) {
      const Key next = keys.KeyOf(Apply(destination, current));
      // Written always, kept only when new: no branch on a coin toss.
      queue[tail] = next;
      discoveredBy[tail] = currentState;
      tail += visited.Add(next);
      if (next == targetKey) {
        found = true;
        break;
      }
    }
  }
  // The first discovery of each state is its entry; the rest stay 0.
  level.predecessors.assign(static_cast<std::size_t>(stateCount), 0);
  for (std::size_t i = 1; i < tail; ++i) {
    level.predecessors[keys.StateOf(queue[i])] = static_cast<StateIndex>(discoveredBy[i]);
  }
  return found;
}

}  // namespace

bool SolveLevel(Level& level, StateIndex start, StateIndex target) {
  if (start == target) return true;
  return WithKeyBits(level.boardSize,
                     [&](auto bits) { return OrderedSearch<bits>(level, start, target); });
}

bool SolutionExists(Level& level) { return Answer(level).exists; }

SearchEffort MeasureSolutionSearch(Level& level) {
  assert(!PlacementIsInvalid(level));
  EncodeBallsAndHoles(level);
  return WithKeyBits(level.boardSize, [&](auto bits) {
    return TwoEndedSearch<bits>(level, level.startState, level.targetState).Effort();
  });
}

void RecheckLevel(Level& level) { level.solvable = SolutionExists(level) ? 1 : 0; }

void StepTowardSolution(Level& level) {
  const Solution& answer = Answer(level);
  if (answer.moves.empty()) return;  // no solution, or solved already
  Move(level, level.balls, answer.moves.front());
  level.startState = EncodeState(level, level.balls);
  // The balls leave in the order the state's digits give them: blue, green, red.
  DecodeState(level, level.startState, level.balls);
}

Solution ShortestSolution(Level& level) { return Answer(level); }

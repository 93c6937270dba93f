#include "logic/solver.h"

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

// The searches of the editor live here, on square numbers instead of Piece
// records: a move is one table look-up per ball and a few comparisons instead
// of decoding, sorting and encoding records.
//
// SolutionExists, RecheckLevel, the solution step and ShortestSolution search
// from both ends at once (TwoEndedSearch in logic/two_ended_search.h), which
// for most levels ends long before a search from the balls alone would, and
// does at most an eighth more work than that search, counted in the costs it
// budgets with (on large levels close to a twelfth). In time that comes to at
// most 1.1 times that search on large and solvable levels and up to 1.19
// times on small unsolvable ones; the argument and the times measured are
// given there. They rebuild from it exactly the solution the ordered search
// would find.
// They share one answer per thread: asked twice in a row about the same
// level, they search once.
//
// Every search works in buffers of its own thread, kept from one search to the
// next: a search empties only the bits the last one set, and writes only the
// states it reaches.

#include "logic/two_ended_search.h"

namespace {

using ballmoves::MaxSquares;
using solving::BuffersForSearch;
using solving::SearchBuffers;
using solving::TwoEndedSearch;
using solving::WithKeyBits;

SearchBuffers& ThreadBuffers() {
  thread_local SearchBuffers buffers;
  return buffers;
}

}  // namespace

namespace solving {

SearchBuffers& BuffersForSearch(std::int32_t boardSize) {
  SearchBuffers& buffers = ThreadBuffers();
  buffers.Prepare(BallPlacements(boardSize));
  return buffers;
}

}  // namespace solving

namespace {

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

}  // namespace

bool SolutionExists(Level& level) { return Answer(level).exists; }

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

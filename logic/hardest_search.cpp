#include "logic/hardest_search.h"

#include <vector>

#include "logic/placement_distances.h"
#include "logic/search_support.h"

// A candidate is a board and the balls; its worth is the greatest distance
// from the balls to any placement, found by one search from the balls, since
// the holes can go to the farthest placement. The climb changes one inner
// side or moves one ball at a time and keeps the change by the late
// acceptance rule: when the candidate is no worse than the current level, or
// than the level it had a fixed number of steps before. That lets it cross
// the wide plateaus of equal worth and step down now and then, where a plain
// climb stops at the first summit. A climb that finds nothing better for a
// long time starts afresh from a new random maze.
//
// A new best level is polished before it is reported: a search back from its
// holes finds the balls farthest from them, a search from those balls the
// holes farthest from them, and so on while the level grows.

std::optional<std::string> HardestRequestProblem(const HardestRequest& request) {
  if (!IsBoardSize(request.size)) return "the board size must be 3, 5 or 7";
  if (request.timeLimit.count() < 0) return "the time limit must not be negative";
  if (request.timeLimit.count() == 0 && request.evaluationLimit == 0) {
    return "a time limit or an evaluation limit is needed";
  }
  return std::nullopt;
}

namespace {

constexpr std::size_t HistoryLength = 50;
constexpr std::uint64_t RestartAfter = 1500;  // candidates without a better level in this climb

class HardestClimb {
 public:
  HardestClimb(const HardestRequest& request, SearchRun& run)
      : m_request(request), m_run(run), m_random(request.seed) {}

  HardestResult Run() {
    HardestResult result;
    while ((result.end = m_run.StopReason()) == SearchEnd::Done && !OutOfEvaluations()) {
      if (m_history.empty() || m_idle >= RestartAfter) {
        Restart();
      } else {
        Step();
      }
    }
    result.best = m_best;
    result.tried = m_run.Tried();
    return result;
  }

 private:
  bool OutOfEvaluations() const {
    return m_request.evaluationLimit > 0 && m_run.Tried() >= m_request.evaluationLimit;
  }

  /// Rates the balls on the current board; the search is left in m_distances.
  int Rate(StateIndex balls) {
    m_distances.SearchFrom(m_level, balls);
    m_run.CountTried();
    return m_distances.Depth();
  }

  void Restart() {
    BuildRandomMaze(m_level, m_request.size, m_random);
    m_balls = RandomPlacement(m_request.size, m_random);
    m_worth = Rate(m_balls);
    m_history.assign(HistoryLength, m_worth);
    m_climbBest = m_worth;
    m_idle = 0;
    KeepIfBest();
  }

  void Step() {
    const int size = m_request.size;
    const bool changeSide = m_random.Below(2) == 0;
    int side = -1;
    StateIndex balls = m_balls;
    if (changeSide) {
      side = static_cast<int>(m_random.Below(InnerSideCount(size)));
      ToggleInnerSide(m_level, side);
    } else {
      balls = WithOneBallMoved(m_balls);
    }
    const int worth = Rate(balls);
    const std::size_t slot = m_run.Tried() % HistoryLength;
    const bool accepted = worth >= m_worth || worth >= m_history[slot];
    if (accepted) {
      m_balls = balls;
      m_worth = worth;
    } else if (changeSide) {
      ToggleInnerSide(m_level, side);
    }
    m_history[slot] = m_worth;
    if (m_worth > m_climbBest) {
      m_climbBest = m_worth;
      m_idle = 0;
    } else {
      ++m_idle;
    }
    if (accepted) KeepIfBest();
  }

  /// One ball, drawn at random, on a random square that no other ball holds.
  StateIndex WithOneBallMoved(StateIndex balls) {
    const int m = m_request.size * m_request.size;
    int squares[3] = {balls % m, balls / m % m, balls / m / m};  // blue, green, red
    const std::uint32_t which = m_random.Below(3);
    int square = static_cast<int>(m_random.Below(static_cast<std::uint32_t>(m)));
    while (square == squares[0] || square == squares[1] || square == squares[2]) {
      square = static_cast<int>(m_random.Below(static_cast<std::uint32_t>(m)));
    }
    squares[which] = square;
    return (squares[2] * m + squares[1]) * m + squares[0];
  }

  /// Called right after the current level was rated, with its search at hand.
  void KeepIfBest() {
    if (m_worth <= m_best.moves) return;
    const StateIndex holes = Polish();
    m_best = DescribeLevel(m_level, m_balls, holes, m_worth);
    m_run.Report(m_best);
  }

  /// Moves balls and holes apart while that lengthens the level; the holes.
  StateIndex Polish() {
    StateIndex holes = m_distances.PlacementWithin(m_worth, m_worth, 0).state;
    for (;;) {
      m_distances.SearchTo(m_level, holes);
      m_run.CountTried();
      if (m_distances.Depth() <= m_worth) return holes;
      m_balls = m_distances.PlacementWithin(m_distances.Depth(), m_distances.Depth(), 0).state;
      m_worth = Rate(m_balls);
      holes = m_distances.PlacementWithin(m_worth, m_worth, 0).state;
      if (m_worth > m_climbBest) m_climbBest = m_worth;
    }
  }

  const HardestRequest& m_request;
  SearchRun& m_run;
  SeededRandom m_random;
  PlacementDistances m_distances;
  Level m_level;
  StateIndex m_balls = 0;
  int m_worth = 0;  // the current level's greatest distance from its balls
  // The worth of the current level over the last HistoryLength steps; empty before the first.
  std::vector<int> m_history;
  int m_climbBest = 0;
  std::uint64_t m_idle = 0;
  FoundLevel m_best{{}, {}, -1};
};

}  // namespace

HardestResult FindHardestLevel(const HardestRequest& request, const SearchControl& control) {
  if (HardestRequestProblem(request)) {
    HardestResult result;
    result.best.moves = -1;
    result.end = SearchEnd::OutOfReach;
    return result;
  }
  SearchRun run(control, request.timeLimit);
  HardestResult result = HardestClimb(request, run).Run();
  run.Finish();
  return result;
}

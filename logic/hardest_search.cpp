#include "logic/hardest_search.h"

#include <algorithm>
#include <vector>

#include "logic/level_analysis.h"
#include "logic/moves.h"
#include "logic/placement_distances.h"
#include "logic/search_support.h"
#include "logic/solver.h"

// The climb changes one inner side or moves one piece at a time and keeps the
// change by the late acceptance rule: when the candidate is no worse than the
// current level, or than the level it had a fixed number of steps before.
// That lets it cross the wide plateaus of equal worth and step down now and
// then, where a plain climb stops at the first summit. A climb that finds
// nothing better for a long time starts afresh from a new random maze.
//
// For the longest solution a candidate is a board and the balls; its worth is
// the greatest distance from the balls to any placement, found by one search
// from the balls, since the holes can go to the farthest placement. A new
// best level is polished before it is reported: a search back from its holes
// finds the balls farthest from them, a search from those balls the holes
// farthest from them, and so on while the level grows.
//
// For the greatest effort a candidate is a board, the balls and the holes,
// and its worth the greedy player's effort (0 when the holes are out of
// reach); a fresh climb puts the holes on a placement the balls reach.

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

/// The late acceptance rule, and how the climb fares.
class LateAcceptance {
 public:
  /// A fresh climb from a level of this worth.
  void Start(int worth) {
    m_worth = worth;
    m_history.assign(HistoryLength, worth);
    m_climbBest = worth;
    m_idle = 0;
  }

  /// True before the first climb, and when the climb has long found nothing better.
  bool Stalled() const { return m_history.empty() || m_idle >= RestartAfter; }

  /// The current level's worth.
  int Worth() const { return m_worth; }

  /// Judges a changed level of this worth, rated as the step-th candidate;
  /// true when it becomes the current level.
  bool Judge(int worth, std::uint64_t step) {
    const std::size_t slot = step % HistoryLength;
    const bool accepted = worth >= m_worth || worth >= m_history[slot];
    if (accepted) m_worth = worth;
    m_history[slot] = m_worth;
    if (m_worth > m_climbBest) {
      m_climbBest = m_worth;
      m_idle = 0;
    } else {
      ++m_idle;
    }
    return accepted;
  }

  /// The current level became this much better between steps.
  void Raise(int worth) {
    m_worth = worth;
    m_climbBest = std::max(m_climbBest, worth);
  }

 private:
  int m_worth = 0;
  std::vector<int> m_history;  // the current worth over the last HistoryLength steps
  int m_climbBest = 0;
  std::uint64_t m_idle = 0;
};

/// What both goals change: the board of a climb and the draws that change it.
class ClimbedBoard {
 public:
  ClimbedBoard(int size, SeededRandom& random) : m_size(size), m_random(random) {}

  void NewMaze() { BuildRandomMaze(m_level, m_size, m_random); }

  /// Draws whether the next change is an inner side (true) or a piece.
  bool DrawSideChange() { return m_random.Below(2) == 0; }

  /// Flips an inner side drawn at random.
  void FlipRandomSide() {
    m_flipped = static_cast<int>(m_random.Below(InnerSideCount(m_size)));
    ToggleInnerSide(m_level, m_flipped);
  }

  /// Takes back the last flip, if the last change was one.
  void UndoFlip() {
    if (m_flipped >= 0) ToggleInnerSide(m_level, m_flipped);
  }

  void ForgetFlip() { m_flipped = -1; }

  /// The placement with the piece `which` (blue, green, red) on a random
  /// square that none of the three holds.
  StateIndex WithOneMoved(StateIndex placement, std::uint32_t which) {
    const int m = m_size * m_size;
    int squares[3] = {placement % m, placement / m % m, placement / m / m};
    int square = static_cast<int>(m_random.Below(static_cast<std::uint32_t>(m)));
    while (square == squares[0] || square == squares[1] || square == squares[2]) {
      square = static_cast<int>(m_random.Below(static_cast<std::uint32_t>(m)));
    }
    squares[which] = square;
    return (squares[2] * m + squares[1]) * m + squares[0];
  }

  int m_size;
  SeededRandom& m_random;
  Level m_level;

 private:
  int m_flipped = -1;
};

/// The level whose shortest solution is longest.
class LongestSolution {
 public:
  LongestSolution(int size, SeededRandom& random, SearchRun& run)
      : m_board(size, random), m_run(run) {}

  int Restart() {
    m_board.NewMaze();
    m_balls = RandomPlacement(m_board.m_size, m_board.m_random);
    return Rate(m_balls);
  }

  /// Changes a side or a ball and rates the level.
  int TryChange() {
    m_board.ForgetFlip();
    m_candidate = m_balls;
    if (m_board.DrawSideChange()) {
      m_board.FlipRandomSide();
    } else {
      m_candidate = m_board.WithOneMoved(m_balls, m_board.m_random.Below(3));
    }
    return Rate(m_candidate);
  }

  void Keep() { m_balls = m_candidate; }
  void Undo() { m_board.UndoFlip(); }

  /// The current level, polished; called right after it was rated, with its
  /// search at hand.
  FoundLevel Describe(LateAcceptance& rule) {
    const StateIndex holes = Polish(rule);
    return DescribeLevel(m_board.m_level, m_balls, holes, rule.Worth());
  }

 private:
  /// Rates the balls on the current board; the search is left in m_distances.
  int Rate(StateIndex balls) {
    m_distances.SearchFrom(m_board.m_level, balls);
    m_run.CountTried();
    return m_distances.Depth();
  }

  /// Moves balls and holes apart while that lengthens the level; the holes.
  StateIndex Polish(LateAcceptance& rule) {
    StateIndex holes = m_distances.PlacementWithin(rule.Worth(), rule.Worth(), 0).state;
    for (;;) {
      m_distances.SearchTo(m_board.m_level, holes);
      m_run.CountTried();
      if (m_distances.Depth() <= rule.Worth()) return holes;
      m_balls = m_distances.PlacementWithin(m_distances.Depth(), m_distances.Depth(), 0).state;
      rule.Raise(Rate(m_balls));
      holes = m_distances.PlacementWithin(rule.Worth(), rule.Worth(), 0).state;
    }
  }

  ClimbedBoard m_board;
  SearchRun& m_run;
  PlacementDistances m_distances;
  StateIndex m_balls = 0;
  StateIndex m_candidate = 0;
};

/// The level on which the greedy player expands the most placements.
class GreatestEffort {
 public:
  GreatestEffort(int size, SeededRandom& random, SearchRun& run)
      : m_board(size, random), m_run(run) {}

  int Restart() {
    m_board.NewMaze();
    m_balls = RandomPlacement(m_board.m_size, m_board.m_random);
    m_distances.SearchFrom(m_board.m_level, m_balls);
    const auto pick =
        m_board.m_random.Below(static_cast<std::uint32_t>(m_distances.ReachedCount()));
    m_holes = m_distances.PlacementWithin(0, -1, pick).state;
    return Rate(m_balls, m_holes);
  }

  /// Changes a side, a ball or a hole and rates the level.
  int TryChange() {
    m_board.ForgetFlip();
    m_candidateBalls = m_balls;
    m_candidateHoles = m_holes;
    if (m_board.DrawSideChange()) {
      m_board.FlipRandomSide();
    } else if (const std::uint32_t piece = m_board.m_random.Below(6); piece < 3) {
      m_candidateBalls = m_board.WithOneMoved(m_balls, piece);
    } else {
      m_candidateHoles = m_board.WithOneMoved(m_holes, piece - 3);
    }
    return Rate(m_candidateBalls, m_candidateHoles);
  }

  void Keep() {
    m_balls = m_candidateBalls;
    m_holes = m_candidateHoles;
  }
  void Undo() { m_board.UndoFlip(); }

  FoundLevel Describe(const LateAcceptance&) {
    Level& level = m_board.m_level;
    DecodeState(level, m_balls, level.balls);
    DecodeState(level, m_holes, level.holes);
    const auto moves = static_cast<int>(ShortestSolution(level).moves.size());
    return DescribeLevel(level, m_balls, m_holes, moves);
  }

 private:
  int Rate(StateIndex balls, StateIndex holes) {
    const int effort = m_analyzer.GreedyEffort(m_board.m_level, balls, holes);
    m_run.CountTried();
    return std::max(effort, 0);
  }

  ClimbedBoard m_board;
  SearchRun& m_run;
  PlacementDistances m_distances;
  LevelAnalyzer m_analyzer;
  StateIndex m_balls = 0;
  StateIndex m_holes = 0;
  StateIndex m_candidateBalls = 0;
  StateIndex m_candidateHoles = 0;
};

template <typename Goal>
class HardestClimb {
 public:
  HardestClimb(const HardestRequest& request, SearchRun& run)
      : m_request(request),
        m_run(run),
        m_random(request.seed),
        m_goal(request.size, m_random, run) {}

  HardestResult Run() {
    HardestResult result;
    while ((result.end = m_run.StopReason()) == SearchEnd::Done && !OutOfEvaluations()) {
      if (m_rule.Stalled()) {
        m_rule.Start(m_goal.Restart());
        KeepIfBest();
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

  void Step() {
    const int worth = m_goal.TryChange();
    if (m_rule.Judge(worth, m_run.Tried())) {
      m_goal.Keep();
      KeepIfBest();
    } else {
      m_goal.Undo();
    }
  }

  /// Called right after the current level was rated.
  void KeepIfBest() {
    if (m_rule.Worth() <= m_bestWorth) return;
    m_best = m_goal.Describe(m_rule);
    m_bestWorth = m_rule.Worth();
    m_run.Report(m_best);
  }

  const HardestRequest& m_request;
  SearchRun& m_run;
  SeededRandom m_random;
  Goal m_goal;
  LateAcceptance m_rule;
  int m_bestWorth = -1;
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
  HardestResult result = request.goal == HardestGoal::Effort
                             ? HardestClimb<GreatestEffort>(request, run).Run()
                             : HardestClimb<LongestSolution>(request, run).Run();
  run.Finish();
  return result;
}

#include "logic/hardest_search.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
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
//
// Several climbs may run at once, each on a thread of its own, from a seed
// of its own and with its own share of the evaluations; they share only the
// best level, which the caller hears of when it beats every level before.

std::optional<std::string> HardestRequestProblem(const HardestRequest& request) {
  if (!IsBoardSize(request.size)) return "the board size must be 3, 5 or 7";
  if (request.timeLimit.count() < 0) return "the time limit must not be negative";
  if (request.threads < 1 || request.threads > MaxHardestThreads) {
    return "the number of threads must be 1 to " + std::to_string(MaxHardestThreads);
  }
  if (request.timeLimit.count() == 0 && request.evaluationLimit == 0) {
    return "a time limit or an evaluation limit is needed";
  }
  return std::nullopt;
}

namespace {

constexpr std::size_t HistoryLength = 50;
// Candidates without a better level in this climb before it starts afresh.
// Long enough for a climb to cross the plateaus of a 7 x 7 board: over 30,000
// candidates of seeds 1 to 3 the best came to 141 moves on average when a
// climb gave up after 500, 168 after 1,500, 177 to 182 after 3,000 to 8,000
// (181 after 5,000), and 164 after 15,000, where a climb mostly never gave up.
constexpr std::uint64_t RestartAfter = 5000;

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

/// What the climbs of one search share: the caller's run, which takes one
/// climb at a time, and the best level handed to the caller.
class SharedRun {
 public:
  explicit SharedRun(SearchRun& run) : m_run(run) {}

  SearchEnd StopReason() const {
    if (m_abandoned.load(std::memory_order_relaxed)) return SearchEnd::Cancelled;
    return m_run.StopReason();
  }

  void CountTried() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_run.CountTried();
  }

  /// Hands the level to the caller when it is worth more than every level
  /// handed before, unless the search must stop: a caller that stops it from
  /// its callback hears of no level after that.
  void Offer(const FoundLevel& level, int worth) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (worth <= m_bestWorth || StopReason() == SearchEnd::Cancelled) return;
    m_bestWorth = worth;
    m_best = level;
    m_run.Report(level);
  }

  /// Stops every climb soon, as when cancelled: one of them has failed.
  void Abandon() { m_abandoned = true; }

  /// The last level handed to the caller; moves -1 before any.
  const FoundLevel& Best() const { return m_best; }
  std::uint64_t Tried() const { return m_run.Tried(); }

 private:
  SearchRun& m_run;
  std::mutex m_mutex;
  std::atomic<bool> m_abandoned{false};
  int m_bestWorth = -1;
  FoundLevel m_best{{}, {}, -1};
};

/// One climb's own count of the candidates it rated, which steps its
/// acceptance rule and ends it at its share of the evaluations, whatever the
/// other climbs do.
class ClimbRun {
 public:
  explicit ClimbRun(SharedRun& shared) : m_shared(shared) {}
  void CountTried() {
    ++m_tried;
    m_shared.CountTried();
  }
  std::uint64_t Tried() const { return m_tried; }

 private:
  SharedRun& m_shared;
  std::uint64_t m_tried = 0;
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
  LongestSolution(int size, SeededRandom& random, ClimbRun& run)
      : m_board(size, random), m_run(run) {}

  int Restart() {
    m_board.NewMaze();
    m_balls = RandomPlacement(m_board.m_size, m_board.m_random);
    const int worth = Rate(m_balls);
    m_balls = m_candidate;
    m_holes = m_candidateHoles;
    return worth;
  }

  /// Changes a side or a ball and rates the level.
  int TryChange() {
    m_board.ForgetFlip();
    StateIndex balls = m_balls;
    if (m_board.DrawSideChange()) {
      m_board.FlipRandomSide();
    } else {
      balls = m_board.WithOneMoved(m_balls, m_board.m_random.Below(3));
    }
    return Rate(balls);
  }

  void Keep() {
    m_balls = m_candidate;
    m_holes = m_candidateHoles;
  }
  void Undo() { m_board.UndoFlip(); }

  /// The current level, polished.
  FoundLevel Describe(LateAcceptance& rule) {
    Polish(rule);
    return DescribeLevel(m_board.m_level, m_balls, m_holes, rule.Worth());
  }

 private:
  /// Rates the balls on the current board: the moves to the farthest
  /// placement from them, where the holes would go.
  int Rate(StateIndex balls) {
    m_from.SearchFrom(m_board.m_level, balls);
    m_run.CountTried();
    const int depth = m_from.Depth();
    m_candidate = balls;
    m_candidateHoles = m_from.PlacementWithin(depth, depth, 0).state;
    return depth;
  }

  /// Moves balls and holes apart while that lengthens the level.
  void Polish(LateAcceptance& rule) {
    for (;;) {
      m_to.SearchTo(m_board.m_level, m_holes);
      m_run.CountTried();
      if (m_to.Depth() <= rule.Worth()) return;
      const StateIndex balls = m_to.PlacementWithin(m_to.Depth(), m_to.Depth(), 0).state;
      m_from.SearchFrom(m_board.m_level, balls);
      m_run.CountTried();
      m_balls = balls;
      m_holes = m_from.PlacementWithin(m_from.Depth(), m_from.Depth(), 0).state;
      rule.Raise(m_from.Depth());
    }
  }

  ClimbedBoard m_board;
  ClimbRun& m_run;
  PlacementDistances m_from;
  PlacementDistances m_to;
  StateIndex m_balls = 0;
  StateIndex m_holes = 0;
  StateIndex m_candidate = 0;
  StateIndex m_candidateHoles = 0;
};

/// The level on which the greedy player expands the most placements.
class GreatestEffort {
 public:
  GreatestEffort(int size, SeededRandom& random, ClimbRun& run)
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
  ClimbRun& m_run;
  PlacementDistances m_distances;
  LevelAnalyzer m_analyzer;
  StateIndex m_balls = 0;
  StateIndex m_holes = 0;
  StateIndex m_candidateBalls = 0;
  StateIndex m_candidateHoles = 0;
};

/// One climb from its own seed, with its own share of the evaluations (zero:
/// no limit).
template <typename Goal>
class HardestClimb {
 public:
  HardestClimb(const HardestRequest& request, std::uint64_t seed, std::uint64_t evaluations,
               SharedRun& shared)
      : m_evaluations(evaluations),
        m_shared(shared),
        m_run(shared),
        m_random(seed),
        m_goal(request.size, m_random, m_run) {}

  SearchEnd Run() {
    SearchEnd end = SearchEnd::Done;
    while ((end = m_shared.StopReason()) == SearchEnd::Done && !OutOfEvaluations()) {
      if (m_rule.Stalled()) {
        m_rule.Start(m_goal.Restart());
        KeepIfBest();
      } else {
        Step();
      }
    }
    return end;
  }

 private:
  bool OutOfEvaluations() const { return m_evaluations > 0 && m_run.Tried() >= m_evaluations; }

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
    const FoundLevel best = m_goal.Describe(m_rule);
    m_bestWorth = m_rule.Worth();
    m_shared.Offer(best, m_bestWorth);
  }

  std::uint64_t m_evaluations;
  SharedRun& m_shared;
  ClimbRun m_run;
  SeededRandom m_random;
  Goal m_goal;
  LateAcceptance m_rule;
  int m_bestWorth = -1;
};

/// The seed of each climb: the request's for the first, and for the others
/// draws of a source seeded with it, whose courses share nothing with the
/// first's.
std::vector<std::uint64_t> ClimbSeeds(std::uint64_t seed, int climbs) {
  std::vector<std::uint64_t> seeds{seed};
  SeededRandom draws(seed);
  while (static_cast<int>(seeds.size()) < climbs) seeds.push_back(draws.Next());
  return seeds;
}

/// The more pressing of two ends: a cancellation, then the time limit.
SearchEnd MorePressing(SearchEnd a, SearchEnd b) {
  const auto rank = [](SearchEnd end) {
    return end == SearchEnd::Cancelled ? 2 : end == SearchEnd::TimeUp ? 1 : 0;
  };
  return rank(b) > rank(a) ? b : a;
}

/// Runs the request's climbs, the first on this thread and each other on a
/// thread of its own; a climb whose thread cannot start runs here after the
/// first, with the same seed and share. A failure in any climb stops the
/// others and is rethrown here.
template <typename Goal>
SearchEnd RunClimbs(const HardestRequest& request, SharedRun& shared) {
  const int climbs = request.threads;
  const std::vector<std::uint64_t> seeds = ClimbSeeds(request.seed, climbs);
  std::vector<SearchEnd> ends(static_cast<std::size_t>(climbs), SearchEnd::Done);
  std::vector<std::exception_ptr> failures(static_cast<std::size_t>(climbs));
  const auto climb = [&](int index) {
    const auto i = static_cast<std::size_t>(index);
    // The evaluations shared out, the first climb taking what does not divide.
    const std::uint64_t share =
        request.evaluationLimit / static_cast<std::uint64_t>(climbs) +
        (index == 0 ? request.evaluationLimit % static_cast<std::uint64_t>(climbs) : 0);
    try {
      ends[i] = HardestClimb<Goal>(request, seeds[i], share, shared).Run();
    } catch (...) {
      failures[i] = std::current_exception();
      shared.Abandon();
    }
  };
  std::vector<std::thread> threads;
  std::vector<int> waiting;
  for (int index = 1; index < climbs; ++index) {
    try {
      threads.emplace_back(climb, index);
    } catch (...) {  // no thread to be had: std::system_error, or no memory for one
      waiting.push_back(index);
    }
  }
  climb(0);
  for (int index : waiting) climb(index);
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  SearchEnd end = SearchEnd::Done;
  for (SearchEnd climbEnd : ends) end = MorePressing(end, climbEnd);
  return end;
}

}  // namespace

HardestResult FindHardestLevel(const HardestRequest& request, const SearchControl& control) {
  HardestResult result;
  if (HardestRequestProblem(request)) {
    result.best.moves = -1;
    result.end = SearchEnd::OutOfReach;
    return result;
  }
  SearchRun run(control, request.timeLimit);
  SharedRun shared(run);
  result.end = request.goal == HardestGoal::Effort ? RunClimbs<GreatestEffort>(request, shared)
                                                   : RunClimbs<LongestSolution>(request, shared);
  result.best = shared.Best();
  result.tried = shared.Tried();
  run.Finish();
  return result;
}

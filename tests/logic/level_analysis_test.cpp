#include "logic/level_analysis.h"

#include <gtest/gtest.h>

#include <map>
#include <queue>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "logic/level_code.h"
#include "logic/moves.h"
#include "logic/solver.h"
#include "tests/support/test_levels.h"

// Failures show the analysis field by field.
void PrintTo(const LevelAnalysis& analysis, std::ostream* out) {
  *out << (analysis.solvable ? "solvable" : "unsolvable") << ", moves " << analysis.moves
       << ", solutions " << analysis.solutions << ", reachable " << analysis.reachable << ", walk ";
  for (Direction direction : analysis.solution) *out << DirectionLetter(direction);
  *out << ", counter-intuitive steps";
  for (int step : analysis.counterIntuitiveSteps) *out << ' ' << step;
  *out << ", greedy effort " << analysis.greedyEffort;
}

namespace {

// ---------------------------------------------------------------------------
// A plain reference: the move rule of logic/moves.h on Piece records, maps
// and sets, each measure computed the way its definition reads.

class Reference {
 public:
  explicit Reference(Level level) : m_level(std::move(level)) {
    m_start = EncodeState(m_level, m_level.balls);
    m_target = EncodeState(m_level, m_level.holes);
  }

  LevelAnalysis Analyze() {
    LevelAnalysis analysis;
    const std::set<StateIndex> reachable = Reachable();
    analysis.reachable = static_cast<int>(reachable.size());
    const std::map<StateIndex, int> toHoles = DistancesToHoles(reachable);
    if (toHoles.count(m_start) == 0) return analysis;
    analysis.solvable = true;
    analysis.moves = toHoles.at(m_start);
    analysis.solutions = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(SequencesEndingOnHoles(analysis.moves), ManySolutions));
    StateIndex current = m_start;
    for (int step = 0; current != m_target; ++step) {
      bool lowersH = false;
      std::optional<std::pair<Direction, StateIndex>> first;
      for (const auto& [direction, next] : Successors(current)) {
        const auto nearer = toHoles.find(next);
        if (nearer == toHoles.end() || nearer->second != toHoles.at(current) - 1) continue;
        if (!first) first = {direction, next};
        lowersH |= H(next) < H(current);
      }
      if (!lowersH) analysis.counterIntuitiveSteps.push_back(step);
      analysis.solution.push_back(first->first);
      current = first->second;
    }
    analysis.greedyEffort = GreedyEffort();
    return analysis;
  }

  /// Every sequence of n moves, no-ops included, that ends on the holes.
  std::uint64_t SequencesEndingOnHoles(int n) {
    std::map<StateIndex, std::uint64_t> ways = {{m_start, 1}};
    for (int length = 0; length < n; ++length) {
      std::map<StateIndex, std::uint64_t> next;
      for (const auto& [state, count] : ways) {
        for (Direction direction : AllDirections) next[Moved(state, direction)] += count;
      }
      ways = std::move(next);
    }
    return ways[m_target];
  }

 private:
  StateIndex Moved(StateIndex state, Direction direction) {
    Pieces balls;
    DecodeState(m_level, state, balls);
    Move(m_level, balls, direction);
    return EncodeState(m_level, balls);
  }

  std::vector<std::pair<Direction, StateIndex>> Successors(StateIndex state) {
    std::vector<std::pair<Direction, StateIndex>> successors;
    for (Direction direction : AllDirections) {
      const StateIndex next = Moved(state, direction);
      if (next != state) successors.emplace_back(direction, next);
    }
    return successors;
  }

  std::set<StateIndex> Reachable() {
    std::set<StateIndex> seen = {m_start};
    std::vector<StateIndex> todo = {m_start};
    while (!todo.empty()) {
      const StateIndex state = todo.back();
      todo.pop_back();
      for (const auto& successor : Successors(state)) {
        if (seen.insert(successor.second).second) todo.push_back(successor.second);
      }
    }
    return seen;
  }

  /// Breadth first from the holes along the moves taken backward.
  std::map<StateIndex, int> DistancesToHoles(const std::set<StateIndex>& reachable) {
    std::map<StateIndex, std::vector<StateIndex>> before;
    for (StateIndex state : reachable) {
      for (const auto& successor : Successors(state)) before[successor.second].push_back(state);
    }
    std::map<StateIndex, int> distance;
    if (reachable.count(m_target) == 0) return distance;
    distance[m_target] = 0;
    std::queue<StateIndex> todo;
    todo.push(m_target);
    for (; !todo.empty(); todo.pop()) {
      for (StateIndex earlier : before[todo.front()]) {
        if (distance.emplace(earlier, distance[todo.front()] + 1).second) todo.push(earlier);
      }
    }
    return distance;
  }

  int H(StateIndex state) {
    Pieces balls;
    DecodeState(m_level, state, balls);
    int sum = 0;
    for (const Colour colour : ColoursRedFirst) {
      const testsupport::Square ball = testsupport::SquareOf(balls, colour);
      const testsupport::Square hole = testsupport::SquareOf(m_level.holes, colour);
      sum += std::abs(ball.column - hole.column) + std::abs(ball.row - hole.row);
    }
    return sum;
  }

  int GreedyEffort() {
    using Entry = std::tuple<int, int, StateIndex>;  // h, discovery number, placement
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    std::set<StateIndex> discovered;
    const auto discover = [&](StateIndex state) {
      if (discovered.insert(state).second) {
        open.emplace(H(state), static_cast<int>(discovered.size()), state);
      }
    };
    discover(m_start);
    for (int expanded = 1; !open.empty(); ++expanded) {
      const StateIndex state = std::get<2>(open.top());
      open.pop();
      if (state == m_target) return expanded;
      for (const auto& successor : Successors(state)) discover(successor.second);
    }
    return -1;
  }

  Level m_level;
  StateIndex m_start = 0;
  StateIndex m_target = 0;
};

Level Read(const std::string& code) {
  Level level;
  EXPECT_TRUE(ParseLevelCode(level, code).accepted) << code;
  return level;
}

// ---------------------------------------------------------------------------
// Levels worked out by hand.
//
// The 3 x 3 boards below have a corridor per row (every east side open,
// every south side a wall): a ball keeps its row, N and S change nothing,
// and W and E move all three balls at once. A placement is the three
// columns, red green blue; the balls start on 0 1 2. Eight placements are
// reachable: 012 -W 001 -W 000 -E 111 -E 222, 012 -E 122 -E 222 -W 111
// -W 000, 001 -E 112 -E 222, 122 -W 011 -W 000 (and back).

struct HandCase {
  const char* name;
  const char* code;
  LevelAnalysis expected;
};

void PrintTo(const HandCase& c, std::ostream* out) { *out << c.name; }

const HandCase HandCases[] = {
    // Holes under the balls.
    {"Solved", "30011220011225145", {true, 0, 1, 8, {}, {}, 1}},
    // Holes on 222: E E, h 3, 1, 0. The greedy player expands 012 (finds
    // 001 with h 5, 122 with h 1), then 122 (finds 011, 222), then 222.
    {"Straight", "30011220212225145", {true, 2, 1, 8, {Direction::East, Direction::East}, {}, 3}},
    // Holes on 011: only E W, and its first step takes h from 1 to 3. The
    // greedy player expands 012 (h 1), 001 (h 1; finds 000 and 112, h 2),
    // 000 (finds 111, h 1), 111, 112, 122 (h 3; finds 011), 011.
    {"BackAndForth",
     "30011220011215145",
     {true, 2, 1, 8, {Direction::East, Direction::West}, {0}, 7}},
    // Holes on 111: W W E and E E W, both three moves. W and E both keep h
    // at 2 from the start; from 001 only W comes nearer, to h 3.
    {"TwoWays",
     "30011220111215145",
     {true, 3, 2, 8, {Direction::West, Direction::West, Direction::East}, {0, 1}, 7}},
    // Holes on 101, which no move reaches.
    {"Unsolvable", "30011220110215145", {false, -1, 0, 8, {}, {}, -1}},
};

class HandWorkedTest : public testing::TestWithParam<HandCase> {};

TEST_P(HandWorkedTest, GivesEveryMeasure) {
  const HandCase& c = GetParam();
  const Level level = Read(c.code);
  LevelAnalyzer analyzer;
  EXPECT_EQ(analyzer.Analyze(level), c.expected);
  EXPECT_EQ(Reference(level).Analyze(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Corridors, HandWorkedTest, testing::ValuesIn(HandCases),
                         [](const testing::TestParamInfo<HandCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// Against the reference

TEST(LevelAnalysisTest, AgreesWithThePlainReferenceOnRandomLevels) {
  // Mazes, loops and open rooms with balls blocking each other; the same
  // analyzer for all, so that no buffer of one level leaks into the next.
  std::mt19937 engine(41);
  LevelAnalyzer analyzer;
  for (const auto& [size, count] : {std::pair{3, 300}, std::pair{5, 8}}) {
    for (int i = 0; i < count; ++i) {
      const Level level = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      ASSERT_EQ(analyzer.Analyze(level), Reference(level).Analyze());
    }
  }
}

TEST(LevelAnalysisTest, TheWalkIsTheSolversShortestSolution) {
  std::mt19937 engine(5);
  LevelAnalyzer analyzer;
  for (const testlevels::Sample& sample : testlevels::Samples) {
    for (int i = 0; i < sample.levels; ++i) {
      Level level = testlevels::RandomLevel(sample.size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      const LevelAnalysis& analysis = analyzer.Analyze(level);
      const Solution solution = ShortestSolution(level);
      EXPECT_EQ(analysis.solvable, solution.exists);
      EXPECT_EQ(analysis.solution, solution.moves);
      if (solution.exists) {
        EXPECT_EQ(analysis.moves, static_cast<int>(solution.moves.size()));
      }
    }
  }
}

// ---------------------------------------------------------------------------
// The count of solutions

TEST(LevelAnalysisTest, CountsAboveTheLimitSaturate) {
  struct Row {
    const char* code;
    std::uint64_t exact;  // by the reference, in 64 bits
  };
  // Open 7 x 7 rooms where the three balls cross the board: the orders of
  // the moves multiply.
  const Row rows[] = {
      {"7101121545343fffbffefffbffefffbffe555", 1182971139},
      {"7112561352425fffbffefffbffefffbffe555", 998172385},
      {"7365133505161fffbffefffbffefffbffe555", 993577320},
  };
  LevelAnalyzer analyzer;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    const Level level = Read(row.code);
    const LevelAnalysis& analysis = analyzer.Analyze(level);
    EXPECT_EQ(Reference(level).SequencesEndingOnHoles(analysis.moves), row.exact);
    const std::uint32_t kept =
        row.exact > SolutionCountLimit ? ManySolutions : static_cast<std::uint32_t>(row.exact);
    EXPECT_EQ(analysis.solutions, kept);
  }
  EXPECT_EQ(SolutionCountText(SolutionCountLimit), "1000000000");
  EXPECT_EQ(SolutionCountText(ManySolutions), "1000000000+");
  EXPECT_EQ(SolutionCountText(0), "0");
}

TEST(LevelAnalysisTest, PathCountsRateEveryPlacementOfTheHoles) {
  // One sweep from the balls gives, for every placement of the holes, the
  // count of solutions the analysis finds for it.
  std::mt19937 engine(8);
  LevelAnalyzer analyzer;
  PlacementGraph fromBalls;
  std::vector<std::uint32_t> counts;
  for (int i = 0; i < 6; ++i) {
    Level level = testlevels::RandomLevel(3, engine);
    SCOPED_TRACE(WriteLevelCode(level));
    Pieces balls = level.balls;
    const StateIndex start = EncodeState(level, balls);
    fromBalls.Build(level, start);
    CountShortestPaths(fromBalls, counts);
    for (PlacementGraph::Node node = 0; node < fromBalls.Size(); ++node) {
      DecodeState(level, fromBalls.State(node), level.holes);
      ASSERT_EQ(counts[node], analyzer.Analyze(level).solutions) << "holes " << node;
    }
  }
}

// ---------------------------------------------------------------------------
// The greedy player alone, and the kept answer

TEST(LevelAnalysisTest, GreedyEffortGivesUpAtItsLimit) {
  const Level level = Read("30011220111215145");  // TwoWays above: effort 7
  Pieces balls = level.balls;
  Pieces holes = level.holes;
  const StateIndex start = EncodeState(level, balls);
  const StateIndex target = EncodeState(level, holes);
  LevelAnalyzer analyzer;
  EXPECT_EQ(analyzer.GreedyEffort(level, start, target), 7);
  EXPECT_EQ(analyzer.GreedyEffort(level, start, target, 7), 7);
  EXPECT_EQ(analyzer.GreedyEffort(level, start, target, 6), 7);
  EXPECT_EQ(analyzer.GreedyEffort(level, start, target, 2), 3);
  EXPECT_EQ(analyzer.GreedyEffort(level, start, target, 0), 1);
  EXPECT_EQ(analyzer.GreedyEffort(level, start, start, 0), 1);
  // 101 is out of reach: every reachable placement is expanded first.
  Level unsolvable = Read("30011220110215145");
  Pieces away = unsolvable.holes;
  EXPECT_EQ(analyzer.GreedyEffort(unsolvable, start, EncodeState(unsolvable, away)), -1);
}

TEST(LevelAnalysisTest, TheKeptAnswerFollowsEveryChange) {
  LevelAnalyzer analyzer;
  Level level = Read("30011220011215145");  // BackAndForth: counter-intuitive, effort 7
  const LevelAnalysis first = analyzer.Analyze(level);
  EXPECT_EQ(&analyzer.Analyze(level), &analyzer.Analyze(level));
  Level moved = level;
  moved.holes = Read("30011220212225145").holes;
  EXPECT_EQ(analyzer.Analyze(moved), Reference(moved).Analyze());
  Level walled = level;
  walled.cells[1] &= static_cast<Cell>(~OpenEast);  // red keeps to columns 0 and 1
  walled.cells[2] &= static_cast<Cell>(~OpenWest);
  EXPECT_EQ(analyzer.Analyze(walled), Reference(walled).Analyze());
  EXPECT_EQ(analyzer.Analyze(level), first);
  // The records' order is no part of the level.
  std::swap(level.balls[0], level.balls[2]);
  EXPECT_EQ(analyzer.Analyze(level), first);
}

}  // namespace

#include "logic/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "logic/maze.h"
#include "logic/symmetry.h"
#include "tests/support/literal_solver.h"
#include "tests/support/search_effort.h"
#include "tests/support/test_levels.h"

namespace {

using testlevels::ByColour;
using testlevels::MakePieces;
using testlevels::Trio;

/// The 3 x 3 open board with red (1, 1), green (2, 1), blue (1, 2) and the
/// holes red (0, 0), green (1, 0), blue (0, 1): solved by north then west.
Level TwoMoveLevel() {
  Level level;
  ClearMaze(level, 3);
  level.balls = MakePieces({{1, 1}, {2, 1}, {1, 2}});
  level.holes = MakePieces({{0, 0}, {1, 0}, {0, 1}});
  RecheckLevel(level);
  return level;
}

std::string Letters(const Solution& solution) {
  std::string letters;
  for (Direction direction : solution.moves) letters += DirectionLetter(direction);
  return letters;
}

TEST(RecheckLevelTest, TwoMoveLevelHasItsStatesAndASolution) {
  Level level = TwoMoveLevel();
  EXPECT_EQ(level.startState, 376);
  EXPECT_EQ(level.targetState, 12);
  EXPECT_EQ(level.solvable, 1);
  EXPECT_EQ(ColourOf(level.balls[0]), Colour::Red);
  EXPECT_EQ(ColourOf(level.holes[2]), Colour::Blue);
  const Solution solution = ShortestSolution(level);
  EXPECT_TRUE(solution.exists);
  EXPECT_EQ(Letters(solution), "NW") << "north is tried before west";
}

TEST(RecheckLevelTest, TwoMoveLevelHasExactlyTwoTwoMoveSolutions) {
  const Level level = TwoMoveLevel();
  std::vector<std::string> solutions;
  for (Direction first : AllDirections) {
    Pieces balls = level.balls;
    Move(level, balls, first);
    EXPECT_NE(ByColour(balls), ByColour(level.holes)) << "no one-move solution";
    for (Direction second : AllDirections) {
      Pieces after = balls;
      Move(level, after, second);
      if (ByColour(after) == ByColour(level.holes)) {
        solutions.push_back({DirectionLetter(first), DirectionLetter(second)});
      }
    }
  }
  EXPECT_EQ(solutions, (std::vector<std::string>{"NW", "WN"}));
}

TEST(StepTowardSolutionTest, FollowsTheFirstShortestSolutionThenStops) {
  Level level = TwoMoveLevel();
  StepTowardSolution(level);
  EXPECT_EQ(ByColour(level.balls), (Trio{{1, 0}, {2, 0}, {1, 1}}));
  EXPECT_EQ(ColourOf(level.balls[0]), Colour::Blue) << "a step leaves the balls blue, green, red";
  EXPECT_EQ(ColourOf(level.balls[2]), Colour::Red);
  EXPECT_EQ(level.startState, 1 * 81 + 2 * 9 + 4);

  StepTowardSolution(level);
  EXPECT_EQ(ByColour(level.balls), ByColour(level.holes));
  const Trio solved = ByColour(level.balls);
  StepTowardSolution(level);
  EXPECT_EQ(ByColour(level.balls), solved);

  RecheckLevel(level);
  EXPECT_EQ(ColourOf(level.balls[0]), Colour::Red);
  EXPECT_EQ(ColourOf(level.balls[2]), Colour::Blue);
}

TEST(RecheckLevelTest, BallsOnTheirHolesAreSolvedWithoutASearch) {
  Level level;
  ClearMaze(level, 5);
  level.holes = level.balls;
  level.solvable = 0;
  RecheckLevel(level);
  EXPECT_EQ(level.solvable, 1);
  const Trio before = ByColour(level.balls);
  StepTowardSolution(level);
  EXPECT_EQ(ByColour(level.balls), before);
  const Solution solution = ShortestSolution(level);
  EXPECT_TRUE(solution.exists);
  EXPECT_TRUE(solution.moves.empty());
}

TEST(RecheckLevelTest, OpenBoardWithDefaultPlacementHasNoSolution) {
  for (int size : testlevels::BoardSizes) {
    SCOPED_TRACE(size);
    Level level;
    ClearMaze(level, size);
    EXPECT_EQ(level.solvable, 0);
    const Trio before = ByColour(level.balls);
    StepTowardSolution(level);
    EXPECT_EQ(ByColour(level.balls), before);
    EXPECT_FALSE(ShortestSolution(level).exists);
  }
}

TEST(SolveLevelTest, AnUnallocatedTableIsAllocatedNotOverrun) {
  const Level level = TwoMoveLevel();
  PredecessorTable table;
  EXPECT_TRUE(SolveLevel(level, 376, 12, table));
  EXPECT_EQ(table.size(), 729u);
}

struct VerdictRow {
  const char* code;
  bool solvable;
};

// Known answers, on small levels and on 7 x 7 levels where the search from
// the holes could flood the board.
constexpr VerdictRow KnownVerdicts[] = {
    {"3111221000110fbe5", true},
    {"3001122221100fbe5", false},
    {"3001122001122fbe5", true},
    {"7110501464036dcaba76befa8aa12fb52e550", true},
    {"76342030002556aa97fe5aa95fe55a9572555", false},
};

TEST(SolutionExistsTest, AnswersAndEncodesButLeavesTheFlagAlone) {
  for (const VerdictRow& row : KnownVerdicts) {
    SCOPED_TRACE(row.code);
    Level level = testlevels::FromCode(row.code);
    Pieces balls = level.balls;
    Pieces holes = level.holes;
    const StateIndex start = EncodeState(level, balls);
    const StateIndex target = EncodeState(level, holes);
    std::swap(level.balls[0], level.balls[2]);  // records in an unusual order
    std::swap(level.holes[0], level.holes[1]);
    level.startState = -1;
    level.targetState = -1;
    level.solvable = 2;  // neither answer

    EXPECT_EQ(SolutionExists(level), row.solvable);
    EXPECT_EQ(level.solvable, 2);
    EXPECT_EQ(level.startState, start);
    EXPECT_EQ(level.targetState, target);
    EXPECT_EQ(ColourOf(level.balls[0]), Colour::Red);
    EXPECT_EQ(ColourOf(level.holes[2]), Colour::Blue);

    EXPECT_EQ(MeasureSolutionSearch(level).found, row.solvable);
    RecheckLevel(level);
    EXPECT_EQ(level.solvable, row.solvable ? 1 : 0);
  }
}

TEST(SolutionExistsTest, BallsOnTheirHolesNeedNoWork) {
  Level level;
  ClearMaze(level, 7);
  level.holes = level.balls;
  const SearchEffort effort = MeasureSolutionSearch(level);
  EXPECT_TRUE(effort.found);
  EXPECT_EQ(effort.forwardStates + effort.backwardStates + effort.backwardPlacements, 0);
}

TEST(ShortestSolutionTest, LeadsToTheHolesAndStartsWithTheStepsMove) {
  std::mt19937 engine(7);
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < levels; ++i) {
      Level level = testlevels::RandomLevel(size, engine);
      const Solution solution = ShortestSolution(level);
      ASSERT_EQ(solution.exists, level.solvable == 1);
      if (!solution.exists || solution.moves.empty()) continue;
      SCOPED_TRACE(WriteLevelCode(level));
      Pieces replay = level.balls;
      for (Direction direction : solution.moves) Move(level, replay, direction);
      EXPECT_EQ(ByColour(replay), ByColour(level.holes));

      Pieces firstMove = level.balls;
      Move(level, firstMove, solution.moves.front());
      StepTowardSolution(level);
      EXPECT_EQ(ByColour(level.balls), ByColour(firstMove));
      // One move closer: a shortest solution from there is one move shorter.
      EXPECT_EQ(ShortestSolution(level).moves.size(), solution.moves.size() - 1);
    }
  }
}

// SolveLevel must leave exactly the table of the plain step-by-step search;
// RecheckLevel, ShortestSolution and the solution step, which search from both
// ends, must give the same answer and the same solution as that table.
struct ComparisonCase {
  int size;
  int levels;
};

class FastSearchTest : public testing::TestWithParam<ComparisonCase> {};

/// The solution the plain search's table holds, walked back from the target;
/// each move the first, in the search's order, that joins two of its states.
Solution LiteralSolution(Level level) {
  const StateIndex start = EncodeState(level, level.balls);
  const StateIndex target = EncodeState(level, level.holes);
  if (start == target) return {true, {}};
  PredecessorTable predecessors;
  if (!SolveLevelLiteral(level, start, target, predecessors)) return {};
  std::vector<StateIndex> path = {target};
  while (path.back() != start) path.push_back(predecessors[path.back()]);
  std::reverse(path.begin(), path.end());
  Solution solution{true, {}};
  for (std::size_t i = 1; i < path.size(); ++i) {
    for (Direction direction : AllDirections) {
      Pieces scratch{};
      DecodeState(level, path[i - 1], scratch);
      Move(level, scratch, direction);
      if (EncodeState(level, scratch) == path[i]) {
        solution.moves.push_back(direction);
        break;
      }
    }
  }
  return solution;
}

/// ShortestSolution and the solution step against the plain search's table.
void ExpectSameSolution(const Level& level) {
  const Solution expected = LiteralSolution(level);
  Level copy = level;
  const Solution actual = ShortestSolution(copy);
  ASSERT_EQ(actual.exists, expected.exists);
  EXPECT_EQ(Letters(actual), Letters(expected));

  Level stepped = level;
  StepTowardSolution(stepped);
  Pieces balls = level.balls;
  if (!expected.moves.empty()) Move(level, balls, expected.moves.front());
  EXPECT_EQ(ByColour(stepped.balls), ByColour(balls));
  if (!expected.moves.empty()) {
    EXPECT_EQ(ColourOf(stepped.balls[0]), Colour::Blue);
    EXPECT_EQ(stepped.startState, EncodeState(level, balls));
  }
}

/// Runs both searches on copies of the level; returns the plain one's answer.
bool ExpectSameSearch(const Level& level) {
  PredecessorTable fast;
  PredecessorTable literal;
  const bool found = SolveLevel(level, level.startState, level.targetState, fast);
  const bool plain = SolveLevelLiteral(level, level.startState, level.targetState, literal);
  EXPECT_EQ(found, plain);
  EXPECT_TRUE(fast == literal);
  return plain;
}

TEST_P(FastSearchTest, LeavesTheSameTableAsThePlainSearch) {
  std::mt19937 engine(static_cast<unsigned>(GetParam().size) * 1000u + 17u);
  for (int i = 0; i < GetParam().levels; ++i) {
    Level level = testlevels::RandomLevel(GetParam().size, engine);
    SCOPED_TRACE(WriteLevelCode(level));
    // RecheckLevel answers with a search from both ends.
    EXPECT_EQ(level.solvable, ExpectSameSearch(level) ? 1 : 0);
    ExpectSameSolution(level);
    // Also from the start to a state the search must exhaust the board for.
    Level exhaustive = level;
    exhaustive.targetState = 0;
    ExpectSameSearch(exhaustive);
  }
}

INSTANTIATE_TEST_SUITE_P(Boards, FastSearchTest,
                         testing::Values(ComparisonCase{3, 800}, ComparisonCase{5, 120},
                                         ComparisonCase{7, 16}));

// Levels on which the searches are at their slowest, or slowest against a
// search from the balls alone, found with bench/find_hard_levels: the
// comparison with the plain search covers the answer and the solution on each.
constexpr const char* HardLevels[] = {
    "76342030002556aa97fe5aa95fe55a9572555",  // the plain search's slowest
    "7110501464036dcaba76befa8aa12fb52e550",  // the backward side could flood the board
    "72426200206515432fd6cd001f4f77a8ea540",  // the backward side ends just beyond its share
    "7554164544310bea2876073b51e5773f9e511",  // backward work at its share throughout
    "7504231665016adc3462e76ad32bfe39bc101",  // slowest against the plain search, in time
    "75446450002522e58b8cf50126e20fb3fe451",  // balls crowded in a small room
    "70421405061626dd346cd171b2cd3b073a511",  // a backward layer overspends early
    "7254643615135ed5899c91a932ced3999a551",  // solvable, slowest against the plain search
    "7135333311530fe3bf9cfd9954636d9b96115",  // solvable, small
    "7226651163654f71affaff83ff2bffb7f2555",  // the most work found
    "76426621456257aca29ee5a8dc8e9d0f12455",  // a waiting backward layer meets when it goes on
    "711453245133472b197a769366a34ca99a515",  // the same, on a smaller level
    "71400066164107faabfebfeafee3ff9dec555",  // floods the target side; once 1.6 times the plain
    "7140604203634c7ca17ede8237afea96f2514",  // unsolvable, backward work at its whole share
    "7224263542246aef0fee7d712c2f7c189e415",  // the most backward work found
    "7002602604331afb14ca8dcbb12df208e4545",  // slowest in time against the plain, small
    "7621265626014dee9e0e4bc9dfc6d79792454",  // slowest in time against the plain, large
    "76224210204323b9399a0ac8e8eec2a48a555",  // solvable, slowest in time against the plain
    "733420366465576c9d46f57159ac9da9ac545",  // slowest in time with the early eighth, small
    "7106120551434dfb263ef6e3b7ed2a0e6e044",  // the same, smaller
    "73406520120214fba9bef740cfc7f1b75a415",  // slowest in time with the early eighth, large
    "70134616110559fb223ef6e3b7ed2a0e6e044",  // slowest in time by the wall clock, small
    "70660342114524fba9bef742cfc5f1a75e415",  // the same, smaller
    "73366153510155ab13bafba1e9eec8a3be501",  // slowest in time with growing backward turns, large
    "7045354153440ee68f827eebcace2f85da455",  // solvable, slowest in time by the wall clock
};

TEST(FastSearchTest, HardLevelsAndTheExamples) {
  std::vector<const char*> codes(std::begin(HardLevels), std::end(HardLevels));
  for (const char* example :
       {"3111221000110fbe5", "5002244442200ffbfeffbfe55", "3001122221100bba0"}) {
    codes.push_back(example);
  }
  for (const char* code : codes) {
    SCOPED_TRACE(code);
    Level level = testlevels::FromCode(code);
    EXPECT_EQ(level.solvable, ExpectSameSearch(level) ? 1 : 0);
    ExpectSameSolution(level);
  }
}

/// The states the plain search from the balls expands: layer after layer,
/// each state's four moves, until a move reaches the holes.
std::int64_t PlainSearchStates(Level level) {
  const StateIndex start = EncodeState(level, level.balls);
  const StateIndex target = EncodeState(level, level.holes);
  if (start == target) return 0;
  std::vector<bool> seen(static_cast<std::size_t>(StateCount(level)));
  std::vector<StateIndex> queue = {start};
  seen[static_cast<std::size_t>(start)] = true;
  for (std::size_t head = 0; head < queue.size(); ++head) {
    for (Direction direction : AllDirections) {
      Pieces balls{};
      DecodeState(level, queue[head], balls);
      Move(level, balls, direction);
      const StateIndex next = EncodeState(level, balls);
      if (next == target) return static_cast<std::int64_t>(head + 1);
      if (!seen[static_cast<std::size_t>(next)]) {
        seen[static_cast<std::size_t>(next)] = true;
        queue.push_back(next);
      }
    }
  }
  return static_cast<std::int64_t>(queue.size());
}

// The search from both ends never expands a forward state the plain search
// does not, and holds its backward side to the lesser of an eighth of the
// plain search's work and a twelfth of it plus 250 forward states.
TEST(SolutionExistsTest, WorksAtMostAnEighthMoreThanThePlainSearch) {
  std::vector<Level> levels;
  for (const char* code : HardLevels) levels.push_back(testlevels::FromCode(code));
  std::mt19937 engine(2027);
  for (int i = 0; i < 12; ++i) levels.push_back(testlevels::RandomLevel(i % 3 ? 7 : 5, engine));
  for (Level& level : levels) {
    SCOPED_TRACE(WriteLevelCode(level));
    const auto plain = static_cast<double>(PlainSearchStates(level));
    const SearchEffort effort = MeasureSolutionSearch(level);
    EXPECT_LE(static_cast<double>(effort.forwardStates), plain);
    EXPECT_LE(effort.work, plain + std::min(plain / 8, plain / 12 + 250));
  }
}

// The backward side looks up the moves into a placement of balls apart ball
// by ball; the and of the three balls' entries must give the whole table's
// entry for every combination of open sides.
TEST(FastSearchTest, BackwardLookUpsPerBallAgreeWithTheTableForThreeBalls) {
  for (unsigned sides = 0; sides < 4096; ++sides) {
    SCOPED_TRACE(sides);
    const std::uint32_t perBall = solving::SourceSetsOfBall(0, sides & 15u) &
                                  solving::SourceSetsOfBall(1, (sides >> 4) & 15u) &
                                  solving::SourceSetsOfBall(2, sides >> 8);
    ASSERT_EQ(perBall, solving::SourceSetsApart[sides]);
  }
}

// Where the holes can be reached from few placements, the backward side
// runs out of them long before the plain search is done.
TEST(SolutionExistsTest, ABackwardSideThatRunsOutEndsTheSearchEarly) {
  Level level = testlevels::FromCode("76342030002556aa97fe5aa95fe55a9572555");
  const SearchEffort effort = MeasureSolutionSearch(level);
  EXPECT_FALSE(effort.found);
  EXPECT_EQ(PlainSearchStates(level), 109908);
  EXPECT_LT(effort.work, 1000);  // a hundredth of the plain search
}

// The searches keep their buffers from one search to the next: a search on a
// board of one size must leave nothing behind that misleads the next one on a
// board of another size.
TEST(FastSearchTest, BoardsOfEverySizeInTurnGiveTheSameAnswers) {
  std::mt19937 engine(99);
  for (int round = 0; round < 4; ++round) {
    for (int size : {7, 3, 5}) {
      Level level = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(level));
      PredecessorTable table;
      EXPECT_EQ(level.solvable,
                SolveLevelLiteral(level, level.startState, level.targetState, table) ? 1 : 0);
      ExpectSameSolution(level);
    }
  }
}

// The searches keep the last answer of their thread. Every change that can
// alter the answer must lead to a new search, also when the level asked about
// just before was the unchanged one.
struct LevelChange {
  const char* name;
  void (*apply)(Level&);
};

class ChangedLevelTest : public testing::TestWithParam<LevelChange> {};

TEST_P(ChangedLevelTest, GetsItsOwnAnswer) {
  std::mt19937 engine(31);
  for (int i = 0; i < 40; ++i) {
    const Level original = testlevels::RandomLevel(i % 2 ? 5 : 3, engine);
    Level changed = original;
    GetParam().apply(changed);
    ASSERT_FALSE(PlacementIsInvalid(changed));
    SCOPED_TRACE(WriteLevelCode(original) + " then " + WriteLevelCode(changed));
    Level literal = changed;
    PredecessorTable table;
    const bool expected = SolveLevelLiteral(literal, EncodeState(literal, literal.balls),
                                            EncodeState(literal, literal.holes), table);
    Level asked = original;
    SolutionExists(asked);  // the answer kept is the original's
    EXPECT_EQ(SolutionExists(changed), expected);
    SolutionExists(asked);
    ExpectSameSolution(changed);
  }
}

/// Moves the piece at index to the first free square after its own.
void MoveToNextFreeSquare(Pieces& pieces, std::size_t index, int boardSize) {
  const auto taken = [&](int square) {
    return std::any_of(pieces.begin(), pieces.end(), [&](const Piece& piece) {
      return piece.row * boardSize + piece.column == square;
    });
  };
  Piece& piece = pieces[index];
  int square = piece.row * boardSize + piece.column;
  do {
    square = (square + 1) % (boardSize * boardSize);
  } while (taken(square));
  piece.column = static_cast<std::int8_t>(square % boardSize);
  piece.row = static_cast<std::int8_t>(square / boardSize);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedLevelTest,
    testing::Values(
        LevelChange{"WallFlipped", [](Level& l) { ToggleWall(l, 0, 0, WallKind::South); }},
        LevelChange{
            "InnerWallFlipped",
            [](Level& l) { ToggleWall(l, l.boardSize / 2 - 1, l.boardSize / 2, WallKind::East); }},
        LevelChange{"BallMoved", [](Level& l) { MoveToNextFreeSquare(l.balls, 1, l.boardSize); }},
        LevelChange{"HoleMoved", [](Level& l) { MoveToNextFreeSquare(l.holes, 2, l.boardSize); }},
        LevelChange{"BallsSwapped",
                    [](Level& l) { std::swap(l.balls[0].colour, l.balls[2].colour); }},
        LevelChange{"Mirrored", [](Level& l) { XFlip(l); }}),
    [](const testing::TestParamInfo<LevelChange>& info) { return info.param.name; });

/// The answer, the solution and the placement after a step, as one text.
std::string Answers(const Level& level) {
  Level copy = level;
  std::string text = SolutionExists(copy) ? "solvable " : "unsolvable ";
  text += Letters(ShortestSolution(copy));
  StepTowardSolution(copy);
  text += ' ';
  text += std::to_string(EncodeState(copy, copy.balls));
  return text;
}

// Two threads searching at the same time must not share what they write.
TEST(FastSearchTest, SearchesOnTwoThreadsAtOnceGiveTheSameAnswers) {
  std::mt19937 engine(5);
  std::vector<Level> levels;
  for (const char* code : HardLevels) levels.push_back(testlevels::FromCode(code));
  for (int i = 0; i < 24; ++i) levels.push_back(testlevels::RandomLevel(i % 2 ? 7 : 5, engine));
  std::vector<std::string> expected;
  for (const Level& level : levels) expected.push_back(Answers(level));

  // Each thread goes through the levels from its own end, several times, so
  // that searches on large and small boards and on easy and hard levels
  // overlap. What differs from the answers of one thread alone is kept.
  const auto answerAll = [&](bool fromTheEnd, std::vector<std::string>& differences) {
    for (int round = 0; round < 3; ++round) {
      for (std::size_t k = 0; k < levels.size(); ++k) {
        const std::size_t i = fromTheEnd ? levels.size() - 1 - k : k;
        const std::string answer = Answers(levels[i]);
        if (answer != expected[i]) differences.push_back(WriteLevelCode(levels[i]));
      }
    }
  };
  std::vector<std::string> first;
  std::vector<std::string> second;
  std::thread thread(answerAll, false, std::ref(first));
  answerAll(true, second);
  thread.join();
  EXPECT_TRUE(first.empty()) << first.front();
  EXPECT_TRUE(second.empty()) << second.front();
}

}  // namespace

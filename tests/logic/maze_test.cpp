#include "logic/maze.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include "logic/level_code.h"
#include "tests/support/test_levels.h"

namespace {

using testlevels::ByColour;
using testlevels::Trio;

std::vector<Cell> Cells(std::initializer_list<int> values) {
  return std::vector<Cell>(values.begin(), values.end());
}

TEST(ClearMazeTest, OpensEveryInnerSideAndGivesTheDefaultCodes) {
  struct Row {
    int size;
    const char* code;
  };
  for (const Row& row : {Row{3, "3001122221100fbe5"}, Row{5, "5002244442200ffbfeffbfe55"},
                         Row{7, "7003366663300fffbffefffbffefffbffe555"}}) {
    Level level;
    ClearMaze(level, row.size);
    EXPECT_EQ(WriteLevelCode(level), row.code);
    EXPECT_TRUE(LevelIsConsistent(level));
  }
  Level level;
  ClearMaze(level, 3);
  EXPECT_EQ(level.cells, Cells({3, 7, 6, 11, 15, 14, 9, 13, 12}));
}

struct FixedDrawCase {
  int draw;
  std::vector<Cell> cells;
};

class FixedDrawTest : public testing::TestWithParam<FixedDrawCase> {};

TEST_P(FixedDrawTest, BuildsTheKnownMaze) {
  Level level;
  const int draw = GetParam().draw;
  RandomMaze(level, 3, [draw]() { return draw; });
  EXPECT_EQ(level.cells, GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(Board3, FixedDrawTest,
                         testing::Values(FixedDrawCase{0, Cells({2, 3, 6, 11, 14, 10, 8, 8, 8})},
                                         FixedDrawCase{32767,
                                                       Cells({2, 2, 2, 9, 15, 12, 1, 13, 4})}));

TEST(RandomMazeTest, TakesOneDrawPerShuffleStep) {
  for (auto [size, draws] : {std::pair{3, 11}, std::pair{5, 39}, std::pair{7, 83}}) {
    int taken = 0;
    Level level;
    RandomMaze(level, size, [&taken]() { return taken++; });
    EXPECT_EQ(taken, draws) << size;
  }
}

TEST(RandomMazeTest, NegativeDrawsIncludingTheMostNegativeAreUsable) {
  for (int draw : {-1, -32767, INT_MIN}) {
    Level level;
    RandomMaze(level, 7, [draw]() { return draw; });
    EXPECT_TRUE(LevelIsConsistent(level)) << draw;
  }
  Level negative, positive;
  RandomMaze(negative, 5, []() { return -12345; });
  RandomMaze(positive, 5, []() { return 12345; });
  EXPECT_EQ(negative.cells, positive.cells) << "a draw counts by its absolute value";
}

int OpenInnerWalls(const Level& level) {
  int open = 0;
  for (Cell cell : level.cells) open += (cell & OpenEast ? 1 : 0) + (cell & OpenSouth ? 1 : 0);
  return open;
}

/// Squares reachable from square 0 through open sides.
int ReachableSquares(const Level& level) {
  const int n = level.boardSize;
  std::vector<bool> seen(level.cells.size());
  std::vector<int> pending = {0};
  seen[0] = true;
  int reached = 0;
  while (!pending.empty()) {
    const int square = pending.back();
    pending.pop_back();
    ++reached;
    const Cell cell = level.cells[square];
    for (auto [bit, next] : {std::pair{OpenEast, square + 1}, std::pair{OpenWest, square - 1},
                             std::pair{OpenSouth, square + n}, std::pair{OpenNorth, square - n}}) {
      if ((cell & bit) && !seen[next]) {
        seen[next] = true;
        pending.push_back(next);
      }
    }
  }
  return reached;
}

TEST(RandomMazeTest, EveryMazeIsASpanningTreeWithAClosedBorder) {
  std::mt19937 engine(2024);
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < 2 * levels; ++i) {
      Level level;
      RandomMaze(level, size, [&engine]() { return static_cast<int>(engine() & 0x7fff); });
      SCOPED_TRACE(WriteLevelCode(level));
      ASSERT_TRUE(LevelIsConsistent(level)) << "paired sides, closed border, valid placement";
      EXPECT_EQ(OpenInnerWalls(level), size * size - 1);
      EXPECT_EQ(ReachableSquares(level), size * size);
    }
  }
}

TEST(RandomMazeTest, SameSeedSameMaze) {
  Level first, second;
  RandomMaze(first, 7, [engine = std::mt19937(5)]() mutable { return int(engine() & 0x7fff); });
  RandomMaze(second, 7, [engine = std::mt19937(5)]() mutable { return int(engine() & 0x7fff); });
  EXPECT_EQ(first.cells, second.cells);
}

TEST(ClockSeededRandomSourceTest, DrawsAreNonNegativeAndCopiesShareTheSequence) {
  const RandomSource source = ClockSeededRandomSource();
  const RandomSource copy = source;
  std::vector<int> draws;
  for (int i = 0; i < 50; ++i) draws.push_back(i % 2 ? source() : copy());
  for (int draw : draws) {
    EXPECT_GE(draw, 0);
    EXPECT_LE(draw, 32767);
  }
  std::sort(draws.begin(), draws.end());
  EXPECT_NE(std::unique(draws.begin(), draws.end()) - draws.begin(), 1);
}

struct RebuildCase {
  const char* name;
  int firstSize;
  int secondSize;
  void (*prepare)(Level&);
  bool expectDefault;
};

class RebuildTest : public testing::TestWithParam<RebuildCase> {};

TEST_P(RebuildTest, KeepsAValidPlacementAndDefaultsAnInvalidOne) {
  const RebuildCase& c = GetParam();
  Level level;
  ClearMaze(level, c.firstSize);
  level.balls = testlevels::MakePieces({{4, 4}, {1, 2}, {0, 1}});
  level.holes = testlevels::MakePieces({{1, 0}, {2, 1}, {4, 3}});
  c.prepare(level);
  const Trio balls = ByColour(level.balls);
  RandomMaze(level, c.secondSize, []() { return 3; });
  Level fresh;
  fresh.boardSize = c.secondSize;
  SetDefaultPlacement(fresh);
  EXPECT_EQ(ByColour(level.balls), c.expectDefault ? ByColour(fresh.balls) : balls);
  EXPECT_TRUE(LevelIsConsistent(level));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, RebuildTest,
    testing::Values(RebuildCase{"SameSize", 5, 5, [](Level&) {}, false},
                    RebuildCase{"Larger", 5, 7, [](Level&) {}, false},
                    RebuildCase{"PieceOffTheSmallerBoard", 5, 3, [](Level&) {}, true},
                    RebuildCase{"ForcedByMinusOne", 5, 5, [](Level& l) { l.balls[0].column = -1; },
                                true}),
    [](const testing::TestParamInfo<RebuildCase>& info) { return info.param.name; });

TEST(RandomMazeTest, UnsupportedSizesChangeNothing) {
  for (int size : {0, 4, 9, -3}) {
    Level level;
    RandomMaze(level, 5, []() { return 0; });
    const Level before = level;
    int draws = 0;
    RandomMaze(level, size, [&draws]() { return draws++; });
    ClearMaze(level, size);
    testlevels::ExpectSameLevel(before, level);
    EXPECT_EQ(draws, 0);
    EXPECT_TRUE(LevelIsConsistent(level)) << size;
  }
}

TEST(RandomMazeTest, FirstBuildOfAFreshLevelUsesTheDefaultPlacement) {
  Level level;
  RandomMaze(level, 5, []() { return 0; });
  EXPECT_EQ(ByColour(level.balls), (Trio{{0, 0}, {2, 2}, {4, 4}}));
}

struct ToggleCase {
  const char* name;
  int column;
  int row;
  WallKind kind;
  int firstSquare;  // -1 when no cell may change
  Cell firstBit;
  int secondSquare;
  Cell secondBit;
};

class ToggleWallTest : public testing::TestWithParam<ToggleCase> {};

TEST_P(ToggleWallTest, FlipsBothCopiesOfInnerSidesOnly) {
  const ToggleCase& c = GetParam();
  Level level;
  RandomMaze(level, 3, []() { return 0; });
  std::vector<Cell> expected = level.cells;
  if (c.firstSquare >= 0) {
    expected[c.firstSquare] ^= c.firstBit;
    expected[c.secondSquare] ^= c.secondBit;
  }
  ToggleWall(level, c.column, c.row, c.kind);
  EXPECT_EQ(level.cells, expected);
  EXPECT_TRUE(LevelIsConsistent(level));
}

INSTANTIATE_TEST_SUITE_P(
    Board3, ToggleWallTest,
    testing::Values(ToggleCase{"East", 1, 2, WallKind::East, 7, OpenEast, 8, OpenWest},
                    ToggleCase{"South", 0, 1, WallKind::South, 3, OpenSouth, 6, OpenNorth},
                    ToggleCase{"EastOfLastColumn", 2, 0, WallKind::East, -1, 0, 0, 0},
                    ToggleCase{"SouthOfLastRow", 1, 2, WallKind::South, -1, 0, 0, 0},
                    ToggleCase{"OffTheBoard", -1, 5, WallKind::East, -1, 0, 0, 0},
                    ToggleCase{"NoWallKind", 0, 0, WallKind::None, -1, 0, 0, 0}),
    [](const testing::TestParamInfo<ToggleCase>& info) { return info.param.name; });

TEST(ToggleWallTest, RechecksTheLevel) {
  // The open 3 x 3 two-move level loses its solution when the north and west
  // moves are blocked for the red ball's row.
  Level level = testlevels::FromCode("3111221000110fbe5");
  ASSERT_EQ(level.solvable, 1);
  for (int column = 0; column < 3; ++column) ToggleWall(level, column, 0, WallKind::South);
  EXPECT_EQ(level.solvable, 0);
  ToggleWall(level, 0, 0, WallKind::South);
  ToggleWall(level, 1, 0, WallKind::South);
  ToggleWall(level, 2, 0, WallKind::South);
  EXPECT_EQ(level.solvable, 1);
}

// The edits without a recheck make the same change as the plain ones and leave
// `solvable` alone, for a caller that answers it from a search of its own.
struct WithoutRecheckCase {
  const char* name;
  void (*plain)(Level&);
  void (*withoutRecheck)(Level&);
};

TEST(WithoutRecheckTest, SameChangeAsThePlainEditAndSolvableUntouched) {
  constexpr std::uint8_t NotRechecked = 7;
  const WithoutRecheckCase cases[] = {
      {"ToggleWall", [](Level& l) { ToggleWall(l, 0, 0, WallKind::South); },
       [](Level& l) { ToggleWallWithoutRecheck(l, 0, 0, WallKind::South); }},
      {"ClearMaze", [](Level& l) { ClearMaze(l, 5); },
       [](Level& l) { ClearMazeWithoutRecheck(l, 5); }},
      {"RandomMaze", [](Level& l) { RandomMaze(l, 7, [] { return 3; }); },
       [](Level& l) { RandomMazeWithoutRecheck(l, 7, [] { return 3; }); }},
  };
  for (const WithoutRecheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    Level plain = testlevels::FromCode("3111221000110fbe5");
    Level unchecked = plain;
    unchecked.solvable = NotRechecked;
    c.plain(plain);
    c.withoutRecheck(unchecked);
    EXPECT_EQ(WriteLevelCode(unchecked), WriteLevelCode(plain));
    EXPECT_EQ(unchecked.solvable, NotRechecked);
  }
}

}  // namespace

#include "logic/symmetry.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "logic/level_code.h"
#include "logic/maze.h"
#include "tests/support/test_levels.h"

namespace {

using testlevels::ExpectSameLevel;

/// The 3 x 3 maze of a source that always draws 0, default placement.
Level SmallMaze() {
  Level level;
  RandomMaze(level, 3, []() { return 0; });
  return level;
}

struct SymmetryCase {
  const char* name;
  void (*operation)(Level&);
  std::vector<Cell> cells;
  const char* code;
};

class SymmetryTest : public testing::TestWithParam<SymmetryCase> {};

TEST_P(SymmetryTest, MovesWallsAndPiecesTogether) {
  Level level = SmallMaze();
  ASSERT_EQ(WriteLevelCode(level), "3001122221100bba0");
  GetParam().operation(level);
  EXPECT_EQ(level.cells, GetParam().cells);
  EXPECT_EQ(WriteLevelCode(level), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Board3, SymmetryTest,
    testing::Values(
        SymmetryCase{"Rotate", RotateLevel, {1, 7, 4, 1, 13, 6, 1, 5, 12}, "30211202011027165"},
        SymmetryCase{"XFlip", XFlip, {2, 2, 2, 11, 14, 10, 8, 9, 12}, "3201102021120aba1"},
        SymmetryCase{"YFlip", YFlip, {3, 6, 2, 10, 11, 14, 8, 8, 8}, "3021120201102eae0"}),
    [](const testing::TestParamInfo<SymmetryCase>& info) { return info.param.name; });

TEST(SymmetryTest, MiddleColumnSquareOpenEastIsOpenWestAfterYFlip) {
  Level level;
  ClearMaze(level, 3);
  std::fill(level.cells.begin(), level.cells.end(), Cell{0});
  level.cells[4] = OpenEast;
  level.cells[5] = OpenWest;
  YFlip(level);
  EXPECT_EQ(level.cells[4], OpenWest);
  EXPECT_EQ(level.cells[3], OpenEast);
}

TEST(SymmetryTest, ClearedBoardKeepsItsCells) {
  for (auto operation : {XFlip, YFlip, RotateLevel}) {
    Level level;
    ClearMaze(level, 5);
    const std::vector<Cell> cells = level.cells;
    operation(level);
    EXPECT_EQ(level.cells, cells);
  }
}

TEST(SymmetryTest, LawsHoldOnRandomLevelsOfEverySize) {
  std::mt19937 engine(99);
  for (auto [size, levels] : testlevels::Samples) {
    for (int i = 0; i < levels; ++i) {
      const Level original = testlevels::RandomLevel(size, engine);
      SCOPED_TRACE(WriteLevelCode(original));
      using Operation = void (*)(Level&);
      for (auto [operation, times] :
           {std::pair<Operation, int>{XFlip, 2}, {YFlip, 2}, {RotateLevel, 4}}) {
        Level level = original;
        for (int t = 0; t < times; ++t) {
          operation(level);
          EXPECT_TRUE(LevelIsConsistent(level));
        }
        ExpectSameLevel(original, level);
      }
      Level turnedTwice = original;
      RotateLevel(turnedTwice);
      RotateLevel(turnedTwice);
      Level mirroredBoth = original;
      XFlip(mirroredBoth);
      YFlip(mirroredBoth);
      ExpectSameLevel(mirroredBoth, turnedTwice);

      for (auto operation : {XFlip, YFlip, RotateLevel}) {
        Level level = original;
        operation(level);
        EXPECT_EQ(level.solvable, original.solvable) << "not rechecked";
        RecheckLevel(level);
        EXPECT_EQ(level.solvable, original.solvable);
      }
    }
  }
}

}  // namespace

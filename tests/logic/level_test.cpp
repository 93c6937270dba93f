#include "logic/level.h"

#include <gtest/gtest.h>

#include <functional>

#include "logic/maze.h"
#include "tests/support/test_levels.h"

namespace {

using testlevels::ByColour;
using testlevels::Trio;

struct PlacementCase {
  const char* name;
  std::function<void(Level&)> change;  // applied to the 5 x 5 default placement
  bool invalid;
};

class PlacementTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, FollowsTheRules) {
  Level level;
  level.boardSize = 5;
  SetDefaultPlacement(level);
  GetParam().change(level);
  EXPECT_EQ(PlacementIsInvalid(level), GetParam().invalid);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlacementTest,
    testing::Values(
        // The default already has red and blue balls on each other's holes.
        PlacementCase{"DefaultWithBallsOnForeignHoles", [](Level&) {}, false},
        PlacementCase{"AllZeroAsAtStart",
                      [](Level& l) {
                        l.balls = {};
                        l.holes = {};
                      },
                      true},
        PlacementCase{"TwoBallsOnOneSquare",
                      [](Level& l) {
                        l.balls[1].column = 0;
                        l.balls[1].row = 0;
                      },
                      true},
        PlacementCase{"TwoHolesOnOneSquare",
                      [](Level& l) {
                        l.holes[2].column = 2;
                        l.holes[2].row = 2;
                      },
                      true},
        PlacementCase{"ColourThree", [](Level& l) { l.balls[0].colour = 3; }, true},
        PlacementCase{"ColourMinusOne", [](Level& l) { l.holes[1].colour = -1; }, true},
        PlacementCase{"TwoGreenBalls",
                      [](Level& l) { l.balls[0].colour = ColourNumber(Colour::Green); }, true},
        PlacementCase{"ColumnEqualToSize", [](Level& l) { l.balls[0].column = 5; }, true},
        PlacementCase{"ColumnMinusOne", [](Level& l) { l.balls[0].column = -1; }, true},
        PlacementCase{"RowEqualToSize", [](Level& l) { l.holes[0].row = 5; }, true},
        PlacementCase{"ColumnAndRowSizeMinusOne",
                      [](Level& l) {
                        l.balls[0].column = 4;
                        l.balls[0].row = 0;
                        l.holes[0].row = 4;
                        l.holes[0].column = 0;
                      },
                      false}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

TEST(DefaultPlacementTest, PutsRedAndBlueOnEachOthersHolesAndGreenInTheCentre) {
  Level level;
  level.boardSize = 5;
  level.balls[0].sortKey = 42;
  SetDefaultPlacement(level);
  EXPECT_EQ(ByColour(level.balls), (Trio{{0, 0}, {2, 2}, {4, 4}}));
  EXPECT_EQ(ByColour(level.holes), (Trio{{4, 4}, {2, 2}, {0, 0}}));
  EXPECT_EQ(ColourOf(level.balls[0]), Colour::Red);
  EXPECT_EQ(ColourOf(level.holes[0]), Colour::Blue);
  EXPECT_EQ(level.balls[0].sortKey, 42) << "sortKey is scratch and left alone";
}

TEST(StateCountTest, IsTheCubeOfTheSquareCount) {
  for (auto [size, count] : {std::pair{3, 729}, std::pair{5, 15625}, std::pair{7, 117649}}) {
    Level level;
    level.boardSize = size;
    EXPECT_EQ(StateCount(level), count) << size;
  }
}

TEST(FreeLevelBuffersTest, ReleasesBothBuffersAndMayBeCalledAgain) {
  Level level;
  ClearMaze(level, 5);
  FreeLevelBuffers(level);
  EXPECT_TRUE(level.cells.empty());
  EXPECT_EQ(level.cells.capacity(), 0u);
  FreeLevelBuffers(level);
  EXPECT_TRUE(level.cells.empty());
}

struct ConsistencyCase {
  const char* name;
  std::function<void(Level&)> breakIt;
};

class ConsistencyTest : public testing::TestWithParam<ConsistencyCase> {};

TEST_P(ConsistencyTest, NoticesEachBrokenInvariant) {
  Level level;
  ClearMaze(level, 3);
  ASSERT_TRUE(LevelIsConsistent(level));
  GetParam().breakIt(level);
  EXPECT_FALSE(LevelIsConsistent(level));
}

INSTANTIATE_TEST_SUITE_P(
    Invariants, ConsistencyTest,
    testing::Values(ConsistencyCase{"OpenNorthBorder", [](Level& l) { l.cells[1] |= OpenNorth; }},
                    ConsistencyCase{"OpenEastBorder", [](Level& l) { l.cells[5] |= OpenEast; }},
                    ConsistencyCase{"OpenSouthBorder", [](Level& l) { l.cells[7] |= OpenSouth; }},
                    ConsistencyCase{"OpenWestBorder", [](Level& l) { l.cells[3] |= OpenWest; }},
                    ConsistencyCase{"UnpairedEastSide", [](Level& l) { l.cells[4] &= ~OpenEast; }},
                    ConsistencyCase{"UnpairedNorthSide",
                                    [](Level& l) { l.cells[4] &= ~OpenNorth; }},
                    ConsistencyCase{"StrayBit", [](Level& l) { l.cells[4] |= 16; }},
                    ConsistencyCase{"ShortCells", [](Level& l) { l.cells.pop_back(); }},
                    ConsistencyCase{"UnsupportedSize", [](Level& l) { l.boardSize = 4; }},
                    ConsistencyCase{"InvalidPlacement", [](Level& l) { l.balls[0].colour = 3; }}),
    [](const testing::TestParamInfo<ConsistencyCase>& info) { return info.param.name; });

}  // namespace

#include "logic/moves.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "logic/maze.h"
#include "tests/support/test_levels.h"

namespace {

using testlevels::ByColour;
using testlevels::MakePieces;
using testlevels::Trio;

/// A 3 x 3 board with every inner side open, optionally with the side between
/// (0, 0) and (0, 1) closed.
Level OpenBoard(bool closeLeftTopSide) {
  Level level;
  ClearMaze(level, 3);
  if (closeLeftTopSide) {
    level.cells[0] &= ~OpenSouth;
    level.cells[3] &= ~OpenNorth;
  }
  return level;
}

struct MoveCase {
  const char* name;
  bool closeLeftTopSide;
  Trio before;
  Direction direction;
  Trio after;
};

class MoveTest : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveTest, ShiftsEveryBallThatIsFree) {
  const MoveCase& c = GetParam();
  const Level level = OpenBoard(c.closeLeftTopSide);
  Pieces balls = MakePieces(c.before);
  Move(level, balls, c.direction);
  EXPECT_EQ(ByColour(balls), c.after);
}

constexpr Trio LeftColumn = {{0, 0}, {0, 1}, {0, 2}};
constexpr Trio Corridor = {{0, 1}, {0, 2}, {2, 2}};

INSTANTIATE_TEST_SUITE_P(
    Board3, MoveTest,
    testing::Values(
        // Red at the border holds green, green holds blue.
        MoveCase{"ColumnAtNorthBorder", false, LeftColumn, Direction::North, LeftColumn},
        MoveCase{"ColumnAtSouthBorder", false, LeftColumn, Direction::South, LeftColumn},
        MoveCase{"ColumnAtWestBorder", false, LeftColumn, Direction::West, LeftColumn},
        MoveCase{"ColumnMovesEast", false, LeftColumn, Direction::East, {{1, 0}, {1, 1}, {1, 2}}},
        // Green follows red into the square red leaves.
        MoveCase{
            "FollowsIntoFreedSquare", false, Corridor, Direction::North, {{0, 0}, {0, 1}, {2, 1}}},
        MoveCase{
            "StoppedRowStaysWhole", true, Corridor, Direction::North, {{0, 1}, {0, 2}, {2, 1}}},
        MoveCase{"BallBehindWallStays",
                 true,
                 {{0, 0}, {1, 1}, {2, 2}},
                 Direction::South,
                 {{0, 0}, {1, 2}, {2, 2}}}),
    [](const testing::TestParamInfo<MoveCase>& info) { return info.param.name; });

TEST(MoveTest, RecordsLeaveFrontFirstAndKeepTheirOrderWhenLevel) {
  const Level level = OpenBoard(false);
  // Green and red share row 1; the stable sort keeps green before red.
  Pieces balls = MakePieces({{0, 1}, {2, 1}, {1, 2}});
  std::swap(balls[0], balls[1]);
  MoveNorth(level, balls);
  EXPECT_EQ(ColourOf(balls[0]), Colour::Green);
  EXPECT_EQ(ColourOf(balls[1]), Colour::Red);
  EXPECT_EQ(ColourOf(balls[2]), Colour::Blue);
  EXPECT_EQ(ByColour(balls), (Trio{{0, 0}, {2, 0}, {1, 1}}));
  MoveEast(level, balls);
  EXPECT_EQ(ColourOf(balls[0]), Colour::Green) << "rightmost first";
}

TEST(EncodeStateTest, GivesTheSameValueForEveryRecordOrderAndSortsRedGreenBlue) {
  Level level;
  level.boardSize = 3;
  Pieces pieces = MakePieces({{1, 1}, {2, 1}, {1, 2}});
  std::sort(pieces.begin(), pieces.end(),
            [](const Piece& a, const Piece& b) { return a.colour < b.colour; });
  do {
    Pieces scratch = pieces;
    EXPECT_EQ(EncodeState(level, scratch), 4 * 81 + 5 * 9 + 7);
    EXPECT_EQ(ColourOf(scratch[0]), Colour::Red);
    EXPECT_EQ(ColourOf(scratch[1]), Colour::Green);
    EXPECT_EQ(ColourOf(scratch[2]), Colour::Blue);
  } while (std::next_permutation(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
    return a.colour < b.colour;
  }));
}

TEST(DecodeStateTest, WritesBlueGreenRedAndLeavesSortKey) {
  Level level;
  level.boardSize = 3;
  Pieces pieces{};
  pieces[1].sortKey = -7;
  DecodeState(level, 376, pieces);
  EXPECT_EQ(ColourOf(pieces[0]), Colour::Blue);
  EXPECT_EQ(ColourOf(pieces[1]), Colour::Green);
  EXPECT_EQ(ColourOf(pieces[2]), Colour::Red);
  EXPECT_EQ(ByColour(pieces), (Trio{{1, 1}, {2, 1}, {1, 2}}));
  EXPECT_EQ(pieces[1].sortKey, -7);
}

TEST(EncodeStateTest, DefaultPlacementGivesKnownStates) {
  struct Row {
    int size;
    StateIndex balls;
    StateIndex holes;
  };
  for (const Row& row : {Row{3, 44, 684}, Row{5, 324, 15300}, Row{7, 1224, 116424}}) {
    SCOPED_TRACE(row.size);
    Level level;
    level.boardSize = row.size;
    SetDefaultPlacement(level);
    EXPECT_EQ(EncodeState(level, level.balls), row.balls);
    EXPECT_EQ(EncodeState(level, level.holes), row.holes);
    Pieces decoded{};
    DecodeState(level, row.balls, decoded);
    EXPECT_EQ(ByColour(decoded), ByColour(level.balls));
  }
}

}  // namespace

#include "view/pointer_editing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "logic/maze.h"
#include "logic/solver.h"
#include "view/board_geometry.h"

namespace {

// A 5 x 5 board: floor origin 63, so the floor covers view pixels 63 to 261.
constexpr int N = 5;
constexpr int F = FloorOrigin(N);

/// Left (or top) view pixel of a square's column (or row).
constexpr int Corner(int index) { return F + Pitch * index; }
/// The centre pixel of a ball image on that column (or row).
constexpr int Centre(int index) { return Corner(index) + 15; }

/// RecheckLevel writes 0 or 1; any other value shows it has not run since.
constexpr std::uint8_t NotRechecked = 7;

struct Square {
  int column;
  int row;
  bool operator==(const Square&) const = default;
};

class PointerEditingTest : public ::testing::Test {
 protected:
  // Cleared 5 x 5 board with the default placement: red ball and blue hole on
  // (0, 0), green ball and hole on (2, 2), blue ball and red hole on (4, 4).
  void SetUp() override {
    ClearMaze(level, N);
    level.solvable = NotRechecked;
  }

  bool Rechecked() const { return level.solvable != NotRechecked; }

  Piece& BallOf(int colour) { return PieceOf(level.balls, colour); }
  Piece& HoleOf(int colour) { return PieceOf(level.holes, colour); }
  static Piece& PieceOf(Pieces& pieces, int colour) {
    for (Piece& piece : pieces) {
      if (piece.colour == colour) return piece;
    }
    ADD_FAILURE() << "no piece of colour " << colour;
    return pieces[0];
  }
  static Square SquareOf(const Piece& piece) { return {piece.column, piece.row}; }

  void Place(Piece& piece, Square square) {
    piece.column = static_cast<std::int8_t>(square.column);
    piece.row = static_cast<std::int8_t>(square.row);
  }

  void Move(int x, int y) { EXPECT_TRUE(HoverAt(level, editing, x, y)); }
  /// A move to (x, y) and a click there, as the user makes them.
  bool MoveAndClick(int x, int y) {
    Move(x, y);
    return ClickAt(level, editing, x, y);
  }
  /// Moves onto a square and clicks its ball's centre.
  bool ClickSquareCentre(Square square) {
    return MoveAndClick(Centre(square.column), Centre(square.row));
  }

  Level level;
  EditingState editing;
};

// --- Pointer geometry --------------------------------------------------------

struct HoverCase {
  std::string name;
  int boardSize;
  std::optional<std::pair<int, int>> before;  // an earlier move, if any
  int x, y;
  int column, row, kind;                      // the hover state afterwards
};

class HoverClassificationTest : public ::testing::TestWithParam<HoverCase> {};

TEST_P(HoverClassificationTest, NamesTheSquareOrWallUnderThePointer) {
  const HoverCase& c = GetParam();
  Level level;
  ClearMaze(level, c.boardSize);
  EditingState editing;
  if (c.before) HoverAt(level, editing, c.before->first, c.before->second);
  EXPECT_TRUE(HoverAt(level, editing, c.x, c.y));
  EXPECT_EQ(editing.HoverColumn, c.column);
  EXPECT_EQ(editing.HoverRow, c.row);
  EXPECT_EQ(editing.HoverKind, c.kind);
  EXPECT_EQ(editing.PointerX, c.x);
  EXPECT_EQ(editing.PointerY, c.y);
  EXPECT_TRUE(HoverLiesOnBoard(editing, c.boardSize));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, HoverClassificationTest,
    ::testing::Values(
        HoverCase{"FloorCorner", 5, {}, 63, 63, 0, 0, 0},
        HoverCase{"LastSquarePixel", 5, {}, 93, 63, 0, 0, 0},
        HoverCase{"FirstEastGapPixel", 5, {}, 94, 63, 0, 0, 1},
        HoverCase{"LastEastGapPixel", 5, {}, 104, 63, 0, 0, 1},
        HoverCase{"NextSquare", 5, {}, 105, 63, 1, 0, 0},
        HoverCase{"SouthGap", 5, {}, 63, 94, 0, 0, 2},
        HoverCase{"InnerEastGapOfColumn3", 5, {}, 230, 150, 3, 2, 1},
        HoverCase{"SouthGapOfRow3", 5, {}, 240, 230, 4, 3, 2},
        HoverCase{"CrossingKeepsSquare", 5, {{63, 63}}, 94, 94, 0, 0, 0},
        HoverCase{"CrossingClearsWallKind", 5, {{94, 63}}, 94, 94, 0, 0, 0},
        HoverCase{"CrossingWithNoSquareBefore", 5, {}, 94, 94, -1, -1, 0},
        HoverCase{"LeftOfFloor", 5, {{63, 63}}, 62, 63, -1, -1, 0},
        HoverCase{"RightOfFloor", 5, {{63, 63}}, 262, 63, -1, -1, 0},
        HoverCase{"AboveFloor", 5, {{94, 63}}, 63, 62, -1, -1, 0},
        HoverCase{"BelowFloor", 5, {{63, 63}}, 63, 262, -1, -1, 0},
        HoverCase{"LastColumnEndsWithItsSquare", 5, {}, 261, 63, 4, 0, 0},
        HoverCase{"LastRowEndsWithItsSquare", 5, {}, 63, 261, 0, 4, 0},
        HoverCase{"SevenFloorCorner", 7, {}, 21, 21, 0, 0, 0},
        HoverCase{"SevenOffFloor", 7, {}, 20, 21, -1, -1, 0},
        HoverCase{"SevenLastSquare", 7, {}, 303, 303, 6, 6, 0},
        HoverCase{"SevenBeyondFloor", 7, {}, 304, 21, -1, -1, 0},
        HoverCase{"ThreeFloorCorner", 3, {}, 105, 105, 0, 0, 0},
        HoverCase{"ThreeOffFloor", 3, {}, 104, 105, -1, -1, 0},
        HoverCase{"ThreeInnerEastGap", 3, {}, 188, 105, 1, 0, 1},
        HoverCase{"ThreeLastSquare", 3, {}, 219, 219, 2, 2, 0},
        HoverCase{"ThreeBeyondFloor", 3, {}, 220, 105, -1, -1, 0}),
    [](const auto& info) { return info.param.name; });

// --- Clicks with nothing carried ---------------------------------------------

TEST_F(PointerEditingTest, ClickOnWallGapFlipsBothCopiesAndRechecks) {
  ASSERT_NE(level.cells[0] & OpenEast, 0);  // cleared board: the passage is open
  EXPECT_TRUE(MoveAndClick(94, 63));
  EXPECT_EQ(level.cells[0] & OpenEast, 0);
  EXPECT_EQ(level.cells[1] & OpenWest, 0);
  EXPECT_TRUE(Rechecked());
  EXPECT_EQ(editing.CarriedItem, NothingCarried);

  EXPECT_TRUE(MoveAndClick(63, 94));
  EXPECT_EQ(level.cells[0] & OpenSouth, 0);
  EXPECT_EQ(level.cells[N] & OpenNorth, 0);
  EXPECT_TRUE(LevelIsConsistent(level));
}

TEST_F(PointerEditingTest, DoubleClickOnWallFlipsItTwice) {
  const std::vector<Cell> before = level.cells;
  Move(94, 63);
  EXPECT_TRUE(ClickAt(level, editing, 94, 63));
  EXPECT_NE(level.cells, before);
  level.solvable = NotRechecked;
  EXPECT_TRUE(ClickAt(level, editing, 94, 63));  // the second click of the double click
  EXPECT_EQ(level.cells, before);
  EXPECT_TRUE(Rechecked());
}

struct BallHitCase {
  std::string name;
  int dx, dy;  // from the red ball's centre pixel on (0, 0)
  bool picks;
};

class BallCircleTest : public PointerEditingTest,
                       public ::testing::WithParamInterface<BallHitCase> {};

// The red ball stands alone on (0, 0) (the blue hole moved away), so a miss picks nothing.
TEST_P(BallCircleTest, PicksTheBallOnlyInsideItsCircle) {
  const BallHitCase& c = GetParam();
  Place(HoleOf(Blue), {1, 1});
  const bool repaint = MoveAndClick(Centre(0) + c.dx, Centre(0) + c.dy);
  EXPECT_EQ(repaint, c.picks);
  EXPECT_EQ(editing.CarriedItem, c.picks ? FirstBallItem + Red : NothingCarried);
  EXPECT_FALSE(Rechecked());
}

INSTANTIATE_TEST_SUITE_P(
    Distances, BallCircleTest,
    ::testing::Values(BallHitCase{"Centre", 0, 0, true},
                      BallHitCase{"ThirteenRight", 13, 0, true},      // 169
                      BallHitCase{"ThirteenRightOneDown", 13, 1, false},  // 170
                      BallHitCase{"ThirteenLeft", -13, 0, true},
                      BallHitCase{"ThirteenUp", 0, -13, true},
                      BallHitCase{"TwelveAndFive", 12, 5, true},     // 169
                      BallHitCase{"SquareCorner", -15, -15, false},
                      BallHitCase{"FarSquareCorner", 15, 15, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(PointerEditingTest, CornerOfBallSquarePicksTheHoleThere) {
  // Green ball and green hole share (2, 2); the square's corner misses the ball.
  EXPECT_TRUE(MoveAndClick(Corner(2), Corner(2)));
  EXPECT_EQ(editing.CarriedItem, FirstHoleItem + Green);
}

TEST_F(PointerEditingTest, ClickOnEmptySquareDoesNothing) {
  const Level before = level;
  EXPECT_FALSE(MoveAndClick(Centre(1), Centre(3)));
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(level.cells, before.cells);
  EXPECT_FALSE(Rechecked());
}

TEST_F(PointerEditingTest, ClickOnCrossingPicksTheHoleOfTheLastSquare) {
  Move(Centre(2), Centre(2));
  const int crossing = Corner(2) + 35;
  EXPECT_TRUE(MoveAndClick(crossing, crossing));
  EXPECT_EQ(editing.CarriedItem, FirstHoleItem + Green);
}

TEST_F(PointerEditingTest, ClicksOutsideTheFloorDoNothing) {
  for (const auto& [x, y] : {std::pair{62, 63}, {262, 63}, {63, 262}, {0, 0}, {324, 358}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    EXPECT_FALSE(MoveAndClick(x, y));
    EXPECT_EQ(editing.CarriedItem, NothingCarried);
  }
  // Carrying, too: the piece stays in the hand.
  ClickSquareCentre({0, 0});
  ASSERT_EQ(editing.CarriedItem, FirstBallItem + Red);
  EXPECT_FALSE(MoveAndClick(62, 63));
  EXPECT_EQ(editing.CarriedItem, FirstBallItem + Red);
  EXPECT_EQ(SquareOf(BallOf(Red)), (Square{0, 0}));
  EXPECT_FALSE(Rechecked());
}

// --- Carrying ------------------------------------------------------------------

TEST_F(PointerEditingTest, DoubleClickOnBallPutsItBackWithOneRecheck) {
  Move(Centre(0), Centre(0));
  EXPECT_TRUE(ClickAt(level, editing, Centre(0), Centre(0)));
  EXPECT_EQ(editing.CarriedItem, FirstBallItem + Red);
  EXPECT_FALSE(Rechecked());
  EXPECT_TRUE(ClickAt(level, editing, Centre(0), Centre(0)));
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(SquareOf(BallOf(Red)), (Square{0, 0}));
  EXPECT_TRUE(Rechecked());
}

TEST_F(PointerEditingTest, BallPutDownOnFreeSquareEndsTheCarry) {
  ClickSquareCentre({0, 0});
  EXPECT_TRUE(ClickSquareCentre({3, 1}));
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(SquareOf(BallOf(Red)), (Square{3, 1}));
  EXPECT_TRUE(Rechecked());
  EXPECT_TRUE(LevelIsConsistent(level));
}

// Balls and holes never trade squares with each other.
TEST_F(PointerEditingTest, BallsAndHolesShareSquaresWithoutExchange) {
  Place(HoleOf(Red), {3, 0});
  ClickSquareCentre({0, 0});
  EXPECT_TRUE(ClickSquareCentre({3, 0}));  // the red hole's square
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(SquareOf(BallOf(Red)), (Square{3, 0}));
  EXPECT_EQ(SquareOf(HoleOf(Red)), (Square{3, 0}));

  EXPECT_TRUE(MoveAndClick(Corner(2), Corner(2)));  // the green hole under the green ball
  ASSERT_EQ(editing.CarriedItem, FirstHoleItem + Green);
  EXPECT_TRUE(MoveAndClick(Corner(4), Corner(4)));  // the blue ball's square, no hole
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(SquareOf(HoleOf(Green)), (Square{4, 4}));
  EXPECT_EQ(SquareOf(BallOf(Blue)), (Square{4, 4}));
  EXPECT_TRUE(LevelIsConsistent(level));
}

TEST_F(PointerEditingTest, ExchangeLeavesTheDisplacedBallInTheHand) {
  // Red from A = (0, 0) onto B = (2, 2), where the green ball stands.
  ClickSquareCentre({0, 0});
  EXPECT_TRUE(ClickSquareCentre({2, 2}));
  EXPECT_EQ(SquareOf(BallOf(Red)), (Square{2, 2}));
  EXPECT_EQ(SquareOf(BallOf(Green)), (Square{0, 0}));
  EXPECT_EQ(editing.CarriedItem, FirstBallItem + Green);
  EXPECT_FALSE(Rechecked());  // the indicator keeps showing "NO SOLUTION"

  EXPECT_TRUE(ClickSquareCentre({1, 3}));
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(SquareOf(BallOf(Green)), (Square{1, 3}));
  EXPECT_TRUE(Rechecked());
}

TEST_F(PointerEditingTest, HolesExchangeLikeBalls) {
  MoveAndClick(Corner(0), Corner(0));  // blue hole on (0, 0)
  ASSERT_EQ(editing.CarriedItem, FirstHoleItem + Blue);
  EXPECT_TRUE(MoveAndClick(Corner(4), Corner(4)));  // red hole on (4, 4)
  EXPECT_EQ(SquareOf(HoleOf(Blue)), (Square{4, 4}));
  EXPECT_EQ(SquareOf(HoleOf(Red)), (Square{0, 0}));
  EXPECT_EQ(editing.CarriedItem, FirstHoleItem + Red);
  EXPECT_FALSE(Rechecked());
}

TEST_F(PointerEditingTest, CarryKeepsDropSquareOverGapsAndLosesItOffTheFloor) {
  ClickSquareCentre({0, 0});
  Move(Centre(1), Centre(1));
  const int gap = Corner(1) + 35;
  for (const auto& [x, y] : {std::pair{gap, Centre(1)}, {Centre(1), gap}, {gap, gap}}) {
    Move(x, y);
    EXPECT_EQ((Square{editing.HoverColumn, editing.HoverRow}), (Square{1, 1}));
    EXPECT_EQ(editing.HoverKind, HoverNone);
  }
  Move(40, 40);
  EXPECT_FALSE(HasHoveredSquare(editing));
}

// A pointer that jumps from outside the floor straight into a gap leaves no
// drop square: the click there must not put the piece off the board.
TEST_F(PointerEditingTest, DropWithNoHoveredSquareDoesNothing) {
  ClickSquareCentre({0, 0});
  Move(10, 10);
  const Level before = level;
  const int gap = Corner(1) + 35;
  for (const auto& [x, y] : {std::pair{gap, Centre(1)}, {gap, gap}}) {
    EXPECT_FALSE(MoveAndClick(x, y));
    EXPECT_EQ(editing.CarriedItem, FirstBallItem + Red);
    EXPECT_EQ(SquareOf(BallOf(Red)), (Square{0, 0}));
    EXPECT_FALSE(Rechecked());
  }
  EXPECT_TRUE(LevelIsConsistent(level));
}

TEST_F(PointerEditingTest, CarryNeverHoversAWall) {
  ClickSquareCentre({0, 0});
  Move(94, 63);
  EXPECT_EQ(editing.HoverKind, HoverNone);
  const std::vector<Cell> cells = level.cells;
  EXPECT_TRUE(ClickAt(level, editing, 94, 63));  // puts the ball down on (0, 0)
  EXPECT_EQ(level.cells, cells);
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
}

TEST_F(PointerEditingTest, CancelCarryRechecksOnlyWhenCarrying) {
  EXPECT_FALSE(CancelCarry(level, editing));
  EXPECT_FALSE(Rechecked());

  ClickSquareCentre({0, 0});
  ClickSquareCentre({2, 2});  // exchange: red on (2, 2), green carried from (0, 0)
  EXPECT_TRUE(CancelCarry(level, editing));
  EXPECT_EQ(editing.CarriedItem, NothingCarried);
  EXPECT_EQ(SquareOf(BallOf(Green)), (Square{0, 0}));
  EXPECT_TRUE(Rechecked());
}

// The carried piece is found by colour, even after a recheck reorders the records.
TEST_F(PointerEditingTest, CarriedPieceIsFoundByColourNotRecord) {
  ClickSquareCentre({4, 4});  // blue ball
  ASSERT_EQ(editing.CarriedItem, FirstBallItem + Blue);
  std::swap(level.balls[0], level.balls[2]);
  EXPECT_TRUE(ClickSquareCentre({1, 4}));
  EXPECT_EQ(SquareOf(BallOf(Blue)), (Square{1, 4}));
  EXPECT_EQ(SquareOf(BallOf(Red)), (Square{0, 0}));
}

TEST(HoverAfterResize, StaleHoverIsOffTheSmallerBoard) {
  EditingState editing;
  editing.HoverColumn = 5;
  editing.HoverRow = 1;
  editing.HoverKind = HoverEastWall;
  EXPECT_TRUE(HoverLiesOnBoard(editing, 7));
  EXPECT_FALSE(HoverLiesOnBoard(editing, 5));
  ResetHover(editing);
  EXPECT_TRUE(HoverLiesOnBoard(editing, 3));
  EXPECT_FALSE(HasHoveredSquare(editing));
}

}  // namespace

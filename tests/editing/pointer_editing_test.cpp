#include "editing/pointer_editing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "drawing/board_geometry.h"
#include "editing/editor_document.h"
#include "logic/maze.h"
#include "logic/solver.h"
#include "tests/support/board_test_support.h"

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

using testsupport::Square;

/// The editor's document on a board the test sets up, with its repaints counted.
class PointerEditingTest : public ::testing::Test {
 protected:
  // Cleared 5 x 5 board with the default placement: red ball and blue hole on
  // (0, 0), green ball and hole on (2, 2), blue ball and red hole on (4, 4).
  void SetUp() override {
    document.AddListener([this](DocumentChange) { ++repaints; });
    ClearMaze(level, N);
    level.solvable = NotRechecked;
  }

  bool Rechecked() const { return level.solvable != NotRechecked; }

  Piece& BallOf(Colour colour) { return PieceOf(level.balls, colour); }
  Piece& HoleOf(Colour colour) { return PieceOf(level.holes, colour); }
  static Piece& PieceOf(Pieces& pieces, Colour colour) {
    for (Piece& piece : pieces) {
      if (ColourOf(piece) == colour) return piece;
    }
    ADD_FAILURE() << "no piece of colour " << ColourNumber(colour);
    return pieces[0];
  }
  static Square SquareOf(const Piece& piece) { return {piece.column, piece.row}; }

  void Place(Piece& piece, Square square) {
    piece.column = static_cast<std::int8_t>(square.column);
    piece.row = static_cast<std::int8_t>(square.row);
  }

  void Move(int x, int y) {
    const int before = repaints;
    document.PointerMoved(x, y);
    EXPECT_EQ(repaints, before + 1) << "every pointer move repaints";
  }
  /// A click at (x, y); true when it asked for a repaint.
  bool ClickAt(int x, int y) {
    const int before = repaints;
    document.Clicked(x, y);
    return repaints > before;
  }
  /// A move to (x, y) and a click there, as the user makes them.
  bool MoveAndClick(int x, int y) {
    Move(x, y);
    return ClickAt(x, y);
  }
  /// Moves onto a square and clicks its ball's centre.
  bool ClickSquareCentre(Square square) {
    return MoveAndClick(Centre(square.column), Centre(square.row));
  }
  /// Ends a carry as the board commands do; true when it asked for a repaint.
  bool CancelCarry() {
    const int before = repaints;
    document.Apply(edit::EndCarry{});
    return repaints > before;
  }

  EditorDocument document{[] { return 0; }};
  Level& level = document.LevelForTests();
  const EditingState& editing = document.editing();
  int repaints = 0;
};

// --- Pointer geometry --------------------------------------------------------

struct HoverCase {
  std::string name;
  int boardSize;
  std::optional<std::pair<int, int>> before;  // an earlier move, if any
  int x, y;
  int column, row;  // the hover state afterwards
  WallKind kind;
};

class HoverClassificationTest : public ::testing::TestWithParam<HoverCase> {};

TEST_P(HoverClassificationTest, NamesTheSquareOrWallUnderThePointer) {
  const HoverCase& c = GetParam();
  Level level;
  ClearMaze(level, c.boardSize);
  EditingState editing;
  if (c.before) HoverAt(level, editing, c.before->first, c.before->second);
  HoverAt(level, editing, c.x, c.y);
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
        HoverCase{"FloorCorner", 5, {}, 63, 63, 0, 0, WallKind::None},
        HoverCase{"LastSquarePixel", 5, {}, 93, 63, 0, 0, WallKind::None},
        HoverCase{"FirstEastGapPixel", 5, {}, 94, 63, 0, 0, WallKind::East},
        HoverCase{"LastEastGapPixel", 5, {}, 104, 63, 0, 0, WallKind::East},
        HoverCase{"NextSquare", 5, {}, 105, 63, 1, 0, WallKind::None},
        HoverCase{"SouthGap", 5, {}, 63, 94, 0, 0, WallKind::South},
        HoverCase{"InnerEastGapOfColumn3", 5, {}, 230, 150, 3, 2, WallKind::East},
        HoverCase{"SouthGapOfRow3", 5, {}, 240, 230, 4, 3, WallKind::South},
        HoverCase{"CrossingKeepsSquare", 5, {{63, 63}}, 94, 94, 0, 0, WallKind::None},
        HoverCase{"CrossingClearsWallKind", 5, {{94, 63}}, 94, 94, 0, 0, WallKind::None},
        HoverCase{"CrossingWithNoSquareBefore", 5, {}, 94, 94, -1, -1, WallKind::None},
        HoverCase{"LeftOfFloor", 5, {{63, 63}}, 62, 63, -1, -1, WallKind::None},
        HoverCase{"RightOfFloor", 5, {{63, 63}}, 262, 63, -1, -1, WallKind::None},
        HoverCase{"AboveFloor", 5, {{94, 63}}, 63, 62, -1, -1, WallKind::None},
        HoverCase{"BelowFloor", 5, {{63, 63}}, 63, 262, -1, -1, WallKind::None},
        HoverCase{"LastColumnEndsWithItsSquare", 5, {}, 261, 63, 4, 0, WallKind::None},
        HoverCase{"LastRowEndsWithItsSquare", 5, {}, 63, 261, 0, 4, WallKind::None},
        HoverCase{"SevenFloorCorner", 7, {}, 21, 21, 0, 0, WallKind::None},
        HoverCase{"SevenOffFloor", 7, {}, 20, 21, -1, -1, WallKind::None},
        HoverCase{"SevenLastSquare", 7, {}, 303, 303, 6, 6, WallKind::None},
        HoverCase{"SevenBeyondFloor", 7, {}, 304, 21, -1, -1, WallKind::None},
        HoverCase{"ThreeFloorCorner", 3, {}, 105, 105, 0, 0, WallKind::None},
        HoverCase{"ThreeOffFloor", 3, {}, 104, 105, -1, -1, WallKind::None},
        HoverCase{"ThreeInnerEastGap", 3, {}, 188, 105, 1, 0, WallKind::East},
        HoverCase{"ThreeLastSquare", 3, {}, 219, 219, 2, 2, WallKind::None},
        HoverCase{"ThreeBeyondFloor", 3, {}, 220, 105, -1, -1, WallKind::None}),
    [](const auto& info) { return info.param.name; });

// --- Clicks with nothing carried ---------------------------------------------

TEST_F(PointerEditingTest, ClickOnWallGapFlipsBothCopiesAndRechecks) {
  ASSERT_NE(level.cells[0] & OpenEast, 0);  // cleared board: the passage is open
  EXPECT_TRUE(MoveAndClick(94, 63));
  EXPECT_EQ(level.cells[0] & OpenEast, 0);
  EXPECT_EQ(level.cells[1] & OpenWest, 0);
  EXPECT_TRUE(Rechecked());
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);

  EXPECT_TRUE(MoveAndClick(63, 94));
  EXPECT_EQ(level.cells[0] & OpenSouth, 0);
  EXPECT_EQ(level.cells[N] & OpenNorth, 0);
  EXPECT_TRUE(LevelIsConsistent(level));
}

TEST_F(PointerEditingTest, DoubleClickOnWallFlipsItTwice) {
  const std::vector<Cell> before = level.cells;
  Move(94, 63);
  EXPECT_TRUE(ClickAt(94, 63));
  EXPECT_NE(level.cells, before);
  level.solvable = NotRechecked;
  EXPECT_TRUE(ClickAt(94, 63));  // the second click of the double click
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
  Place(HoleOf(Colour::Blue), {1, 1});
  const bool repaint = MoveAndClick(Centre(0) + c.dx, Centre(0) + c.dy);
  EXPECT_EQ(repaint, c.picks);
  EXPECT_EQ(editing.CarriedItem, c.picks ? CarriedBall(Colour::Red) : CarriedPiece::Nothing);
  EXPECT_FALSE(Rechecked());
}

INSTANTIATE_TEST_SUITE_P(Distances, BallCircleTest,
                         ::testing::Values(BallHitCase{"Centre", 0, 0, true},
                                           BallHitCase{"ThirteenRight", 13, 0, true},  // 169
                                           BallHitCase{"ThirteenRightOneDown", 13, 1,
                                                       false},  // 170
                                           BallHitCase{"ThirteenLeft", -13, 0, true},
                                           BallHitCase{"ThirteenUp", 0, -13, true},
                                           BallHitCase{"TwelveAndFive", 12, 5, true},  // 169
                                           BallHitCase{"SquareCorner", -15, -15, false},
                                           BallHitCase{"FarSquareCorner", 15, 15, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PointerEditingTest, CornerOfBallSquarePicksTheHoleThere) {
  // Green ball and green hole share (2, 2); the square's corner misses the ball.
  EXPECT_TRUE(MoveAndClick(Corner(2), Corner(2)));
  EXPECT_EQ(editing.CarriedItem, CarriedHole(Colour::Green));
}

TEST_F(PointerEditingTest, ClickOnEmptySquareDoesNothing) {
  const Level before = level;
  EXPECT_FALSE(MoveAndClick(Centre(1), Centre(3)));
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(level.cells, before.cells);
  EXPECT_FALSE(Rechecked());
}

TEST_F(PointerEditingTest, ClickOnCrossingPicksTheHoleOfTheLastSquare) {
  Move(Centre(2), Centre(2));
  const int crossing = Corner(2) + 35;
  EXPECT_TRUE(MoveAndClick(crossing, crossing));
  EXPECT_EQ(editing.CarriedItem, CarriedHole(Colour::Green));
}

TEST_F(PointerEditingTest, ClicksOutsideTheFloorDoNothing) {
  for (const auto& [x, y] : {std::pair{62, 63}, {262, 63}, {63, 262}, {0, 0}, {324, 358}}) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    EXPECT_FALSE(MoveAndClick(x, y));
    EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  }
  // Carrying, too: the piece stays in the hand.
  ClickSquareCentre({0, 0});
  ASSERT_EQ(editing.CarriedItem, CarriedBall(Colour::Red));
  EXPECT_FALSE(MoveAndClick(62, 63));
  EXPECT_EQ(editing.CarriedItem, CarriedBall(Colour::Red));
  EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{0, 0}));
  EXPECT_FALSE(Rechecked());
}

// --- Carrying ------------------------------------------------------------------

TEST_F(PointerEditingTest, DoubleClickOnBallPutsItBackWithOneRecheck) {
  Move(Centre(0), Centre(0));
  EXPECT_TRUE(ClickAt(Centre(0), Centre(0)));
  EXPECT_EQ(editing.CarriedItem, CarriedBall(Colour::Red));
  EXPECT_FALSE(Rechecked());
  EXPECT_TRUE(ClickAt(Centre(0), Centre(0)));
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{0, 0}));
  EXPECT_TRUE(Rechecked());
}

TEST_F(PointerEditingTest, BallPutDownOnFreeSquareEndsTheCarry) {
  ClickSquareCentre({0, 0});
  EXPECT_TRUE(ClickSquareCentre({3, 1}));
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{3, 1}));
  EXPECT_TRUE(Rechecked());
  EXPECT_TRUE(LevelIsConsistent(level));
}

// Balls and holes never trade squares with each other.
TEST_F(PointerEditingTest, BallsAndHolesShareSquaresWithoutExchange) {
  Place(HoleOf(Colour::Red), {3, 0});
  ClickSquareCentre({0, 0});
  EXPECT_TRUE(ClickSquareCentre({3, 0}));  // the red hole's square
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{3, 0}));
  EXPECT_EQ(SquareOf(HoleOf(Colour::Red)), (Square{3, 0}));

  EXPECT_TRUE(MoveAndClick(Corner(2), Corner(2)));  // the green hole under the green ball
  ASSERT_EQ(editing.CarriedItem, CarriedHole(Colour::Green));
  EXPECT_TRUE(MoveAndClick(Corner(4), Corner(4)));  // the blue ball's square, no hole
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(HoleOf(Colour::Green)), (Square{4, 4}));
  EXPECT_EQ(SquareOf(BallOf(Colour::Blue)), (Square{4, 4}));
  EXPECT_TRUE(LevelIsConsistent(level));
}

TEST_F(PointerEditingTest, ExchangeLeavesTheDisplacedBallInTheHand) {
  // Red from A = (0, 0) onto B = (2, 2), where the green ball stands.
  ClickSquareCentre({0, 0});
  EXPECT_TRUE(ClickSquareCentre({2, 2}));
  EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{2, 2}));
  EXPECT_EQ(SquareOf(BallOf(Colour::Green)), (Square{0, 0}));
  EXPECT_EQ(editing.CarriedItem, CarriedBall(Colour::Green));
  EXPECT_FALSE(Rechecked());  // the indicator keeps showing "NO SOLUTION"

  EXPECT_TRUE(ClickSquareCentre({1, 3}));
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(BallOf(Colour::Green)), (Square{1, 3}));
  EXPECT_TRUE(Rechecked());
}

TEST_F(PointerEditingTest, HolesExchangeLikeBalls) {
  MoveAndClick(Corner(0), Corner(0));  // blue hole on (0, 0)
  ASSERT_EQ(editing.CarriedItem, CarriedHole(Colour::Blue));
  EXPECT_TRUE(MoveAndClick(Corner(4), Corner(4)));  // red hole on (4, 4)
  EXPECT_EQ(SquareOf(HoleOf(Colour::Blue)), (Square{4, 4}));
  EXPECT_EQ(SquareOf(HoleOf(Colour::Red)), (Square{0, 0}));
  EXPECT_EQ(editing.CarriedItem, CarriedHole(Colour::Red));
  EXPECT_FALSE(Rechecked());
}

TEST_F(PointerEditingTest, CarryKeepsDropSquareOverGapsAndLosesItOffTheFloor) {
  ClickSquareCentre({0, 0});
  Move(Centre(1), Centre(1));
  const int gap = Corner(1) + 35;
  for (const auto& [x, y] : {std::pair{gap, Centre(1)}, {Centre(1), gap}, {gap, gap}}) {
    Move(x, y);
    EXPECT_EQ((Square{editing.HoverColumn, editing.HoverRow}), (Square{1, 1}));
    EXPECT_EQ(editing.HoverKind, WallKind::None);
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
    EXPECT_EQ(editing.CarriedItem, CarriedBall(Colour::Red));
    EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{0, 0}));
    EXPECT_FALSE(Rechecked());
  }
  EXPECT_TRUE(LevelIsConsistent(level));
}

TEST_F(PointerEditingTest, CarryNeverHoversAWall) {
  ClickSquareCentre({0, 0});
  Move(94, 63);
  EXPECT_EQ(editing.HoverKind, WallKind::None);
  const std::vector<Cell> cells = level.cells;
  EXPECT_TRUE(ClickAt(94, 63));  // puts the ball down on (0, 0)
  EXPECT_EQ(level.cells, cells);
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
}

TEST_F(PointerEditingTest, CancelCarryRechecksOnlyWhenCarrying) {
  EXPECT_FALSE(CancelCarry());
  EXPECT_FALSE(Rechecked());

  ClickSquareCentre({0, 0});
  ClickSquareCentre({2, 2});  // exchange: red on (2, 2), green carried from (0, 0)
  EXPECT_TRUE(CancelCarry());
  EXPECT_EQ(editing.CarriedItem, CarriedPiece::Nothing);
  EXPECT_EQ(SquareOf(BallOf(Colour::Green)), (Square{0, 0}));
  EXPECT_TRUE(Rechecked());
}

// The carried piece is found by colour, even after a recheck reorders the records.
TEST_F(PointerEditingTest, CarriedPieceIsFoundByColourNotRecord) {
  ClickSquareCentre({4, 4});  // blue ball
  ASSERT_EQ(editing.CarriedItem, CarriedBall(Colour::Blue));
  std::swap(level.balls[0], level.balls[2]);
  EXPECT_TRUE(ClickSquareCentre({1, 4}));
  EXPECT_EQ(SquareOf(BallOf(Colour::Blue)), (Square{1, 4}));
  EXPECT_EQ(SquareOf(BallOf(Colour::Red)), (Square{0, 0}));
}

TEST(HoverAfterResize, StaleHoverIsOffTheSmallerBoard) {
  EditingState editing;
  editing.HoverColumn = 5;
  editing.HoverRow = 1;
  editing.HoverKind = WallKind::East;
  EXPECT_TRUE(HoverLiesOnBoard(editing, 7));
  EXPECT_FALSE(HoverLiesOnBoard(editing, 5));
  ResetHover(editing);
  EXPECT_TRUE(HoverLiesOnBoard(editing, 3));
  EXPECT_FALSE(HasHoveredSquare(editing));
}

}  // namespace

// Pixels of drawn board frames: geometry, walls, pieces, the pointer's overlays
// and the solvability indicator.

#include "view/board_renderer.h"

#include <gtest/gtest.h>

#include <QRect>
#include <cstdio>
#include <string>
#include <vector>

#include "drawing/board_geometry.h"

namespace {

constexpr QRgb Background = qRgb(128, 128, 128);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Floor = qRgb(220, 220, 220);
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb BlueHole = qRgb(120, 120, 255);
constexpr QRgb GreenHole = qRgb(50, 220, 50);
constexpr QRgb RedHole = qRgb(255, 100, 100);

std::string Hex(QRgb colour) {
  char text[16];
  std::snprintf(text, sizeof text, "#%06x", colour & 0xffffffu);
  return text;
}

::testing::AssertionResult PixelIs(const QImage& image, int x, int y, QRgb expected) {
  const QRgb actual = image.pixel(x, y);
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") is " << Hex(actual) << ", expected " << Hex(expected);
}

::testing::AssertionResult AreaIs(const QImage& image, const QRect& area, QRgb expected) {
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (auto result = PixelIs(image, x, y, expected); !result) return result;
  return ::testing::AssertionSuccess();
}

/// The pixels where two frames differ.
std::vector<QPoint> Differences(const QImage& a, const QImage& b) {
  std::vector<QPoint> points;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) points.emplace_back(x, y);
  return points;
}

// Colour numbers as the piece records hold them.
constexpr std::int8_t Blue = ColourNumber(Colour::Blue);
constexpr std::int8_t Green = ColourNumber(Colour::Green);
constexpr std::int8_t Red = ColourNumber(Colour::Red);

Piece At(int column, int row, std::int8_t colour) {
  return {static_cast<std::int8_t>(column), static_cast<std::int8_t>(row), 0, colour};
}

/// An N x N board with every inner side open and a closed border. Each ball
/// stands on its own hole along the bottom row, so rows above it are empty.
Level ClearedLevel(int n) {
  Level level;
  level.boardSize = n;
  level.cells.assign(static_cast<std::size_t>(n * n), 0);
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      Cell& cell = level.cells[static_cast<std::size_t>(row * n + column)];
      if (column < n - 1) cell |= OpenEast;
      if (row < n - 1) cell |= OpenSouth;
      if (column > 0) cell |= OpenWest;
      if (row > 0) cell |= OpenNorth;
    }
  }
  level.balls = {At(0, n - 1, Red), At(1, n - 1, Green), At(2, n - 1, Blue)};
  level.holes = {At(0, n - 1, Red), At(1, n - 1, Green), At(2, n - 1, Blue)};
  level.solvable = 1;
  return level;
}

void CloseEast(Level& level, int column, int row) {
  const int n = level.boardSize;
  level.cells[static_cast<std::size_t>(row * n + column)] &= ~OpenEast;
  level.cells[static_cast<std::size_t>(row * n + column + 1)] &= ~OpenWest;
}

void CloseSouth(Level& level, int column, int row) {
  const int n = level.boardSize;
  level.cells[static_cast<std::size_t>(row * n + column)] &= ~OpenSouth;
  level.cells[static_cast<std::size_t>((row + 1) * n + column)] &= ~OpenNorth;
}

class BoardRendererTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { images = new BoardImages(LoadBoardImages()); }
  static void TearDownTestSuite() { delete images; }

  /// A frame drawn by a fresh renderer, so frames can be kept side by side.
  static QImage Draw(const Level& level, const EditingState& editing = {}) {
    BoardRenderer renderer(*images);
    return renderer.DrawFrame(level, editing);
  }

  static QRect BallFrame(int colour) { return {BallSize * colour, 0, BallSize, BallSize}; }

  /// The ball of this colour as drawn over a destination area: OR with the
  /// mask, then AND with the ball frame.
  static ::testing::AssertionResult BallDrawnAt(const QImage& frame, const QImage& before,
                                                QPoint at, int colour) {
    for (int v = 0; v < BallSize; ++v) {
      for (int u = 0; u < BallSize; ++u) {
        const QRgb mask = images->ballSheet.pixel(3 * BallSize + u, v);
        const QRgb ball = images->ballSheet.pixel(BallSize * colour + u, v);
        const QRgb expected = ((before.pixel(at.x() + u, at.y() + v) | mask) & ball) | 0xff000000u;
        if (auto result = PixelIs(frame, at.x() + u, at.y() + v, expected); !result) return result;
      }
    }
    return ::testing::AssertionSuccess();
  }

  static BoardImages* images;
};

BoardImages* BoardRendererTest::images = nullptr;

// ---------------------------------------------------------------- geometry

struct GeometryCase {
  int n;
  int frameFirst, frameLast;  // on both axes
  int floorFirst, floorLast;
  int statusTop;
};

constexpr GeometryCase GeometryCases[] = {
    {7, 10, 314, 21, 303, 315},
    {5, 52, 272, 63, 261, 273},
    {3, 94, 230, 105, 219, 231},
};

TEST_F(BoardRendererTest, FrameFloorAndStatusStandWhereTheBoardSizePutsThem) {
  for (const GeometryCase& c : GeometryCases) {
    SCOPED_TRACE("N = " + std::to_string(c.n));
    const QImage frame = Draw(ClearedLevel(c.n));
    // Along the top edge, across the first row of squares, and down the left edge.
    const int y = c.floorFirst;
    EXPECT_TRUE(PixelIs(frame, c.frameFirst - 1, y, Background));
    EXPECT_TRUE(AreaIs(frame, QRect(QPoint(c.frameFirst, y), QPoint(c.floorFirst - 1, y)), Black));
    EXPECT_TRUE(AreaIs(frame, QRect(QPoint(c.floorFirst, y), QPoint(c.floorLast, y)), Floor));
    EXPECT_TRUE(AreaIs(frame, QRect(QPoint(c.floorLast + 1, y), QPoint(c.frameLast, y)), Black));
    EXPECT_TRUE(PixelIs(frame, c.frameLast + 1, y, Background));
    EXPECT_TRUE(PixelIs(frame, y, c.frameFirst - 1, Background));
    EXPECT_TRUE(AreaIs(frame, QRect(QPoint(y, c.frameFirst), QPoint(y, c.floorFirst - 1)), Black));
    EXPECT_TRUE(PixelIs(frame, y, c.floorFirst, Floor));
    // The frame's last row, then the indicator on the first row below it.
    EXPECT_TRUE(PixelIs(frame, 162, c.frameLast, Black));
    EXPECT_TRUE(PixelIs(frame, 162, c.frameLast + 1, Background));
    EXPECT_EQ(c.frameLast + 1, c.statusTop);
    EXPECT_EQ(frame.copy(86, c.statusTop, 33, 36), images->lampLit);
    EXPECT_EQ(frame.copy(119, c.statusTop + 14, 111, 16), images->labelSolutionExists);
  }
}

TEST_F(BoardRendererTest, RowsBelowTheIndicatorOfTheLargestBoardStayBackground) {
  for (const std::uint8_t solvable : {0, 1}) {
    Level level = ClearedLevel(7);
    level.solvable = solvable;
    const QImage frame = Draw(level);
    EXPECT_TRUE(AreaIs(frame, QRect(0, 351, ViewWidth, 8), Background));
    // Both lamps end on row 350.
    EXPECT_TRUE(
        PixelIs(frame, 102, 350,
                solvable ? images->lampLit.pixel(16, 35) : images->lampUnlit.pixel(10, 29)));
  }
}

// A view of the cleared 5 x 5 board whose squares hold no pieces: only the
// frame is black, every gap and crossing inside is floor.
TEST_F(BoardRendererTest, ClearedLevelShowsOnlyTheFrame) {
  const QImage frame = Draw(ClearedLevel(5));
  const QRect floor(63, 63, 199, 199);
  for (int y = 52; y <= 272; ++y) {
    for (int x = 52; x <= 272; ++x) {
      if (y >= 63 + 4 * 42 && x < 63 + 3 * 42) continue;  // the bottom-left squares hold pieces
      ASSERT_TRUE(PixelIs(frame, x, y, floor.contains(x, y) ? Floor : Black));
    }
  }
}

// ---------------------------------------------------------------- walls

struct WallCase {
  const char* name;
  WallKind kind;
  int column, row;
  QRect bar;
};

// N = 5: square (1, 1) has its corner at (105, 105).
const WallCase WallCases[] = {
    {"east of (1, 1)", WallKind::East, 1, 1, QRect(136, 94, 11, 53)},
    {"south of (1, 1)", WallKind::South, 1, 1, QRect(94, 136, 53, 11)},
    {"east of (3, 0), ending on the frame", WallKind::East, 3, 0, QRect(220, 52, 11, 53)},
};

TEST_F(BoardRendererTest, SingleWallIsOneBarThatDarkensBothCrossings) {
  for (const WallCase& c : WallCases) {
    SCOPED_TRACE(c.name);
    Level level = ClearedLevel(5);
    (c.kind == WallKind::East ? CloseEast : CloseSouth)(level, c.column, c.row);
    const QImage open = Draw(ClearedLevel(5));
    const QImage walled = Draw(level);
    EXPECT_TRUE(AreaIs(walled, c.bar, Black));
    for (const QPoint& p : Differences(open, walled))
      ASSERT_TRUE(c.bar.contains(p)) << p.x() << ", " << p.y();
  }
}

// ---------------------------------------------------------------- pieces

struct BallOnHoleCase {
  std::int8_t ball, hole;
  QRgb holeColour;
};

constexpr BallOnHoleCase BallOnHoleCases[] = {
    {Green, Red, RedHole}, {Blue, Blue, BlueHole}, {Red, Green, GreenHole}};

TEST_F(BoardRendererTest, BallOnHoleShowsTheHoleColourAroundTheDisc) {
  for (const BallOnHoleCase& c : BallOnHoleCases) {
    SCOPED_TRACE("ball " + std::to_string(c.ball) + " on hole " + std::to_string(c.hole));
    // The other pieces stand along the bottom row, out of the way.
    Level level = ClearedLevel(7);
    level.holes = {At(0, 0, c.hole), At(5, 6, (c.hole + 1) % 3), At(6, 6, (c.hole + 2) % 3)};
    level.balls = {At(0, 0, c.ball), At(3, 6, (c.ball + 1) % 3), At(4, 6, (c.ball + 2) % 3)};
    const QImage frame = Draw(level);
    // Square (0, 0) of the 7 x 7 board: corner (21, 21), ball at (23, 23).
    EXPECT_TRUE(AreaIs(frame, QRect(21, 21, 31, 2), c.holeColour));
    EXPECT_TRUE(AreaIs(frame, QRect(21, 50, 31, 2), c.holeColour));
    EXPECT_TRUE(PixelIs(frame, 23, 23, c.holeColour));  // the ball frame's corner, off the disc
    EXPECT_TRUE(PixelIs(frame, 36, 36, images->ballSheet.pixel(BallSize * c.ball + 13, 13)));
    QImage hole = frame;
    hole.fill(c.holeColour);
    EXPECT_TRUE(BallDrawnAt(frame, hole, {23, 23}, c.ball));
  }
}

// ---------------------------------------------------------------- hover

struct HoverCase {
  const char* name;
  WallKind kind;
  QRect area;  // where the hatch or the marker lands
  QRect source;
};

// N = 5, hovered square (1, 1) with its corner at (105, 105).
const HoverCase HoverCases[] = {
    {"east", WallKind::East, QRect(136, 95, 11, 51), QRect(0, 0, 11, 51)},
    {"south", WallKind::South, QRect(95, 136, 51, 11), QRect(0, 0, 51, 11)},
};

TEST_F(BoardRendererTest, HatchOverAnOpenPassageDarkensOnlyUnderItsBlackPixels) {
  for (const HoverCase& c : HoverCases) {
    SCOPED_TRACE(c.name);
    // A wall across the hatch's far end shows that black stays black.
    Level level = ClearedLevel(5);
    if (c.kind == WallKind::East)
      CloseSouth(level, 2, 1);
    else
      CloseEast(level, 1, 2);
    const QImage before = Draw(level);
    const QImage hovered = Draw(level, {CarriedPiece::Nothing, c.kind, 1, 1, 150, 150});
    for (const QPoint& p : Differences(before, hovered)) ASSERT_TRUE(c.area.contains(p));
    for (int y = 0; y < c.area.height(); ++y) {
      for (int x = 0; x < c.area.width(); ++x) {
        const QPoint p = c.area.topLeft() + QPoint(x, y);
        const bool hatched = (x + y) % 5 == 0;
        ASSERT_TRUE(PixelIs(hovered, p.x(), p.y(), hatched ? Black : before.pixel(p)));
      }
    }
    EXPECT_TRUE(PixelIs(hovered, c.area.x() + 4, c.area.y() + 1, Black));  // hatch on the floor
    EXPECT_TRUE(PixelIs(hovered, c.area.x() + 3, c.area.y() + 1, Floor));
  }
}

TEST_F(BoardRendererTest, MarkerReplacesExactlyTheWallPieceBesideTheSquare) {
  const HoverCase cases[] = {
      {"east", WallKind::East, QRect(136, 105, 11, 31), QRect(22, 12, 11, 31)},
      {"south", WallKind::South, QRect(105, 136, 31, 11), QRect(12, 22, 31, 11)},
  };
  for (const HoverCase& c : cases) {
    SCOPED_TRACE(c.name);
    Level level = ClearedLevel(5);
    (c.kind == WallKind::East ? CloseEast : CloseSouth)(level, 1, 1);
    const QImage before = Draw(level);
    const QImage hovered = Draw(level, {CarriedPiece::Nothing, c.kind, 1, 1, 150, 150});
    EXPECT_EQ(hovered.copy(c.area), images->wallHoverSheet.copy(c.source));
    for (const QPoint& p : Differences(before, hovered)) ASSERT_TRUE(c.area.contains(p));
  }
}

// ---------------------------------------------------------------- carrying

TEST_F(BoardRendererTest, DropSquareOutlineIsTheSquaresBorderInWhite) {
  // Square (2, 1) of the 5 x 5 board, corner (147, 105); once empty, once on a hole.
  for (const bool onHole : {false, true}) {
    SCOPED_TRACE(onHole ? "over a hole" : "over the floor");
    Level level = ClearedLevel(5);
    if (onHole) level.holes[1] = At(2, 1, Green);
    // The carried red ball is drawn at the pointer, away from the drop square.
    const EditingState carrying{CarriedBall(Colour::Red), WallKind::None, -1, -1, 200, 230};
    EditingState dropping = carrying;
    dropping.HoverColumn = 2;
    dropping.HoverRow = 1;
    const QImage away = Draw(level, carrying);
    const QImage over = Draw(level, dropping);
    const QRect square(147, 105, 31, 31);
    std::vector<QPoint> expected;
    for (int y = square.top(); y <= square.bottom(); ++y)
      for (int x = square.left(); x <= square.right(); ++x)
        if (x == 147 || x == 177 || y == 105 || y == 135) expected.emplace_back(x, y);
    ASSERT_EQ(expected.size(), 120u);
    const QRect pointerBall(200 - 13, 230 - 13, 27, 27);
    std::vector<QPoint> changed;
    for (const QPoint& p : Differences(away, over))
      if (!pointerBall.contains(p)) changed.push_back(p);
    EXPECT_EQ(changed, expected);
    for (const QPoint& p : expected) EXPECT_TRUE(PixelIs(over, p.x(), p.y(), White));
    EXPECT_TRUE(PixelIs(over, 148, 106, onHole ? GreenHole : Floor));
  }
}

struct CarryCase {
  const char* name;
  CarriedPiece item;
  QPoint ownSquare;  // corner of the square the carried piece was taken from
};

// N = 5: the pieces stand on (0, 4), (1, 4), (2, 4); balls on their own holes.
const CarryCase CarryCases[] = {
    {"red ball", CarriedBall(Colour::Red), QPoint(63, 231)},
    {"blue hole", CarriedHole(Colour::Blue), QPoint(147, 231)},
};

TEST_F(BoardRendererTest, CarriedPieceIsCentredOnThePointerAndAbsentFromItsSquare) {
  for (const CarryCase& c : CarryCases) {
    SCOPED_TRACE(c.name);
    const Level level = ClearedLevel(5);
    const QImage frame = Draw(level, {c.item, WallKind::None, 0, 0, 200, 160});
    const bool ball = IsBall(c.item);
    if (ball) {
      // The red ball's own square shows its hole alone; the ball is at the pointer.
      EXPECT_TRUE(PixelIs(frame, c.ownSquare.x() + 15, c.ownSquare.y() + 15, RedHole));
      EXPECT_TRUE(PixelIs(frame, 200, 160, images->ballSheet.pixel(BallSize * Red + 13, 13)));
      QImage floor = frame;
      floor.fill(Floor);
      EXPECT_TRUE(BallDrawnAt(frame, floor, {187, 147}, Red));
    } else {
      // The blue hole's square shows the blue ball on floor; the hole is at the pointer.
      EXPECT_TRUE(PixelIs(frame, c.ownSquare.x(), c.ownSquare.y(), Floor));
      EXPECT_TRUE(AreaIs(frame, QRect(185, 145, 31, 31), BlueHole));
      EXPECT_TRUE(PixelIs(frame, 184, 160, Floor));
      EXPECT_TRUE(PixelIs(frame, 216, 160, Floor));
    }
  }
}

TEST_F(BoardRendererTest, CarriedPieceIsDrawnNowhereWithoutAHoveredSquare) {
  for (const CarryCase& c : CarryCases) {
    SCOPED_TRACE(c.name);
    Level level = ClearedLevel(5);
    const QImage frame = Draw(level, {c.item, WallKind::None, -1, -1, 200, 160});
    // The same picture as a level without that piece, save for the indicator.
    Level without = level;
    Piece& piece = IsBall(c.item) ? without.balls[0] : without.holes[2];
    piece.colour = -1;
    without.solvable = 0;
    EXPECT_TRUE(Differences(frame, Draw(without)).empty());
  }
}

TEST_F(BoardRendererTest, NoHoverDrawingWhileCarrying) {
  for (const WallKind kind : {WallKind::East, WallKind::South}) {
    Level level = ClearedLevel(5);
    CloseEast(level, 1, 1);
    const EditingState plain{CarriedHole(Colour::Green), WallKind::None, 1, 1, 120, 120};
    EditingState overWall = plain;
    overWall.HoverKind = kind;
    EXPECT_TRUE(Differences(Draw(level, plain), Draw(level, overWall)).empty());
  }
}

// ---------------------------------------------------------------- indicator

struct IndicatorCase {
  std::uint8_t solvable;
  CarriedPiece carried;
  bool lit;
};

constexpr IndicatorCase IndicatorCases[] = {
    {1, CarriedPiece::Nothing, true},
    {0, CarriedPiece::Nothing, false},
    {1, CarriedBall(Colour::Green), false},
    {1, CarriedHole(Colour::Red), false},
};

TEST_F(BoardRendererTest, LampIsLitOnlyForASolvableLevelWithNothingCarried) {
  for (const IndicatorCase& c : IndicatorCases) {
    SCOPED_TRACE("solvable " + std::to_string(c.solvable) + ", carried " +
                 std::to_string(static_cast<int>(c.carried)));
    Level level = ClearedLevel(5);
    level.solvable = c.solvable;
    const QImage frame = Draw(level, {c.carried, WallKind::None, 2, 2, 168, 168});
    if (c.lit) {
      EXPECT_EQ(frame.copy(86, 273, 33, 36), images->lampLit);
      EXPECT_EQ(frame.copy(119, 287, 111, 16), images->labelSolutionExists);
    } else {
      EXPECT_EQ(frame.copy(92, 279, 21, 30), images->lampUnlit);
      EXPECT_EQ(frame.copy(119, 287, 111, 16), images->labelNoSolution);
      EXPECT_TRUE(AreaIs(frame, QRect(86, 273, 33, 6), Background));  // no trace of the lit lamp
    }
    EXPECT_TRUE(AreaIs(frame, QRect(119, 303, 111, 56), Background));  // nothing below the label
  }
}

// ---------------------------------------------------------------- robustness

TEST_F(BoardRendererTest, EarlierFramesLeaveNoTrace) {
  BoardRenderer renderer(*images);
  Level big = ClearedLevel(7);
  big.solvable = 0;
  renderer.DrawFrame(big, {CarriedPiece::BlueBall, WallKind::None, 0, 0, 30, 30});
  const Level small = ClearedLevel(3);
  EXPECT_TRUE(Differences(renderer.DrawFrame(small, {}), Draw(small)).empty());
}

TEST_F(BoardRendererTest, HoverLeftFromALargerBoardReadsNoCellOutsideTheBoard) {
  const Level small = ClearedLevel(3);
  const EditingState stale{CarriedPiece::Nothing, WallKind::South, 5, 5, 250, 250};
  EXPECT_TRUE(Differences(Draw(small, stale), Draw(small)).empty());
  const EditingState staleDrop{CarriedBall(Colour::Blue), WallKind::None, 6, 0, 250, 250};
  Level without = small;
  without.balls[2].colour = -1;
  without.solvable = 0;
  EXPECT_TRUE(Differences(Draw(small, staleDrop), Draw(without)).empty());
}

TEST_F(BoardRendererTest, BoardNotYetBuiltShowsOnlyTheBackground) {
  const QImage frame = Draw(Level{});
  EXPECT_TRUE(AreaIs(frame, frame.rect(), Background));
}

}  // namespace

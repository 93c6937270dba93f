// The drawing steps give the same frame on both canvases: the editor's QPainter
// canvas and the plain pixel buffer of the web page and the server, for random
// levels of every size and every kind of editing state.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "drawing/board_geometry.h"
#include "drawing/buffer_canvas.h"
#include "logic/maze.h"
#include "view/board_renderer.h"
#include "view/raster_conversion.h"

namespace {

/// A random maze with its pieces on random squares, balls and holes each on
/// three different squares; every draw comes from the one engine.
Level RandomLevel(int n, std::mt19937& engine) {
  Level level;
  RandomMaze(level, n, [&engine] { return static_cast<int>(engine() % 32768u); });
  for (Pieces* pieces : {&level.balls, &level.holes}) {
    std::vector<int> squares(static_cast<std::size_t>(n * n));
    for (std::size_t i = 0; i < squares.size(); ++i) squares[i] = static_cast<int>(i);
    std::shuffle(squares.begin(), squares.end(), engine);
    for (std::size_t i = 0; i < 3; ++i)
      (*pieces)[i] = {static_cast<std::int8_t>(squares[i] % n),
                      static_cast<std::int8_t>(squares[i] / n), 0,
                      ColourNumber(ColoursRedFirst[i])};
  }
  level.solvable = static_cast<std::uint8_t>(engine() % 2);
  return level;
}

struct NamedState {
  std::string name;
  EditingState editing;
};

/// Nothing; every wall position of every square hovered; a piece carried
/// over every square, and every piece carried with the pointer in a corner
/// of the view and far outside it; and hovers left over from a larger board.
std::vector<NamedState> EditingStates(int n) {
  std::vector<NamedState> states{{"nothing", {}}};
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const std::string square =
          " at (" + std::to_string(column) + ", " + std::to_string(row) + ")";
      const int x = SquareOrigin(n, column), y = SquareOrigin(n, row);
      states.push_back({"east wall" + square,
                        {CarriedPiece::Nothing, WallKind::East, column, row, x + 35, y + 10}});
      states.push_back({"south wall" + square,
                        {CarriedPiece::Nothing, WallKind::South, column, row, x + 10, y + 35}});
      // The six items take turns over the squares.
      const int item = (row * n + column) % 6 + 1;
      const std::string carried = " carrying item " + std::to_string(item);
      states.push_back(
          {"square" + square + carried,
           {static_cast<CarriedPiece>(item), WallKind::None, column, row, x + 15, y + 15}});
    }
  }
  const std::vector<std::pair<int, int>> pointers = {
      {0, 0},     {5, 3},       {ViewWidth - 1, ViewHeight - 1}, {ViewWidth - 4, 2},
      {-40, 500}, {1000, -1000}};
  for (const auto& [x, y] : pointers) {
    for (int item = 1; item <= 6; ++item) {
      states.push_back({"pointer at " + std::to_string(x) + ", " + std::to_string(y) +
                            " carrying item " + std::to_string(item),
                        {static_cast<CarriedPiece>(item), WallKind::None, n - 1, 0, x, y}});
    }
  }
  states.push_back({"stale east hover", {CarriedPiece::Nothing, WallKind::East, 6, 6, 290, 290}});
  states.push_back({"stale carry", {CarriedPiece::BlueBall, WallKind::None, 6, 6, 290, 290}});
  states.push_back({"hover of an unknown kind",
                    {CarriedPiece::Nothing, static_cast<WallKind>(3), 0, 0, 60, 60}});
  return states;
}

/// The first pixel where the two frames differ, for the failure message.
std::string FirstDifference(const QImage& painted, const RgbImage& buffered) {
  for (int y = 0; y < painted.height(); ++y)
    for (int x = 0; x < painted.width(); ++x)
      if ((painted.pixel(x, y) | 0xff000000u) != buffered.pixel(x, y))
        return std::string("(")
            .append(std::to_string(x))
            .append(", ")
            .append(std::to_string(y))
            .append(")");
  return "none";
}

class CanvasIdentityTest : public ::testing::Test {
 protected:
  CanvasIdentityTest()
      : images(LoadBoardImages()), painter(images), buffer(ToBoardPixels(images)) {}

  void ExpectSameFrame(const Level& level, const NamedState& state) {
    const QImage& painted = painter.DrawFrame(level, state.editing);
    const RgbImage& buffered = buffer.DrawFrame(level, state.editing);
    ASSERT_EQ(buffered.width, painted.width());
    ASSERT_EQ(buffered.height, painted.height());
    EXPECT_TRUE(ToRgbImage(painted) == buffered)
        << state.name << ": first difference at " << FirstDifference(painted, buffered);
  }

  BoardImages images;
  BoardRenderer painter;
  BufferRenderer buffer;
};

TEST_F(CanvasIdentityTest, BufferHoldsTheImagesAtTheirSizes) {
  EXPECT_TRUE(HasBoardImageSizes(buffer.images()));
}

TEST_F(CanvasIdentityTest, SameFrameForRandomLevelsOfEverySizeAndEveryEditingState) {
  std::mt19937 engine(20240614);
  for (int n : {3, 5, 7}) {
    const std::vector<NamedState> states = EditingStates(n);
    for (int round = 0; round < 4; ++round) {
      const Level level = RandomLevel(n, engine);
      SCOPED_TRACE("N = " + std::to_string(n) + ", level " + std::to_string(round));
      for (const NamedState& state : states) ExpectSameFrame(level, state);
    }
  }
}

// Designer mode's and the game's frames: the colours' shapes, at the scales
// of the screens, from the images made for each scale.
TEST_F(CanvasIdentityTest, SameFrameWithTheColoursShapesAtEveryScale) {
  std::mt19937 engine(20250101);
  for (const double factor : {1.0, 1.25, 1.5, 2.0, 3.0}) {
    const DrawOptions options{true, BoardScale(factor), MakeRgb(64, 64, 64)};
    painter.SetOptions(options);
    buffer.SetOptions(options);
    for (int n : {3, 5, 7}) {
      const std::vector<NamedState> states = EditingStates(n);
      const Level level = RandomLevel(n, engine);
      SCOPED_TRACE("scale " + std::to_string(factor) + ", N = " + std::to_string(n));
      // Every fifth state, so that each kind comes up at every scale.
      for (std::size_t i = 0; i < states.size(); i += 5) ExpectSameFrame(level, states[i]);
    }
  }
}

TEST_F(CanvasIdentityTest, SameFrameForLevelsWithBrokenPartsTheDrawingSkips) {
  std::mt19937 engine(7);
  Level unbuilt;  // no board yet: the background only
  Level wrongCells = RandomLevel(5, engine);
  wrongCells.cells.resize(3);
  Level badColours = RandomLevel(7, engine);
  badColours.balls[1].colour = 5;
  badColours.holes[0].colour = -1;
  for (const Level* level : {&unbuilt, &wrongCells, &badColours}) {
    ExpectSameFrame(*level, {"nothing", {}});
    ExpectSameFrame(*level, {"carrying", {CarriedPiece::BlueHole, WallKind::None, 1, 1, 100, 100}});
  }
}

// Copies reaching past the edge of an image or of the canvas leave out what
// lies outside; what is left keeps its place.
TEST(BufferCanvasTest, CopiesAndFillsAreClippedToTheImageAndTheCanvas) {
  BoardPixels images;
  for (BoardImage image : AllBoardImages) {
    const Rect size = BoardImageRect(image);
    RgbImage& pixels = images[static_cast<std::size_t>(image)];
    pixels = RgbImage(size.width, size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) pixels.pixel(x, y) = MakeRgb(x, y, 7);
  }
  const Rgb untouched = MakeRgb(1, 1, 1);
  RgbImage target(8, 6, untouched);
  BufferCanvas canvas(target, images);
  canvas.Copy({5, 3}, BoardImage::LampUnlit,
              {18, 27, 5, 5});  // 3 x 3 left in the image, 3 x 3 in the canvas
  canvas.Copy({-2, -1}, BoardImage::LampUnlit, {-4, 0, 6, 2});  // image (0, 0) lands on (2, -1)
  canvas.Fill({-3, 4, 4, 9}, MakeRgb(200, 0, 0));               // column 0, rows 4 and 5
  RgbImage expected(8, 6, untouched);
  for (int y = 3; y < 6; ++y)
    for (int x = 5; x < 8; ++x) expected.pixel(x, y) = MakeRgb(x + 13, y + 24, 7);
  expected.pixel(2, 0) = MakeRgb(0, 1, 7);
  expected.pixel(3, 0) = MakeRgb(1, 1, 7);
  expected.pixel(0, 4) = expected.pixel(0, 5) = MakeRgb(200, 0, 0);
  EXPECT_TRUE(target == expected);
}

}  // namespace

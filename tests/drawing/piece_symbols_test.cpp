// The colours' shapes: exact pictures at 1x, and at every scale a mark that
// stays inside its ball, three shapes that stay apart, and a hole whose shape
// still shows around a ball standing on it.

#include "drawing/piece_symbols.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/board_art.h"
#include "drawing/board_geometry.h"
#include "drawing/buffer_canvas.h"

namespace {

constexpr double Scales[] = {1.0, 1.25, 1.5, 2.0, 3.0};
constexpr Rgb White = MakeRgb(255, 255, 255);
constexpr Rgb Floor = MakeRgb(220, 220, 220);
constexpr Rgb HoleColour = MakeRgb(50, 220, 50);
constexpr PieceShape Shapes[] = {PieceShape::Disc, PieceShape::Triangle, PieceShape::Square};

const char* NameOf(PieceShape shape) {
  switch (shape) {
    case PieceShape::Disc: return "disc";
    case PieceShape::Triangle: return "triangle";
    case PieceShape::Square: return "square";
  }
  return "?";
}

/// A width x height image of one colour with the drawing done on it.
RgbImage Drawn(int width, int height, Rgb background,
               const std::function<void(BoardCanvas&)>& draw) {
  RgbImage image(width, height, background);
  const BoardPixels noImages;
  BufferCanvas canvas(image, noImages);
  draw(canvas);
  return image;
}

/// A ball's frame at the scale with its mark on white.
RgbImage MarkedBall(const BoardScale& scale, PieceShape shape) {
  const int side = scale.Length(BallSize);
  return Drawn(side, side, White, [&](BoardCanvas& canvas) {
    FillBallMark(canvas, scale, shape, {0, 0, BallSize, BallSize});
  });
}

/// A hole's square at the scale with its shape on the floor.
RgbImage Hole(const BoardScale& scale, PieceShape shape) {
  const int side = scale.Length(SquareSize);
  return Drawn(side, side, Floor, [&](BoardCanvas& canvas) {
    FillHoleShape(canvas, scale, shape, {0, 0, SquareSize, SquareSize}, HoleColour);
  });
}

std::vector<std::pair<int, int>> PixelsOf(const RgbImage& image, Rgb colour) {
  std::vector<std::pair<int, int>> pixels;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (image.pixel(x, y) == colour) pixels.emplace_back(x, y);
  return pixels;
}

// ---------------------------------------------------------------- 1x

struct MarkPicture {
  PieceShape shape;
  std::array<std::string_view, 14> rows;  // rows 6 to 19, columns 7 to 19 of the ball
};

constexpr MarkPicture MarkPictures[] = {
    {PieceShape::Disc,
     {".............", ".............", "....#####....", "...#######...", "..#########..",
      ".###########.", ".###########.", ".###########.", ".###########.", ".###########.",
      "..#########..", "...#######...", "....#####....", "............."}},
    {PieceShape::Triangle,
     {"......#......", "......#......", ".....###.....", ".....###.....", "....#####....",
      "....#####....", "...#######...", "..#########..", "..#########..", ".###########.",
      ".###########.", "#############", ".............", "............."}},
    {PieceShape::Square,
     {".............", ".............", ".............", "..#########..", "..#########..",
      "..#########..", "..#########..", "..#########..", "..#########..", "..#########..",
      "..#########..", "..#########..", ".............", "............."}},
};

TEST(PieceSymbolsTest, BallMarksAtOneToOneArePixelForPixel) {
  for (const MarkPicture& c : MarkPictures) {
    SCOPED_TRACE(NameOf(c.shape));
    const RgbImage ball = MarkedBall(BoardScale(), c.shape);
    for (int y = 0; y < BallSize; ++y) {
      for (int x = 0; x < BallSize; ++x) {
        const bool inPicture = y >= 6 && y <= 19 && x >= 7 && x <= 19;
        const bool ink = inPicture && c.rows[y - 6][x - 7] == '#';
        ASSERT_EQ(ball.pixel(x, y) == SymbolInk, ink) << x << ", " << y;
      }
    }
  }
}

struct HolePicture {
  PieceShape shape;
  std::array<std::string_view, 31> rows;  // '.' floor, '#' outline, 'o' the hole's colour
};

const HolePicture HolePictures[] = {
    {PieceShape::Triangle, {"...............#...............", "...............#...............",
                            "..............#o#..............", "..............#o#..............",
                            ".............#ooo#.............", ".............#ooo#.............",
                            "............#ooooo#............", "............#ooooo#............",
                            "...........#ooooooo#...........", "...........#ooooooo#...........",
                            "..........#ooooooooo#..........", "..........#ooooooooo#..........",
                            ".........#ooooooooooo#.........", ".........#ooooooooooo#.........",
                            "........#ooooooooooooo#........", "........#ooooooooooooo#........",
                            ".......#ooooooooooooooo#.......", ".......#ooooooooooooooo#.......",
                            "......#ooooooooooooooooo#......", "......#ooooooooooooooooo#......",
                            ".....#ooooooooooooooooooo#.....", ".....#ooooooooooooooooooo#.....",
                            "....#ooooooooooooooooooooo#....", "....#ooooooooooooooooooooo#....",
                            "...#ooooooooooooooooooooooo#...", "...#ooooooooooooooooooooooo#...",
                            "..#ooooooooooooooooooooooooo#..", "..#ooooooooooooooooooooooooo#..",
                            ".#ooooooooooooooooooooooooooo#.", ".#ooooooooooooooooooooooooooo#.",
                            "###############################"}},
    {PieceShape::Disc, {"............#######............", ".........###ooooooo###.........",
                        ".......##ooooooooooooo##.......", "......#ooooooooooooooooo#......",
                        ".....#ooooooooooooooooooo#.....", "....#ooooooooooooooooooooo#....",
                        "...#ooooooooooooooooooooooo#...", "..#ooooooooooooooooooooooooo#..",
                        "..#ooooooooooooooooooooooooo#..", ".#ooooooooooooooooooooooooooo#.",
                        ".#ooooooooooooooooooooooooooo#.", ".#ooooooooooooooooooooooooooo#.",
                        "#ooooooooooooooooooooooooooooo#", "#ooooooooooooooooooooooooooooo#",
                        "#ooooooooooooooooooooooooooooo#", "#ooooooooooooooooooooooooooooo#",
                        "#ooooooooooooooooooooooooooooo#", "#ooooooooooooooooooooooooooooo#",
                        "#ooooooooooooooooooooooooooooo#", ".#ooooooooooooooooooooooooooo#.",
                        ".#ooooooooooooooooooooooooooo#.", ".#ooooooooooooooooooooooooooo#.",
                        "..#ooooooooooooooooooooooooo#..", "..#ooooooooooooooooooooooooo#..",
                        "...#ooooooooooooooooooooooo#...", "....#ooooooooooooooooooooo#....",
                        ".....#ooooooooooooooooooo#.....", "......#ooooooooooooooooo#......",
                        ".......##ooooooooooooo##.......", ".........###ooooooo###.........",
                        "............#######............"}},
};

TEST(PieceSymbolsTest, HoleShapesAtOneToOneArePixelForPixel) {
  const Rgb outline = OutlineOf(HoleColour);
  for (const HolePicture& c : HolePictures) {
    SCOPED_TRACE(NameOf(c.shape));
    const RgbImage hole = Hole(BoardScale(), c.shape);
    for (int y = 0; y < SquareSize; ++y) {
      for (int x = 0; x < SquareSize; ++x) {
        const char code = c.rows[y][x];
        ASSERT_EQ(hole.pixel(x, y), code == '#'   ? outline
                                    : code == 'o' ? HoleColour
                                                  : Floor)
            << x << ", " << y;
      }
    }
  }
}

TEST(PieceSymbolsTest, OutlineIsTheColourDarkened) {
  EXPECT_EQ(OutlineOf(MakeRgb(120, 120, 255)), MakeRgb(54, 54, 115));
  EXPECT_EQ(OutlineOf(MakeRgb(50, 220, 50)), MakeRgb(22, 99, 22));  // 22.4999...
  EXPECT_EQ(OutlineOf(MakeRgb(255, 100, 100)), MakeRgb(115, 45, 45));
}

// ---------------------------------------------------------------- every scale

// Three board pixels of the ball's own colour at least stay around the mark,
// inside the disc the ball's mask gives.
TEST(PieceSymbolsTest, MarksStayInsideTheBallWithItsColourAroundThem) {
  for (const double factor : Scales) {
    const BoardScale scale(factor);
    const BoardPixels images = MakeBoardPixels(scale);
    const RgbImage& sheet = images[static_cast<std::size_t>(BoardImage::BallSheet)];
    const Rect mask = PlaceOf(ImagePart::BallMask, scale).rect;
    const int margin = static_cast<int>(std::ceil(3 * factor));
    const auto inDisc = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < mask.width && y < mask.height &&
             sheet.pixel(mask.x + x, mask.y + y) == White;
    };
    for (const PieceShape shape : Shapes) {
      SCOPED_TRACE(std::string(NameOf(shape)) + " at " + std::to_string(factor));
      const auto ink = PixelsOf(MarkedBall(scale, shape), SymbolInk);
      ASSERT_FALSE(ink.empty());
      for (const auto& [x, y] : ink) {
        ASSERT_TRUE(inDisc(x - margin, y) && inDisc(x + margin, y) && inDisc(x, y - margin) &&
                    inDisc(x, y + margin))
            << x << ", " << y;
      }
    }
  }
}

struct AreaCase {
  PieceShape shape;
  double boardArea;  // of the exact shape, in board pixels
};

constexpr AreaCase MarkAreas[] = {{PieceShape::Disc, 3.14159265 * 5.5 * 5.5},
                                  {PieceShape::Triangle, 12 * 13 / 2.0},
                                  {PieceShape::Square, 81}};

TEST(PieceSymbolsTest, MarksKeepTheirAreaAtEveryScale) {
  for (const double factor : Scales) {
    for (const AreaCase& c : MarkAreas) {
      SCOPED_TRACE(std::string(NameOf(c.shape)) + " at " + std::to_string(factor));
      const double pixels =
          static_cast<double>(PixelsOf(MarkedBall(BoardScale(factor), c.shape), SymbolInk).size());
      EXPECT_NEAR(pixels / (c.boardArea * factor * factor), 1.0, 0.15);
    }
  }
}

// Laid over each other, any two marks differ in at least a fifth of the
// smaller one's pixels.
TEST(PieceSymbolsTest, TheThreeMarksStayApartAtEveryScale) {
  for (const double factor : Scales) {
    std::vector<std::vector<bool>> inks;
    for (const PieceShape shape : Shapes) {
      const RgbImage ball = MarkedBall(BoardScale(factor), shape);
      std::vector<bool> ink;
      for (const Rgb pixel : ball.pixels) ink.push_back(pixel == SymbolInk);
      inks.push_back(ink);
    }
    for (std::size_t a = 0; a < inks.size(); ++a) {
      for (std::size_t b = a + 1; b < inks.size(); ++b) {
        int differ = 0, inA = 0, inB = 0;
        for (std::size_t i = 0; i < inks[a].size(); ++i) {
          differ += inks[a][i] != inks[b][i];
          inA += inks[a][i];
          inB += inks[b][i];
        }
        EXPECT_GE(differ * 5, std::min(inA, inB))
            << NameOf(Shapes[a]) << " and " << NameOf(Shapes[b]) << " at " << factor;
      }
    }
  }
}

enum class Seen { FloorColour, Outline, Hole };

struct CornerCase {
  PieceShape shape;
  Seen topLeft, bottomLeft, middleLeft;
};

constexpr CornerCase Corners[] = {
    {PieceShape::Square, Seen::Outline, Seen::Outline, Seen::Outline},
    {PieceShape::Disc, Seen::FloorColour, Seen::FloorColour, Seen::Outline},
    {PieceShape::Triangle, Seen::FloorColour, Seen::Outline, Seen::FloorColour},
};

// The shape of a hole fills its square's middle, its corners tell the shapes
// apart, and a ball on it (its mask's disc, whitened) leaves some of the hole's
// colour and outline in view.
TEST(PieceSymbolsTest, HoleShapesShowAroundABallAtEveryScale) {
  const Rgb outline = OutlineOf(HoleColour);
  for (const double factor : Scales) {
    const BoardScale scale(factor);
    const BoardPixels images = MakeBoardPixels(scale);
    const Rect mask = PlaceOf(ImagePart::BallMask, scale).rect;
    for (const CornerCase& c : Corners) {
      SCOPED_TRACE(std::string(NameOf(c.shape)) + " at " + std::to_string(factor));
      RgbImage hole = Hole(scale, c.shape);
      const int last = hole.width - 1;
      const auto seen = [&](int x, int y) {
        const Rgb pixel = hole.pixel(x, y);
        return pixel == Floor ? Seen::FloorColour : pixel == outline ? Seen::Outline : Seen::Hole;
      };
      EXPECT_EQ(seen(0, 0), c.topLeft);
      EXPECT_EQ(seen(0, last), c.bottomLeft);
      EXPECT_EQ(seen(0, hole.height / 2), c.middleLeft);
      EXPECT_EQ(seen(hole.width / 2, hole.height / 2), Seen::Hole);

      BufferCanvas canvas(hole, images);
      canvas.Or(scale.At({2, 2}), BoardImage::BallSheet, mask);
      EXPECT_GE(PixelsOf(hole, HoleColour).size(), 4u);
      EXPECT_GE(PixelsOf(hole, outline).size(), static_cast<std::size_t>(40 * factor));
    }
  }
}

// The square hole covers exactly the square a hole without shapes fills.
TEST(PieceSymbolsTest, SquareHoleCoversTheWholeSquareAtEveryScale) {
  for (const double factor : Scales) {
    const BoardScale scale(factor);
    const RgbImage drawn = Drawn(100, 100, Floor, [&](BoardCanvas& canvas) {
      FillHoleShape(canvas, scale, PieceShape::Square, {3, 5, SquareSize, SquareSize}, HoleColour);
    });
    const Rect area = scale.Area({3, 5, SquareSize, SquareSize});
    for (int y = 0; y < drawn.height; ++y)
      for (int x = 0; x < drawn.width; ++x) {
        const bool inside =
            x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
        ASSERT_EQ(drawn.pixel(x, y) != Floor, inside) << factor << ": " << x << ", " << y;
      }
  }
}

}  // namespace

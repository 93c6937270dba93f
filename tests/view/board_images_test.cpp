// The shipped board images and icon keep every size, region, colour and
// pattern the drawing relies on.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <array>
#include <set>
#include <string>
#include <string_view>

#include "drawing/board_art.h"
#include "view/board_renderer.h"
#include "view/raster_conversion.h"

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb ViewGrey = qRgb(128, 128, 128);

bool InDisc(int u, int v) { return (u - 13) * (u - 13) + (v - 13) * (v - 13) <= 185; }

bool IsGrey(QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); }

class BoardImagesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { images = new BoardImages(LoadBoardImages()); }
  static void TearDownTestSuite() { delete images; }
  static BoardImages* images;
};

BoardImages* BoardImagesTest::images = nullptr;

// The rules that draw the images at every scale give, at 1x, the shipped
// files pixel for pixel (tools/make_board_images writes them from the rules).
TEST_F(BoardImagesTest, RulesDrawTheShippedImagesAtOneToOne) {
  const BoardPixels drawn = MakeBoardPixels(BoardScale());
  const BoardPixels shipped = ToBoardPixels(*images);
  for (const BoardImage image : AllBoardImages) {
    SCOPED_TRACE(BoardImageFileName(image));
    EXPECT_TRUE(drawn[static_cast<std::size_t>(image)] == shipped[static_cast<std::size_t>(image)]);
  }
}

TEST_F(BoardImagesTest, EveryImageHasItsSizeInTheSurfaceFormat) {
  struct Expected {
    const char* name;
    const QImage& image;
    QSize size;
  };
  const Expected cases[] = {
      {"ball sheet", images->ballSheet, {108, 27}},
      {"wall hover sheet", images->wallHoverSheet, {51, 51}},
      {"lit lamp", images->lampLit, {33, 36}},
      {"unlit lamp", images->lampUnlit, {21, 30}},
      {"SOLUTION EXISTS", images->labelSolutionExists, {111, 16}},
      {"NO SOLUTION", images->labelNoSolution, {111, 16}},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.image.size(), c.size);
    EXPECT_EQ(c.image.format(), QImage::Format_RGB32);
  }
}

// ---------------------------------------------------------------- balls

struct BallCase {
  const char* name;
  int colour;
  QRgb mid, rim;
};

constexpr BallCase BallCases[] = {
    {"blue", 0, qRgb(148, 148, 255), qRgb(57, 57, 123)},
    {"green", 1, qRgb(148, 247, 148), qRgb(57, 115, 57)},
    {"red", 2, qRgb(255, 148, 148), qRgb(123, 57, 57)},
};

TEST_F(BoardImagesTest, BallFramesAreWhiteOutsideTheDisc) {
  for (const BallCase& c : BallCases) {
    SCOPED_TRACE(c.name);
    for (int v = 0; v < 27; ++v) {
      for (int u = 0; u < 27; ++u) {
        if (InDisc(u, v)) continue;
        const bool nearWhite = c.colour == 1 && u == 26 && v == 18;
        ASSERT_EQ(images->ballSheet.pixel(27 * c.colour + u, v),
                  nearWhite ? qRgb(247, 255, 247) : White)
            << u << ", " << v;
      }
    }
  }
}

TEST_F(BoardImagesTest, BallFramesShowALitSphereInTheirTones) {
  for (const BallCase& c : BallCases) {
    SCOPED_TRACE(c.name);
    const int left = 27 * c.colour;
    EXPECT_EQ(images->ballSheet.pixel(left + 13, 13), c.mid);
    EXPECT_EQ(images->ballSheet.pixel(left + 10, 8), White);
    // The darkest pixel is the rim tone, in the lower-right quarter; pure
    // white appears only in the small highlight.
    QPoint darkest;
    int darkestSum = 3 * 256;
    for (int v = 0; v < 27; ++v) {
      for (int u = 0; u < 27; ++u) {
        if (!InDisc(u, v)) continue;
        const QRgb p = images->ballSheet.pixel(left + u, v);
        const int sum = qRed(p) + qGreen(p) + qBlue(p);
        if (sum < darkestSum) darkestSum = sum, darkest = {u, v};
        if (p == White) {
          EXPECT_LE((u - 10) * (u - 10) + (v - 8) * (v - 8), 4) << u << ", " << v;
        }
      }
    }
    EXPECT_EQ(images->ballSheet.pixel(left + darkest.x(), darkest.y()), c.rim);
    EXPECT_GT(darkest.x(), 13);
    EXPECT_GT(darkest.y(), 13);
  }
}

TEST_F(BoardImagesTest, MaskIsAWhiteDiscOnBlack) {
  for (int v = 0; v < 27; ++v)
    for (int u = 0; u < 27; ++u)
      ASSERT_EQ(images->ballSheet.pixel(81 + u, v), InDisc(u, v) ? White : Black) << u << ", " << v;
}

// ---------------------------------------------------------------- wall hover

TEST_F(BoardImagesTest, HatchStripsHaveDiagonalsFivePixelsApart) {
  const QRect strips[] = {{0, 0, 11, 51}, {0, 0, 51, 11}};
  for (const QRect& strip : strips)
    for (int y = strip.top(); y <= strip.bottom(); ++y)
      for (int x = strip.left(); x <= strip.right(); ++x)
        ASSERT_EQ(images->wallHoverSheet.pixel(x, y), (x + y) % 5 == 0 ? Black : White)
            << x << ", " << y;
}

constexpr std::array<std::string_view, 31> VerticalMarker = {
    "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB",
    "BBBBBBBBBBB", "BGBBBBBBBGB", "GGGBBBBBGGG", "GGGGBBBGGGG", "GRGGGBGGGRG", "RRRGGGGGRRR",
    "GRRRGGGRRRG", "GGRRRGRRRGG", "GGGRRRRRGGG", "BGGGRRRGGGB", "GGGRRRRRGGG", "GGRRRGRRRGG",
    "GRRRGGGRRRG", "RRRGGGGGRRR", "GRGGGBGGGRG", "GGGGBBBGGGG", "GGGBBBBBGGG", "BGBBBBBBBGB",
    "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB", "BBBBBBBBBBB",
    "BBBBBBBBBBB",
};

QRgb MarkerColour(char code) {
  return code == 'B' ? Black : code == 'G' ? qRgb(222, 222, 222) : qRgb(255, 0, 0);
}

TEST_F(BoardImagesTest, MarkersFollowTheTablePixelForPixel) {
  for (int row = 0; row < 31; ++row) {
    for (int column = 0; column < 11; ++column) {
      SCOPED_TRACE("marker row " + std::to_string(row) + ", column " + std::to_string(column));
      const QRgb expected = MarkerColour(VerticalMarker[row][column]);
      EXPECT_EQ(images->wallHoverSheet.pixel(22 + column, 12 + row), expected);
      EXPECT_EQ(images->wallHoverSheet.pixel(12 + row, 22 + column), expected);  // transposed
    }
  }
}

// ---------------------------------------------------------------- lamps

std::set<QRgb> Colours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

TEST_F(BoardImagesTest, LampsStandOnTheViewBackgroundWithTheirBaseAtTheBottomCentre) {
  for (const QImage* lamp : {&images->lampLit, &images->lampUnlit}) {
    const int right = lamp->width() - 1, bottom = lamp->height() - 1, centre = lamp->width() / 2;
    EXPECT_EQ(lamp->pixel(0, 0), ViewGrey);
    EXPECT_EQ(lamp->pixel(right, 0), ViewGrey);
    EXPECT_EQ(lamp->pixel(0, bottom), ViewGrey);
    EXPECT_EQ(lamp->pixel(right, bottom), ViewGrey);
    EXPECT_NE(lamp->pixel(centre, bottom), ViewGrey);  // the base ends on the last row
    EXPECT_TRUE(IsGrey(lamp->pixel(centre, bottom - 2)));
  }
}

TEST_F(BoardImagesTest, LitLampGlowsGreenWithAPaleYellowFilament) {
  const std::set<QRgb> colours = Colours(images->lampLit);
  for (const QRgb expected :
       {qRgb(252, 255, 252), qRgb(172, 255, 172), qRgb(255, 255, 192), ViewGrey})
    EXPECT_TRUE(colours.count(expected)) << std::hex << expected;
  // The glass and halo lean green: no pixel has more red or blue than green.
  for (const QRgb c : colours) {
    EXPECT_GE(qGreen(c), std::max(qRed(c), qBlue(c))) << std::hex << c;
  }
}

TEST_F(BoardImagesTest, UnlitLampIsGreyFromLightUpperLeftToDarkRightEdge) {
  const std::set<QRgb> colours = Colours(images->lampUnlit);
  for (const QRgb c : colours) {
    EXPECT_TRUE(IsGrey(c)) << std::hex << c;
  }
  EXPECT_TRUE(colours.count(qRgb(224, 224, 224)));
  EXPECT_TRUE(colours.count(qRgb(63, 63, 63)));
  // The glass has no halo: its widest row reaches the image's edges, grey to the left of
  // the glass being light and at the right edge darkest.
  EXPECT_GT(qRed(images->lampUnlit.pixel(4, 5)), qRed(images->lampUnlit.pixel(16, 9)));
  EXPECT_EQ(images->lampUnlit.pixel(19, 9), qRgb(63, 63, 63));
}

// ---------------------------------------------------------------- labels

struct LabelCase {
  const char* text;
  const QImage& label;
  QRgb ink;
  int firstInk, lastInk;
};

TEST_F(BoardImagesTest, LabelsAreInkOnTheViewBackgroundAcrossTheirExtent) {
  const LabelCase cases[] = {
      {"SOLUTION EXISTS", images->labelSolutionExists, qRgb(0, 255, 0), 0, 110},
      {"NO SOLUTION", images->labelNoSolution, qRgb(150, 150, 150), 14, 110},
  };
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Colours(c.label), (std::set<QRgb>{ViewGrey, c.ink}));
    int first = c.label.width(), last = -1;
    for (int y = 0; y < c.label.height(); ++y)
      for (int x = 0; x < c.label.width(); ++x)
        if (c.label.pixel(x, y) == c.ink) first = std::min(first, x), last = std::max(last, x);
    EXPECT_EQ(first, c.firstInk);
    EXPECT_EQ(last, c.lastInk);
  }
}

// ---------------------------------------------------------------- icon

// The sixteen colours of the classic icon palette.
const std::set<QRgb> IconPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

TEST(EditorIconTest, BothSizesUseTheSixteenColoursAndAreOpenAboveTheSteps) {
  for (const int size : {32, 16}) {
    SCOPED_TRACE(size);
    const QImage icon(QStringLiteral(KORVALO_SOURCE_DIR "/view/icons/korvalo_%1.png").arg(size));
    ASSERT_EQ(icon.size(), QSize(size, size));
    ASSERT_TRUE(icon.hasAlphaChannel());
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb p = icon.pixel(x, y);
        if (qAlpha(p) == 0) continue;
        ASSERT_EQ(qAlpha(p), 255) << x << ", " << y;
        ASSERT_TRUE(IconPalette.count(p | 0xff000000u)) << x << ", " << y << ": " << std::hex << p;
      }
    }
    // Transparent over the lower right compartments, and red, green, blue balls
    // from left to right along the bottom.
    EXPECT_EQ(qAlpha(icon.pixel(size - 1, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(size / 2, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(0, size - 1)), 255);
    const int ballRow = size - size / 8;
    const auto hasColour = [&](int from, int to, QRgb colour) {
      for (int x = from; x < to; ++x)
        if ((icon.pixel(x, ballRow) | 0xff000000u) == colour) return true;
      return false;
    };
    EXPECT_TRUE(hasColour(0, size / 3, qRgb(255, 0, 0)) || hasColour(0, size / 3, qRgb(128, 0, 0)));
    EXPECT_TRUE(hasColour(size / 3, 2 * size / 3, qRgb(0, 255, 0)) ||
                hasColour(size / 3, 2 * size / 3, qRgb(0, 128, 0)));
    EXPECT_TRUE(hasColour(2 * size / 3, size, qRgb(0, 0, 255)) ||
                hasColour(2 * size / 3, size, qRgb(0, 0, 128)));
  }
}

}  // namespace

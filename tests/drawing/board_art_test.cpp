// The board images made for every scale: each part where the drawing looks
// for it, and each picture the one the shipped image shows, with the scale's
// pixels. (At scale 1 they equal the shipped files: tests/view.)

#include "drawing/board_art.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "drawing/board_geometry.h"

namespace {

constexpr double Scales[] = {1.0, 1.25, 1.5, 2.0, 3.0};
constexpr Rgb White = MakeRgb(255, 255, 255);
constexpr Rgb Black = MakeRgb(0, 0, 0);
constexpr Rgb MarkerRed = MakeRgb(255, 0, 0);

constexpr ImagePart AllParts[] = {
    ImagePart::BlueBall,       ImagePart::GreenBall,           ImagePart::RedBall,
    ImagePart::BallMask,       ImagePart::LeftHatch,           ImagePart::TopHatch,
    ImagePart::VerticalMarker, ImagePart::HorizontalMarker,    ImagePart::LampLit,
    ImagePart::LampUnlit,      ImagePart::LabelSolutionExists, ImagePart::LabelNoSolution};

/// The part's size at scale 1.
Rect ShippedSize(ImagePart part) {
  const Rect rect = PlaceOf(part, BoardScale()).rect;
  return {0, 0, rect.width, rect.height};
}

const RgbImage& ImageOf(const BoardPixels& images, BoardImage image) {
  return images[static_cast<std::size_t>(image)];
}

bool Overlap(const Rect& a, const Rect& b) { return !Intersection(a, b).isEmpty(); }

class BoardArtTest : public ::testing::TestWithParam<double> {
 protected:
  BoardScale scale() const { return BoardScale(GetParam()); }
  /// The pixel (x, y) of the part in the images made for the scale.
  Rgb At(const BoardPixels& images, ImagePart part, int x, int y) const {
    const ImagePlace place = PlaceOf(part, scale());
    return ImageOf(images, place.image).pixel(place.rect.x + x, place.rect.y + y);
  }
};

TEST_P(BoardArtTest, EveryPartHasItsLengthInsideItsImageAndNoPartSharesAPixel) {
  const BoardPixels images = MakeBoardPixels(scale());
  for (const BoardImage image : AllBoardImages) {
    const Rect size = BoardImageRect(image, scale());
    EXPECT_EQ(ImageOf(images, image).width, size.width);
    EXPECT_EQ(ImageOf(images, image).height, size.height);
  }
  for (const ImagePart part : AllParts) {
    const ImagePlace place = PlaceOf(part, scale());
    const Rect shipped = ShippedSize(part);
    SCOPED_TRACE(static_cast<int>(part));
    EXPECT_EQ(place.rect.width, scale().Length(shipped.width));
    EXPECT_EQ(place.rect.height, scale().Length(shipped.height));
    EXPECT_EQ(Intersection(place.rect, ImageOf(images, place.image).rect()), place.rect);
  }
  if (scale().IsOne()) return;  // the shipped sheets overlap their parts where they agree
  for (const ImagePart a : AllParts) {
    for (const ImagePart b : AllParts) {
      const bool hatches = (a == ImagePart::LeftHatch && b == ImagePart::TopHatch) ||
                           (a == ImagePart::TopHatch && b == ImagePart::LeftHatch);
      if (a == b || hatches) continue;
      const ImagePlace pa = PlaceOf(a, scale()), pb = PlaceOf(b, scale());
      EXPECT_FALSE(pa.image == pb.image && Overlap(pa.rect, pb.rect))
          << static_cast<int>(a) << " and " << static_cast<int>(b);
    }
  }
}

// A ball frame is white exactly where the mask is black, so the mask's OR and
// the frame's AND leave everything outside the disc as it was.
TEST_P(BoardArtTest, BallsAreWhiteWhereTheMaskIsBlackAndShadedInside) {
  const BoardPixels images = MakeBoardPixels(scale());
  const int side = scale().Length(BallSize);
  const int centre = side / 2;
  const Rgb mids[] = {MakeRgb(148, 148, 255), MakeRgb(148, 247, 148), MakeRgb(255, 148, 148)};
  for (const ImagePart ball : {ImagePart::BlueBall, ImagePart::GreenBall, ImagePart::RedBall}) {
    SCOPED_TRACE(static_cast<int>(ball));
    int inside = 0;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const Rgb mask = At(images, ImagePart::BallMask, x, y);
        ASSERT_TRUE(mask == White || mask == Black);
        // The shipped green ball's one near-white pixel outside its disc.
        const bool nearWhite =
            scale().IsOne() && ball == ImagePart::GreenBall && x == 26 && y == 18;
        if (mask == White) {
          ++inside;
        } else if (!nearWhite) {
          ASSERT_EQ(At(images, ball, x, y), White) << x << ", " << y;
        }
      }
    }
    // The disc fills the frame as at 1x (593 of 729 pixels); the mid tone
    // stands near the centre.
    EXPECT_NEAR(inside / double(side * side), 593.0 / 729.0, 0.02);
    const Rgb middle = At(images, ball, centre, centre);
    const Rgb mid = mids[static_cast<int>(ball)];
    for (const int shift : {16, 8, 0}) {
      EXPECT_NEAR(int((middle >> shift) & 0xff), int((mid >> shift) & 0xff), 12);
    }
  }
}

// The X of the wall markers: red strokes crossing in the middle, grey borders,
// black ends; the horizontal marker is the vertical one transposed.
TEST_P(BoardArtTest, MarkersShowTheXAndAreEachOthersTranspose) {
  const BoardPixels images = MakeBoardPixels(scale());
  const Rect vertical = PlaceOf(ImagePart::VerticalMarker, scale()).rect;
  for (int y = 0; y < vertical.height; ++y)
    for (int x = 0; x < vertical.width; ++x)
      ASSERT_EQ(At(images, ImagePart::VerticalMarker, x, y),
                At(images, ImagePart::HorizontalMarker, y, x))
          << x << ", " << y;
  EXPECT_EQ(At(images, ImagePart::VerticalMarker, vertical.width / 2, vertical.height / 2),
            MarkerRed);
  EXPECT_EQ(At(images, ImagePart::VerticalMarker, 0, 0), Black);
  EXPECT_EQ(At(images, ImagePart::VerticalMarker, vertical.width - 1, vertical.height - 1), Black);
  std::set<Rgb> colours;
  for (int y = 0; y < vertical.height; ++y)
    for (int x = 0; x < vertical.width; ++x)
      colours.insert(At(images, ImagePart::VerticalMarker, x, y));
  EXPECT_EQ(colours, (std::set<Rgb>{Black, MarkerRed, MakeRgb(222, 222, 222)}));
}

// Along its first row each hatch strip has a diagonal every five board pixels.
TEST_P(BoardArtTest, HatchLinesAreFiveBoardPixelsApart) {
  const BoardPixels images = MakeBoardPixels(scale());
  const Rect top = PlaceOf(ImagePart::TopHatch, scale()).rect;
  std::vector<int> lineStarts;
  for (int x = 0; x < top.width; ++x) {
    const bool black = At(images, ImagePart::TopHatch, x, 0) == Black;
    const bool before = x > 0 && At(images, ImagePart::TopHatch, x - 1, 0) == Black;
    if (black && !before) lineStarts.push_back(x);
  }
  ASSERT_GE(lineStarts.size(), 10u);
  for (std::size_t i = 1; i < lineStarts.size(); ++i)
    EXPECT_NEAR(lineStarts[i] - lineStarts[i - 1], 5 * GetParam(), 1.0);
}

TEST_P(BoardArtTest, LabelsKeepTheirInkAndItsExtent) {
  struct Label {
    ImagePart part;
    Rgb ink;
    int firstInk, lastInk;  // columns at 1x
  };
  const Label labels[] = {{ImagePart::LabelSolutionExists, MakeRgb(0, 255, 0), 0, 110},
                          {ImagePart::LabelNoSolution, MakeRgb(150, 150, 150), 14, 110}};
  const BoardPixels images = MakeBoardPixels(scale());
  for (const Label& label : labels) {
    const Rect rect = PlaceOf(label.part, scale()).rect;
    std::set<Rgb> colours;
    int first = rect.width, last = -1;
    for (int y = 0; y < rect.height; ++y) {
      for (int x = 0; x < rect.width; ++x) {
        const Rgb pixel = At(images, label.part, x, y);
        colours.insert(pixel);
        if (pixel == label.ink) first = std::min(first, x), last = std::max(last, x);
      }
    }
    EXPECT_EQ(colours, (std::set<Rgb>{ClassicBackground, label.ink}));
    EXPECT_EQ(first, scale().Edge(label.firstInk));
    EXPECT_EQ(last, scale().Edge(label.lastInk + 1) - 1);
  }
}

TEST_P(BoardArtTest, LampsStandOnTheClassicGreyWithTheBaseAtTheBottomCentre) {
  const BoardPixels images = MakeBoardPixels(scale());
  for (const ImagePart lamp : {ImagePart::LampLit, ImagePart::LampUnlit}) {
    const Rect rect = PlaceOf(lamp, scale()).rect;
    const int right = rect.width - 1, bottom = rect.height - 1;
    EXPECT_EQ(At(images, lamp, 0, 0), ClassicBackground);
    EXPECT_EQ(At(images, lamp, right, 0), ClassicBackground);
    EXPECT_EQ(At(images, lamp, 0, bottom), ClassicBackground);
    EXPECT_NE(At(images, lamp, rect.width / 2, bottom), ClassicBackground);
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, BoardArtTest, ::testing::ValuesIn(Scales),
                         [](const ::testing::TestParamInfo<double>& info) {
                           std::string name = std::to_string(info.param);
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

}  // namespace

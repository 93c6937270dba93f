// Where board pixel edges land on device pixels: the same layout as at 1x,
// with neighbours still touching, at every scale a screen may have.

#include "drawing/board_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "drawing/board_drawing.h"
#include "drawing/board_geometry.h"

namespace {

constexpr double Scales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

struct EdgeCase {
  double factor;
  int board;
  int device;
};

// Halves round up: 1.5 x 1 = 1.5 lands on 2, and -1.5 on -1.
constexpr EdgeCase EdgeCases[] = {
    {1.0, 0, 0},      {1.0, 7, 7},      {1.0, -40, -40}, {1.25, 1, 1},  {1.25, 2, 3},
    {1.25, 325, 406}, {1.25, 359, 449}, {1.5, 1, 2},     {1.5, 3, 5},   {1.5, -1, -1},
    {1.5, 325, 488},  {2.0, 11, 22},    {2.0, -13, -26}, {3.0, 31, 93}, {3.0, 359, 1077},
};

TEST(BoardScaleTest, EdgesLandOnTheNearestDevicePixel) {
  for (const EdgeCase& c : EdgeCases) {
    EXPECT_EQ(BoardScale(c.factor).Edge(c.board), c.device) << c.factor << " x " << c.board;
  }
}

TEST(BoardScaleTest, FactorsOutsideTheRangeAreKeptInIt) {
  EXPECT_EQ(BoardScale(0.0).factor(), BoardScale::MinFactor);
  EXPECT_EQ(BoardScale(-2.0).factor(), BoardScale::MinFactor);
  EXPECT_EQ(BoardScale(100.0).factor(), BoardScale::MaxFactor);
  EXPECT_EQ(BoardScale(std::numeric_limits<double>::quiet_NaN()).factor(), 1.0);
  EXPECT_EQ(BoardScale(std::numeric_limits<double>::infinity()).factor(), BoardScale::MaxFactor);
  EXPECT_TRUE(BoardScale().IsOne());
}

// A square and the wall bar beside it, and every pair of areas that touch at
// 1x, touch at every scale; no area is more than a pixel off its exact size.
TEST(BoardScaleTest, NeighbouringAreasStillTouchAndKeepTheirSize) {
  for (const double factor : Scales) {
    SCOPED_TRACE(factor);
    const BoardScale scale(factor);
    for (int x = -50; x < 400; ++x) {
      for (const int width : {1, GapSize, BallSize, SquareSize, 53}) {
        const Rect left = scale.Area({x, x, width, width});
        const Rect right = scale.Area({x + width, x, 1, 1});
        ASSERT_EQ(left.x + left.width, right.x) << x << " + " << width;
        ASSERT_LE(std::abs(left.width - width * factor), 1.0) << x << " + " << width;
        ASSERT_EQ(left.width, left.height);
      }
    }
  }
}

// The pixel pictures (the labels' letters) are scaled in blocks by this.
TEST(BoardScaleTest, CentresOfDevicePixelsLieInsideTheirBoardPixel) {
  for (const double factor : Scales) {
    const BoardScale scale(factor);
    for (int board = 0; board < 40; ++board) {
      for (int device = scale.Edge(board); device < scale.Edge(board + 1); ++device) {
        const double centre = scale.CentreOf(device);
        EXPECT_GE(centre, board) << factor << ": " << device;
        EXPECT_LE(centre, board + 1) << factor << ": " << device;
      }
    }
  }
}

TEST(BoardScaleTest, FrameSizeIsTheViewAtTheScale) {
  EXPECT_EQ(FrameSize(BoardScale()), (Rect{0, 0, ViewWidth, ViewHeight}));
  EXPECT_EQ(FrameSize(BoardScale(1.5)), (Rect{0, 0, 488, 539}));
  EXPECT_EQ(FrameSize(BoardScale(2)), (Rect{0, 0, 650, 718}));
}

}  // namespace

// Frames drawn for high-density screens: the same layout as at 1x with the
// screen's own pixels, and the colours' shapes changing nothing but the pieces.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "drawing/board_geometry.h"
#include "drawing/piece_symbols.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "view/board_renderer.h"

namespace {

constexpr double Scales[] = {1.0, 1.25, 1.5, 2.0, 3.0};
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Floor = qRgb(220, 220, 220);

// A 7 x 7 maze with its pieces apart; a 5 x 5 one with a ball on a hole of
// another colour; a 3 x 3 one with each ball on its own hole.
constexpr const char* Codes[] = {"7003366663300d4dae70cec86baf110a5e554",
                                 "50022444422005eae44c9f644", "3000110000110fbe5"};

Level LevelOf(const char* code) {
  Level level;
  EXPECT_TRUE(ParseLevelCode(level, code).accepted) << code;
  RecheckLevel(level);
  return level;
}

/// Hovering the east side of square (1, 1), or carrying a ball over square (2, 1).
const EditingState States[] = {
    {},
    {CarriedPiece::Nothing, WallKind::East, 1, 1, 0, 0},
    {CarriedPiece::Nothing, WallKind::South, 1, 1, 0, 0},
    {CarriedPiece::GreenBall, WallKind::None, 2, 1, 140, 90},
    {CarriedPiece::RedHole, WallKind::None, 2, 1, 140, 90},
};

/// The mean, over the pixels of the 1x frame, of the largest difference of a
/// channel between it and the 2x frame made smaller by averaging 2 x 2 blocks;
/// and the share of pixels where that difference exceeds a quarter of the range.
struct Likeness {
  double meanDifference = 0;
  double farShare = 0;
};

Likeness Compare(const QImage& single, const QImage& doubled) {
  Likeness likeness;
  long total = 0, far = 0;
  for (int y = 0; y < single.height(); ++y) {
    for (int x = 0; x < single.width(); ++x) {
      int largest = 0;
      for (const int shift : {16, 8, 0}) {
        int sum = 0;
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx)
            sum += (doubled.pixel(2 * x + dx, 2 * y + dy) >> shift) & 0xff;
        const int average = (sum + 2) / 4;
        largest = std::max(largest, std::abs(average - int((single.pixel(x, y) >> shift) & 0xff)));
      }
      total += largest;
      far += largest > 64;
    }
  }
  const double pixels = double(single.width()) * single.height();
  likeness.meanDifference = total / pixels;
  likeness.farShare = far / pixels;
  return likeness;
}

// The frame for a screen of ratio 2, made smaller, is the 1x frame but for
// the softened edges of round and slanted things.
TEST(ScaledFrameTest, TwoTimesFrameMadeSmallerIsTheOneTimesFrame) {
  for (const bool symbols : {false, true}) {
    BoardRenderer single(DrawOptions{symbols, BoardScale(), ClassicBackground});
    BoardRenderer doubled(DrawOptions{symbols, BoardScale(2), ClassicBackground});
    for (const char* code : Codes) {
      const Level level = LevelOf(code);
      for (const EditingState& editing : States) {
        SCOPED_TRACE(std::string(code) + (symbols ? " with shapes" : "") + ", carrying " +
                     std::to_string(int(editing.CarriedItem)) + ", hover " +
                     std::to_string(int(editing.HoverKind)));
        const QImage one = single.DrawFrame(level, editing).copy();
        const QImage two = doubled.DrawFrame(level, editing).copy();
        ASSERT_EQ(two.size(), 2 * one.size());
        const Likeness likeness = Compare(one, two);
        EXPECT_LT(likeness.meanDifference, 0.5);
        EXPECT_LT(likeness.farShare, 0.002);
      }
    }
  }
}

// Frame, floor, squares and wall bars stand where the scale puts the edges of
// the 1x layout: every wall bar is black over its whole area, and every
// square without a piece is floor over its whole area.
TEST(ScaledFrameTest, LayoutIsTheOneTimesLayoutAtEveryScale) {
  for (const double factor : Scales) {
    const BoardScale scale(factor);
    BoardRenderer renderer(DrawOptions{true, scale, ClassicBackground});
    for (const char* code : Codes) {
      SCOPED_TRACE(std::string(code) + " at " + std::to_string(factor));
      const Level level = LevelOf(code);
      const QImage& frame = renderer.DrawFrame(level);
      const Rect size = FrameSize(scale);
      ASSERT_EQ(frame.size(), QSize(size.width, size.height));
      EXPECT_EQ(frame.devicePixelRatio(), factor);
      const int n = level.boardSize;
      const auto allOf = [&](const Rect& board, QRgb colour) {
        const Rect area = scale.Area(board);
        for (int y = area.y; y < area.y + area.height; ++y)
          for (int x = area.x; x < area.x + area.width; ++x)
            if (frame.pixel(x, y) != colour) return false;
        return true;
      };
      const auto occupied = [&](int column, int row) {
        for (const Pieces* pieces : {&level.balls, &level.holes})
          for (const Piece& piece : *pieces)
            if (piece.column == column && piece.row == row) return true;
        return false;
      };
      for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
          const int x = SquareOrigin(n, column), y = SquareOrigin(n, row);
          const Cell cell = level.cells[row * n + column];
          if (!(cell & OpenEast)) {
            EXPECT_TRUE(allOf({x + SquareSize, y - GapSize, GapSize, 53}, Black));
          }
          if (!(cell & OpenSouth)) {
            EXPECT_TRUE(allOf({x - GapSize, y + SquareSize, 53, GapSize}, Black));
          }
          if (!occupied(column, row)) {
            EXPECT_TRUE(allOf({x, y, SquareSize, SquareSize}, Floor)) << column << ", " << row;
          }
        }
      }
      const int corner = BoardOffset(n) + 10;
      EXPECT_TRUE(allOf({corner, corner, Pitch * n + GapSize, GapSize}, Black));
    }
  }
}

// With the shapes on, only the pieces' squares (and a carried piece) look
// otherwise than in the classic frame.
TEST(ScaledFrameTest, ShapesChangeNothingButThePiecesSquares) {
  BoardRenderer classic;
  BoardRenderer shapes(DrawOptions{true, BoardScale(), ClassicBackground});
  for (const char* code : Codes) {
    SCOPED_TRACE(code);
    const Level level = LevelOf(code);
    const QImage before = classic.DrawFrame(level).copy();
    const QImage& after = shapes.DrawFrame(level);
    const int n = level.boardSize;
    int changed = 0;
    for (int y = 0; y < before.height(); ++y) {
      for (int x = 0; x < before.width(); ++x) {
        if (before.pixel(x, y) == after.pixel(x, y)) continue;
        ++changed;
        bool onAPiece = false;
        for (const Pieces* pieces : {&level.balls, &level.holes}) {
          for (const Piece& piece : *pieces) {
            const int left = SquareOrigin(n, piece.column), top = SquareOrigin(n, piece.row);
            onAPiece |= x >= left && y >= top && x < left + SquareSize && y < top + SquareSize;
          }
        }
        ASSERT_TRUE(onAPiece) << x << ", " << y;
      }
    }
    EXPECT_GT(changed, 3 * 81);  // at least the three balls' marks
  }
}

}  // namespace

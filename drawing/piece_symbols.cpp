#include "drawing/piece_symbols.h"

#include <cmath>

#include "drawing/board_art.h"

namespace {

// A centre that lies exactly on a shape's edge counts as inside, whatever the
// rounding of the arithmetic that found the edge.
constexpr double EdgeSlack = 1e-9;

// The dark outline around a hole's shape, in board pixels: it shows the
// shape against the floor whatever the colours look like. It is the hole's
// colour darkened, so a ring of colour still shows around a ball on a disc.
constexpr int HoleOutline = 1;
constexpr double OutlineDarkening = 0.55;

// The ball's marks, in board pixels around the ball's centre: about the same
// weight each, the triangle's centroid on the centre.
constexpr double MarkDiscRadius = 5.5;  // 11 pixels across at 1x
constexpr int MarkSquareSide = 9;
constexpr double MarkTriangleTip = -7.5;  // above the centre
constexpr double MarkTriangleBase = 4.5;  // below it
constexpr double MarkTriangleHalfBase = 6.5;

/// The rows of device pixels whose centres lie between the board positions top and bottom.
struct RowRange {
  int first;
  int last;
};

RowRange RowsBetween(const BoardScale& scale, double top, double bottom) {
  const double f = scale.factor();
  return {static_cast<int>(std::ceil(top * f - 0.5 - EdgeSlack)),
          static_cast<int>(std::floor(bottom * f - 0.5 + EdgeSlack))};
}

/// Fills a shape that is symmetric about the vertical line at centreX, given
/// by its half-width at each board row position (negative where a row misses
/// it). Rows with the same span go to the canvas as one rectangle.
template <class HalfWidth>
void FillRows(BoardCanvas& canvas, const BoardScale& scale, double centreX, RowRange rows,
              HalfWidth halfWidth, Rgb colour) {
  const double f = scale.factor();
  Rect pending{0, 0, 0, 0};
  const auto flush = [&] {
    if (!pending.isEmpty()) canvas.Fill(pending, colour);
  };
  for (int row = rows.first; row <= rows.last; ++row) {
    const double half = halfWidth(scale.CentreOf(row));
    int left = 0, right = -1;
    if (half >= 0) {
      left = static_cast<int>(std::ceil((centreX - half) * f - 0.5 - EdgeSlack));
      right = static_cast<int>(std::floor((centreX + half) * f - 0.5 + EdgeSlack));
    }
    const int width = right - left + 1;
    if (pending.height > 0 && pending.x == left && pending.width == width &&
        pending.y + pending.height == row) {
      ++pending.height;
      continue;
    }
    flush();
    pending = width > 0 ? Rect{left, row, width, 1} : Rect{0, 0, 0, 0};
  }
  flush();
}

void FillDisc(BoardCanvas& canvas, const BoardScale& scale, double centreX, double centreY,
              double radius, Rgb colour) {
  const auto halfWidth = [=](double y) {
    const double left = radius * radius - (y - centreY) * (y - centreY);
    return left >= 0 ? std::sqrt(left) : -1.0;
  };
  FillRows(canvas, scale, centreX, RowsBetween(scale, centreY - radius, centreY + radius),
           halfWidth, colour);
}

/// A triangle with its tip up at (centreX, tipY) and its base at baseY.
struct Triangle {
  double centreX, tipY, baseY, halfBase;

  /// The triangle whose sides and base lie `inset` board pixels inside these.
  Triangle Inset(double inset) const {
    const double height = baseY - tipY;
    const double slope = halfBase / height;  // half-width gained per row
    const double tipDrop = inset * std::sqrt(1.0 + 1.0 / (slope * slope));
    const double newBase = baseY - inset;
    const double newHalfBase = slope * (newBase - tipY) - inset * std::sqrt(1.0 + slope * slope);
    return {centreX, tipY + tipDrop, newBase, newHalfBase};
  }
};

void FillTriangle(BoardCanvas& canvas, const BoardScale& scale, const Triangle& t, Rgb colour) {
  const auto halfWidth = [&t](double y) { return t.halfBase * (y - t.tipY) / (t.baseY - t.tipY); };
  FillRows(canvas, scale, t.centreX, RowsBetween(scale, t.tipY, t.baseY), halfWidth, colour);
}

/// The shape filling the square, or `inset` board pixels inside its edges.
void FillSquareShape(BoardCanvas& canvas, const BoardScale& scale, PieceShape shape,
                     const Rect& square, int inset, Rgb colour) {
  const double half = square.width / 2.0;
  const double centreX = square.x + half;
  switch (shape) {
    case PieceShape::Disc:
      FillDisc(canvas, scale, centreX, square.y + half, half - inset, colour);
      break;
    case PieceShape::Triangle:
      FillTriangle(
          canvas, scale,
          Triangle{centreX, double(square.y), double(square.y + square.height), half}.Inset(inset),
          colour);
      break;
    case PieceShape::Square:
      canvas.Fill(scale.Area({square.x + inset, square.y + inset, square.width - 2 * inset,
                              square.height - 2 * inset}),
                  colour);
      break;
  }
}

}  // namespace

Rgb OutlineOf(Rgb colour) { return MixColours(colour, SymbolInk, OutlineDarkening); }

void FillHoleShape(BoardCanvas& canvas, const BoardScale& scale, PieceShape shape,
                   const Rect& square, Rgb colour) {
  FillSquareShape(canvas, scale, shape, square, 0, OutlineOf(colour));
  FillSquareShape(canvas, scale, shape, square, HoleOutline, colour);
}

void FillBallMark(BoardCanvas& canvas, const BoardScale& scale, PieceShape shape,
                  const Rect& ball) {
  const double centreX = ball.x + ball.width / 2.0;
  const double centreY = ball.y + ball.height / 2.0;
  switch (shape) {
    case PieceShape::Disc:
      FillDisc(canvas, scale, centreX, centreY, MarkDiscRadius, SymbolInk);
      break;
    case PieceShape::Triangle:
      FillTriangle(
          canvas, scale,
          {centreX, centreY + MarkTriangleTip, centreY + MarkTriangleBase, MarkTriangleHalfBase},
          SymbolInk);
      break;
    case PieceShape::Square: {
      const int corner = (ball.width - MarkSquareSide) / 2;
      canvas.Fill(scale.Area({ball.x + corner, ball.y + corner, MarkSquareSide, MarkSquareSide}),
                  SymbolInk);
      break;
    }
  }
}

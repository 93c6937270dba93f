#pragma once
// The shapes that tell the three colours apart without colour: a hole takes
// the shape of its colour, and its ball carries the same shape, small and
// black, in its middle. A ball standing on a hole still shows the hole's
// shape around it: the square's four corners, the triangle's tip and base, or
// a thin ring for the disc.
//
// Shapes are filled row by row with the canvas's Fill, at any scale: a device
// pixel belongs to a shape when its centre lies inside (on the edge counts).

#include "drawing/board_drawing.h"

enum class PieceShape { Disc, Triangle, Square };

/// Blue is a disc, green a triangle with its tip up, red a square.
constexpr PieceShape ShapeOfColour(int colour) {
  switch (colour) {
    case 0: return PieceShape::Disc;
    case 1: return PieceShape::Triangle;
    default: return PieceShape::Square;
  }
}

/// The black of the marks on the balls.
inline constexpr Rgb SymbolInk = MakeRgb(0, 0, 0);

/// The outline of a hole of this colour: the colour darkened toward black.
Rgb OutlineOf(Rgb colour);

/// Fills the hole's shape inside its square (a board area of 31 x 31 pixels),
/// with an outline one board pixel wide; the square shape fills the whole
/// square, as a hole without symbols does.
void FillHoleShape(BoardCanvas& canvas, const BoardScale& scale, PieceShape shape,
                   const Rect& square, Rgb colour);

/// Puts the ball's black mark in the middle of the ball's board area (27 x 27 pixels).
void FillBallMark(BoardCanvas& canvas, const BoardScale& scale, PieceShape shape, const Rect& ball);

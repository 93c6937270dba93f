#pragma once
// Small helpers the tests of every room share: squares of pieces by colour,
// and whether a board has every inner side open.

#include "logic/level.h"

namespace testsupport {

struct Square {
  int column;
  int row;
  friend bool operator==(const Square&, const Square&) = default;
};

/// The square of the piece of this colour, whatever the record order; (-9, -9) when none has it.
inline Square SquareOf(const Pieces& pieces, Colour colour) {
  for (const Piece& piece : pieces) {
    if (piece.colour == ColourNumber(colour)) return {piece.column, piece.row};
  }
  return {-9, -9};
}

/// True when no inner side of the board is a wall.
inline bool AllInnerSidesOpen(const Level& level) {
  const int n = level.boardSize;
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const Cell cell = level.cells[row * n + column];
      if (column + 1 < n && !(cell & OpenEast)) return false;
      if (row + 1 < n && !(cell & OpenSouth)) return false;
    }
  }
  return true;
}

}  // namespace testsupport

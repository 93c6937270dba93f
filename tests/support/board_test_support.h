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

/// A cleared 5 x 5 board with each ball one square east of its hole, in rows
/// 0, 2 and 4: one move west solves it. The caller rechecks.
inline void PlaceOneMoveFromSolved(Level& level) {
  level.boardSize = 5;
  level.cells.assign(25, 0);
  for (int square = 0; square < 25; ++square) {
    const int column = square % 5;
    const int row = square / 5;
    Cell& cell = level.cells[square];
    if (column < 4) cell |= OpenEast;
    if (row < 4) cell |= OpenSouth;
    if (column > 0) cell |= OpenWest;
    if (row > 0) cell |= OpenNorth;
  }
  for (const Colour c : {Colour::Blue, Colour::Green, Colour::Red}) {
    const std::int8_t colour = ColourNumber(c);
    level.holes[colour] = Piece{0, static_cast<std::int8_t>(2 * colour), 0, colour};
    level.balls[colour] = Piece{1, static_cast<std::int8_t>(2 * colour), 0, colour};
  }
}

}  // namespace testsupport

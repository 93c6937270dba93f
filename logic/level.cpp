#include "logic/level.h"

#include <algorithm>

namespace {

bool SameSquare(const Piece& a, const Piece& b) { return a.column == b.column && a.row == b.row; }

/// Three distinct colours, on three distinct squares of the board.
bool SetIsValid(const Pieces& pieces, std::int32_t boardSize) {
  bool colourSeen[3] = {false, false, false};
  for (const Piece& piece : pieces) {
    if (!IsOnBoard(boardSize, piece.column, piece.row)) return false;
    if (!IsColourNumber(piece.colour)) return false;
    if (colourSeen[piece.colour]) return false;
    colourSeen[piece.colour] = true;
  }
  return !SameSquare(pieces[0], pieces[1]) && !SameSquare(pieces[0], pieces[2]) &&
         !SameSquare(pieces[1], pieces[2]);
}

/// Closed border, no stray bits, and both copies of every inner side equal.
bool WallsAreConsistent(const Level& level) {
  const std::int32_t n = level.boardSize;
  constexpr Cell allSides = OpenEast | OpenSouth | OpenWest | OpenNorth;
  for (std::int32_t row = 0; row < n; ++row) {
    for (std::int32_t column = 0; column < n; ++column) {
      const Cell cell = level.cells[row * n + column];
      if ((cell & ~allSides) != 0) return false;
      if (row == 0 && (cell & OpenNorth)) return false;
      if (row == n - 1 && (cell & OpenSouth)) return false;
      if (column == 0 && (cell & OpenWest)) return false;
      if (column == n - 1 && (cell & OpenEast)) return false;
      if (column + 1 < n &&
          bool(cell & OpenEast) != bool(level.cells[row * n + column + 1] & OpenWest)) {
        return false;
      }
      if (row + 1 < n &&
          bool(cell & OpenSouth) != bool(level.cells[(row + 1) * n + column] & OpenNorth)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

void FreeLevelBuffers(Level& level) {
  // Swapping with empty vectors gives the memory back, unlike clear().
  std::vector<Cell>().swap(level.cells);
}

bool PlacementIsInvalid(const Level& level) {
  return !SetIsValid(level.balls, level.boardSize) || !SetIsValid(level.holes, level.boardSize);
}

void SetDefaultPlacement(Level& level) {
  const auto middle = static_cast<std::int8_t>(level.boardSize / 2);
  const auto last = static_cast<std::int8_t>(level.boardSize - 1);
  auto place = [](Piece& piece, std::int8_t column, std::int8_t row, Colour colour) {
    piece.column = column;
    piece.row = row;
    piece.colour = ColourNumber(colour);
  };
  // Green starts on its own hole; red and blue stand on each other's holes.
  place(level.balls[0], 0, 0, Colour::Red);
  place(level.balls[1], middle, middle, Colour::Green);
  place(level.balls[2], last, last, Colour::Blue);
  place(level.holes[0], 0, 0, Colour::Blue);
  place(level.holes[1], middle, middle, Colour::Green);
  place(level.holes[2], last, last, Colour::Red);
}

std::int32_t StateCount(const Level& level) {
  const std::int32_t squares = level.boardSize * level.boardSize;
  return squares * squares * squares;
}

bool LevelIsConsistent(const Level& level) {
  if (!IsBoardSize(level.boardSize)) return false;
  const auto squares = static_cast<std::size_t>(level.boardSize * level.boardSize);
  if (level.cells.size() != squares) return false;
  return WallsAreConsistent(level) && !PlacementIsInvalid(level);
}

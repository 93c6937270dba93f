#include "logic/level.h"

#include <algorithm>

namespace {

bool OnBoard(const Piece& piece, std::int32_t boardSize) {
  return piece.column >= 0 && piece.column < boardSize && piece.row >= 0 && piece.row < boardSize;
}

bool SameSquare(const Piece& a, const Piece& b) { return a.column == b.column && a.row == b.row; }

/// Three distinct colours from {Blue, Green, Red}, on three distinct squares.
bool SetIsValid(const Pieces& pieces, std::int32_t boardSize) {
  bool colourSeen[3] = {false, false, false};
  for (const Piece& piece : pieces) {
    if (!OnBoard(piece, boardSize)) return false;
    if (piece.colour < Blue || piece.colour > Red) return false;
    if (colourSeen[piece.colour]) return false;
    colourSeen[piece.colour] = true;
  }
  return !SameSquare(pieces[0], pieces[1]) && !SameSquare(pieces[0], pieces[2]) &&
         !SameSquare(pieces[1], pieces[2]);
}

bool IsSupportedSize(std::int32_t boardSize) {
  return boardSize == 3 || boardSize == 5 || boardSize == 7;
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
  std::vector<StateIndex>().swap(level.predecessors);
}

bool PlacementIsInvalid(const Level& level) {
  return !SetIsValid(level.balls, level.boardSize) || !SetIsValid(level.holes, level.boardSize);
}

void SetDefaultPlacement(Level& level) {
  const auto middle = static_cast<std::int8_t>(level.boardSize / 2);
  const auto last = static_cast<std::int8_t>(level.boardSize - 1);
  auto place = [](Piece& piece, std::int8_t column, std::int8_t row, std::int8_t colour) {
    piece.column = column;
    piece.row = row;
    piece.colour = colour;
  };
  // Green starts on its own hole; red and blue stand on each other's holes.
  place(level.balls[0], 0, 0, Red);
  place(level.balls[1], middle, middle, Green);
  place(level.balls[2], last, last, Blue);
  place(level.holes[0], 0, 0, Blue);
  place(level.holes[1], middle, middle, Green);
  place(level.holes[2], last, last, Red);
}

std::int32_t StateCount(const Level& level) {
  const std::int32_t squares = level.boardSize * level.boardSize;
  return squares * squares * squares;
}

bool LevelIsConsistent(const Level& level) {
  if (!IsSupportedSize(level.boardSize)) return false;
  const auto squares = static_cast<std::size_t>(level.boardSize * level.boardSize);
  if (level.cells.size() != squares) return false;
  return WallsAreConsistent(level) && !PlacementIsInvalid(level);
}

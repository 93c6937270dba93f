#include "logic/symmetry.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>

namespace {

constexpr Cell SwapEastWest(Cell cell) {
  const Cell east = cell & OpenEast;
  const Cell west = cell & OpenWest;
  return static_cast<Cell>((cell & ~(OpenEast | OpenWest)) | (east ? OpenWest : 0) |
                           (west ? OpenEast : 0));
}

constexpr Cell SwapSouthNorth(Cell cell) {
  const Cell south = cell & OpenSouth;
  const Cell north = cell & OpenNorth;
  return static_cast<Cell>((cell & ~(OpenSouth | OpenNorth)) | (south ? OpenNorth : 0) |
                           (north ? OpenSouth : 0));
}

/// A quarter turn clockwise of the four side bits: east to south, south to
/// west, west to north, north to east.
constexpr Cell TurnClockwise(Cell cell) {
  return static_cast<Cell>(((cell & 7) << 1) | ((cell & OpenNorth) ? 1 : 0));
}

static_assert(TurnClockwise(OpenEast) == OpenSouth && TurnClockwise(OpenNorth) == OpenEast);
static_assert(SwapEastWest(OpenEast | OpenSouth) == (OpenWest | OpenSouth));

template <typename Change>
void ForEachPiece(Level& level, Change change) {
  for (Piece& piece : level.balls) change(piece);
  for (Piece& piece : level.holes) change(piece);
}

}  // namespace

void XFlip(Level& level) {
  const int n = level.boardSize;
  ForEachPiece(level,
               [n](Piece& piece) { piece.row = static_cast<std::int8_t>(n - 1 - piece.row); });
  for (int column = 0; column < n; ++column) {
    for (int i = 0; i <= n / 2; ++i) {
      Cell& upper = level.cells[i * n + column];
      Cell& lower = level.cells[(n - 1 - i) * n + column];
      const Cell upperTurned = SwapSouthNorth(upper);
      const Cell lowerTurned = SwapSouthNorth(lower);
      upper = lowerTurned;
      lower = upperTurned;
    }
  }
}

void YFlip(Level& level) {
  const int n = level.boardSize;
  ForEachPiece(
      level, [n](Piece& piece) { piece.column = static_cast<std::int8_t>(n - 1 - piece.column); });
  for (int row = 0; row < n; ++row) {
    for (int i = 0; i <= n / 2; ++i) {
      Cell& left = level.cells[row * n + i];
      Cell& right = level.cells[row * n + n - 1 - i];
      const Cell leftMirrored = SwapEastWest(left);
      const Cell rightMirrored = SwapEastWest(right);
      left = rightMirrored;
      right = leftMirrored;
    }
  }
}

// Square (column c, row r) goes to (column N-1-r, row c); each cell byte is
// turned with its square. A copy of the at most 49 bytes keeps every read
// ahead of the writes.
void RotateLevel(Level& level) {
  const int n = level.boardSize;
  ForEachPiece(level, [n](Piece& piece) {
    const std::int8_t column = piece.column;
    piece.column = static_cast<std::int8_t>(n - 1 - piece.row);
    piece.row = column;
  });
  std::array<Cell, 49> before{};
  assert(level.cells.size() <= before.size());
  std::copy(level.cells.begin(), level.cells.end(), before.begin());
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const int newColumn = n - 1 - row;
      const int newRow = column;
      level.cells[newRow * n + newColumn] = TurnClockwise(before[row * n + column]);
    }
  }
}

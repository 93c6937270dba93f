#pragma once
// The one level of the editor: board size, walls, balls, holes and the
// results of the last solver run.

#include <array>
#include <cstdint>
#include <vector>

/// One square's walls: a set bit is an open side, a clear bit a wall.
using Cell = std::uint8_t;
inline constexpr Cell OpenEast = 1;   // toward column + 1
inline constexpr Cell OpenSouth = 2;  // toward row + 1
inline constexpr Cell OpenWest = 4;   // toward column - 1
inline constexpr Cell OpenNorth = 8;  // toward row - 1

/// A wall position beside a square: none, the side east of it, or the side
/// south of it. The hover state and the wall flip share it.
enum class WallKind : std::uint8_t { None = 0, East = 1, South = 2 };

/// Colours of balls and holes. A piece record keeps its colour as this number.
enum class Colour : std::int8_t { Blue = 0, Green = 1, Red = 2 };

/// The colours in the order of a level code and of the records after a recheck.
inline constexpr std::array<Colour, 3> ColoursRedFirst = {Colour::Red, Colour::Green, Colour::Blue};

/// A ball or a hole. A record's place in its array says nothing about its colour.
struct Piece {
  std::int8_t column = 0;
  std::int8_t row = 0;
  std::int8_t sortKey = 0;  // scratch, written just before the records are sorted
  std::int8_t colour = 0;   // the number of a Colour; see ColourOf and ColourNumber
};

// The one place where a record's colour number and the Colour meet.
constexpr std::int8_t ColourNumber(Colour colour) { return static_cast<std::int8_t>(colour); }
/// The record's colour; only for a record whose number is a colour (IsColourNumber).
constexpr Colour ColourOf(const Piece& piece) { return static_cast<Colour>(piece.colour); }
constexpr bool IsColourNumber(int number) { return number >= 0 && number <= 2; }

using Pieces = std::array<Piece, 3>;

/// Squares of the three balls (or holes) as base N*N digits, blue lowest, red highest.
using StateIndex = std::int32_t;

/// The board sizes a level can have: 3, 5 and 7.
constexpr bool IsBoardSize(int n) { return n == 3 || n == 5 || n == 7; }

/// The placements of the three balls, each on a square of its own, on an
/// N x N board: 504, 13800 and 110544 for 3, 5 and 7.
constexpr int BallPlacements(int n) {
  const int squares = n * n;
  return squares * (squares - 1) * (squares - 2);
}

/// True when (column, row) names a square of an N x N board.
constexpr bool IsOnBoard(int n, int column, int row) {
  return column >= 0 && column < n && row >= 0 && row < n;
}

struct Level {
  std::int32_t boardSize = 0;  // N: 3, 5 or 7
  std::vector<Cell> cells;     // N*N, square (column, row) at row*N + column
  Pieces holes{};
  Pieces balls{};
  StateIndex targetState = 0;  // the holes, encoded
  StateIndex startState = 0;   // the balls, encoded
  std::uint8_t solvable = 0;   // result of the last RecheckLevel
};

/// Releases the cells; harmless when they are empty.
void FreeLevelBuffers(Level& level);

/// True when the six pieces do not form a valid placement for level.boardSize.
bool PlacementIsInvalid(const Level& level);

/// Red ball and blue hole top left, green ball and hole in the centre,
/// blue ball and red hole bottom right. sortKey is left alone.
void SetDefaultPlacement(Level& level);

/// (N*N)^3: the number of state indices.
std::int32_t StateCount(const Level& level);

/// True when the level keeps every invariant the operations rely on: cells for
/// the board's size, closed border, both copies of every inner side equal, no
/// stray bits, and a valid placement.
bool LevelIsConsistent(const Level& level);

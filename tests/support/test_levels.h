#pragma once
// Levels for the logic tests: from a code, cleared with chosen pieces, or random.

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string_view>
#include <utility>

#include "logic/level.h"
#include "logic/level_code.h"
#include "logic/maze.h"
#include "logic/solver.h"
#include "tests/support/board_test_support.h"
#include "tests/support/level_code_reading.h"

namespace testlevels {

/// A level read from a code the test knows to be valid, then rechecked.
inline Level FromCode(std::string_view code) {
  Level level;
  const ReadResult result = ReadLevelCode(level, code);
  EXPECT_NE(result.outcome, CodeReading::Rejected) << code << ": " << EnglishReason(result.reason);
  RecheckLevel(level);
  return level;
}

using testsupport::Square;

/// Squares of the red, green and blue piece, whatever the record order.
struct Trio {
  Square red;
  Square green;
  Square blue;
  friend bool operator==(const Trio&, const Trio&) = default;
};

inline Square SquareOfColour(const Pieces& pieces, Colour colour) {
  const Square square = testsupport::SquareOf(pieces, colour);
  if (square == Square{-9, -9}) ADD_FAILURE() << "no piece of colour " << int{ColourNumber(colour)};
  return square;
}

inline Trio ByColour(const Pieces& pieces) {
  return {SquareOfColour(pieces, Colour::Red), SquareOfColour(pieces, Colour::Green),
          SquareOfColour(pieces, Colour::Blue)};
}

/// Records in the order red, green, blue at the given squares.
inline Pieces MakePieces(const Trio& trio) {
  auto piece = [](Square square, Colour colour) {
    return Piece{static_cast<std::int8_t>(square.column), static_cast<std::int8_t>(square.row), 0,
                 ColourNumber(colour)};
  };
  return {piece(trio.red, Colour::Red), piece(trio.green, Colour::Green),
          piece(trio.blue, Colour::Blue)};
}

inline void PrintTo(const Trio& trio, std::ostream* out) {
  *out << "red (" << trio.red.column << ", " << trio.red.row << "), green (" << trio.green.column
       << ", " << trio.green.row << "), blue (" << trio.blue.column << ", " << trio.blue.row << ")";
}

/// Three distinct squares of an n x n board, red, green, blue.
inline Trio RandomSquares(int n, std::mt19937& engine) {
  std::uniform_int_distribution<int> square(0, n * n - 1);
  int a = square(engine), b = square(engine), c = square(engine);
  while (b == a) b = square(engine);
  while (c == a || c == b) c = square(engine);
  return {{a % n, a / n}, {b % n, b / n}, {c % n, c / n}};
}

/// A random maze with random pieces, rechecked. Some mazes get extra passages,
/// up to a board without inner walls, so that loops and balls blocking each
/// other in open rooms are common too.
inline Level RandomLevel(int n, std::mt19937& engine) {
  Level level;
  RandomMaze(level, n, [&engine]() { return static_cast<int>(engine() & 0x7fff); });
  constexpr double ExtraPassageChances[] = {0.0, 0.15, 0.5, 1.0};
  std::bernoulli_distribution extraPassage(ExtraPassageChances[engine() % 4]);
  for (int row = 0; row < n; ++row) {
    for (int column = 0; column < n; ++column) {
      const Cell cell = level.cells[row * n + column];
      if (column + 1 < n && !(cell & OpenEast) && extraPassage(engine)) {
        level.cells[row * n + column] |= OpenEast;
        level.cells[row * n + column + 1] |= OpenWest;
      }
      if (row + 1 < n && !(cell & OpenSouth) && extraPassage(engine)) {
        level.cells[row * n + column] |= OpenSouth;
        level.cells[(row + 1) * n + column] |= OpenNorth;
      }
    }
  }
  level.balls = MakePieces(RandomSquares(n, engine));
  level.holes = MakePieces(RandomSquares(n, engine));
  RecheckLevel(level);
  return level;
}

/// Everything of two levels that the operations may change.
inline void ExpectSameLevel(const Level& expected, const Level& actual) {
  EXPECT_EQ(expected.boardSize, actual.boardSize);
  EXPECT_EQ(expected.cells, actual.cells);
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected.balls[i].column, actual.balls[i].column);
    EXPECT_EQ(expected.balls[i].row, actual.balls[i].row);
    EXPECT_EQ(expected.balls[i].colour, actual.balls[i].colour);
    EXPECT_EQ(expected.holes[i].column, actual.holes[i].column);
    EXPECT_EQ(expected.holes[i].row, actual.holes[i].row);
    EXPECT_EQ(expected.holes[i].colour, actual.holes[i].colour);
  }
}

inline constexpr int BoardSizes[] = {3, 5, 7};

/// How many random levels a law is tried on per board size: many small ones,
/// fewer of the large ones, whose searches cost most.
struct Sample {
  int size;
  int levels;
};
inline constexpr Sample Samples[] = {{3, 60}, {5, 20}, {7, 6}};

}  // namespace testlevels

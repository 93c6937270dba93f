#pragma once
// What a player who cannot see the board asks of it, as sentences every front
// end words in its language: which sides of a square are walls and what stands
// on it, and what each tilt would do to each ball. The game reads a square
// under a reading cursor of its own, which the player moves with keys.

#include <vector>

#include "logic/level.h"
#include "logic/moves.h"
#include "play/game_text.h"

/// A square of the board, counted from 0 as the level counts.
struct BoardSquare {
  int column = 0;
  int row = 0;
  friend bool operator==(const BoardSquare&, const BoardSquare&) = default;
};

/// The square one step in the direction, or the same square at the border.
BoardSquare StepOnBoard(const Level& level, BoardSquare square, Direction direction);

/// The sides of the square that are walls, as a Cell's bits (OpenNorth for a
/// wall to the north, ...).
Cell WallsOf(const Level& level, BoardSquare square);

/// The square's sentence: GameTextId::SquareReading.
// square lies on the board
GameText SquareReadingText(const Level& level, BoardSquare square);

/// Per direction, north, south, west, east, what a tilt would do to the balls:
/// GameTextId::TiltReading.
std::vector<GameText> TiltReadingTexts(const Level& level);

/// What a tilt does to one ball, the numbers of a TiltReading after the
/// direction: the ball's colour, the outcome, where the ball stands after the
/// tilt (column and row counted from 1), and the colour of the ball in its
/// way (-1 when none).
enum class TiltOutcome { Goes = 0, Wall = 1, BallInTheWay = 2 };
inline constexpr int NumbersPerBall = 5;

#include "play/board_reading.h"

#include <algorithm>
#include <cassert>

namespace {

Cell Side(Direction direction) {
  switch (direction) {
    case Direction::North: return OpenNorth;
    case Direction::South: return OpenSouth;
    case Direction::West: return OpenWest;
    case Direction::East: return OpenEast;
  }
  return 0;
}

bool OnSquare(const Piece& piece, BoardSquare square) {
  return piece.column == square.column && piece.row == square.row;
}

/// The colour number of the piece on the square, or -1.
int ColourOn(const Pieces& pieces, BoardSquare square) {
  for (const Piece& piece : pieces) {
    if (OnSquare(piece, square)) return piece.colour;
  }
  return -1;
}

BoardSquare SquareOf(const Piece& piece) { return {piece.column, piece.row}; }

const Piece& BallOf(const Pieces& balls, Colour colour) {
  for (const Piece& ball : balls) {
    if (ColourOf(ball) == colour) return ball;
  }
  assert(false && "every colour has its ball");
  return balls[0];
}

/// The five numbers of one ball in a tilt: the ball before it, and where it
/// stands after it among the balls after it.
void AddBallOutcome(const Level& level, Direction direction, const Pieces& after, const Piece& ball,
                    const Piece& moved, std::vector<int>& numbers) {
  TiltOutcome outcome = TiltOutcome::Goes;
  int blocker = -1;
  if (OnSquare(moved, SquareOf(ball))) {
    // An open side with the ball still in place: a ball that stayed is ahead.
    if ((WallsOf(level, SquareOf(ball)) & Side(direction)) != 0) {
      outcome = TiltOutcome::Wall;
    } else {
      outcome = TiltOutcome::BallInTheWay;
      blocker = ColourOn(after, StepOnBoard(level, SquareOf(ball), direction));
    }
  }
  numbers.insert(numbers.end(), {ball.colour, static_cast<int>(outcome), moved.column + 1,
                                 moved.row + 1, blocker});
}

}  // namespace

BoardSquare StepOnBoard(const Level& level, BoardSquare square, Direction direction) {
  const int last = level.boardSize - 1;
  switch (direction) {
    case Direction::North: square.row = std::max(0, square.row - 1); break;
    case Direction::South: square.row = std::min(last, square.row + 1); break;
    case Direction::West: square.column = std::max(0, square.column - 1); break;
    case Direction::East: square.column = std::min(last, square.column + 1); break;
  }
  return square;
}

Cell WallsOf(const Level& level, BoardSquare square) {
  const Cell open =
      level.cells[static_cast<std::size_t>(square.row * level.boardSize + square.column)];
  return static_cast<Cell>(~open & (OpenNorth | OpenSouth | OpenWest | OpenEast));
}

GameText SquareReadingText(const Level& level, BoardSquare square) {
  assert(square.column >= 0 && square.column < level.boardSize && square.row >= 0 &&
         square.row < level.boardSize);
  return GameText{GameTextId::SquareReading,
                  {square.column + 1, square.row + 1, WallsOf(level, square),
                   ColourOn(level.balls, square), ColourOn(level.holes, square)}};
}

std::vector<GameText> TiltReadingTexts(const Level& level) {
  std::vector<GameText> texts;
  for (const Direction direction : AllDirections) {
    Pieces after = level.balls;
    Move(level, after, direction);
    GameText text{GameTextId::TiltReading, {static_cast<int>(direction)}};
    // Red first, as the board's description names the pieces; a move
    // reorders the records, so a ball is found again by its colour.
    for (const Colour colour : ColoursRedFirst) {
      AddBallOutcome(level, direction, after, BallOf(level.balls, colour), BallOf(after, colour),
                     text.numbers);
    }
    texts.push_back(std::move(text));
  }
  return texts;
}

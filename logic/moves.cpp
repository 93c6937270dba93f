#include "logic/moves.h"

#include <utility>

namespace {

/// Stable ascending sort of the three records by their signed sortKey.
void SortBySortKey(Pieces& pieces) {
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    for (std::size_t j = i; j > 0 && pieces[j].sortKey < pieces[j - 1].sortKey; --j) {
      std::swap(pieces[j], pieces[j - 1]);
    }
  }
}

struct MoveRule {
  Cell openBit;
  std::int8_t columnStep;
  std::int8_t rowStep;
};

constexpr MoveRule RuleFor(Direction direction) {
  switch (direction) {
    case Direction::North: return {OpenNorth, 0, -1};
    case Direction::South: return {OpenSouth, 0, 1};
    case Direction::West: return {OpenWest, -1, 0};
    case Direction::East: return {OpenEast, 1, 0};
  }
  return {0, 0, 0};
}

/// The ball farthest ahead in the direction of travel gets the smallest key.
std::int8_t SortKeyFor(const Piece& ball, Direction direction) {
  switch (direction) {
    case Direction::North: return ball.row;
    case Direction::South: return static_cast<std::int8_t>(-ball.row);
    case Direction::West: return ball.column;
    case Direction::East: return static_cast<std::int8_t>(-ball.column);
  }
  return 0;
}

// Balls are taken front to back, so a ball ahead has already made its step
// when the one behind it asks whether its destination is free.
void ApplyMove(const Level& level, Pieces& balls, Direction direction) {
  for (Piece& ball : balls) ball.sortKey = SortKeyFor(ball, direction);
  SortBySortKey(balls);
  const MoveRule rule = RuleFor(direction);
  for (std::size_t i = 0; i < balls.size(); ++i) {
    Piece& ball = balls[i];
    if ((level.cells[ball.row * level.boardSize + ball.column] & rule.openBit) == 0) continue;
    const auto column = static_cast<std::int8_t>(ball.column + rule.columnStep);
    const auto row = static_cast<std::int8_t>(ball.row + rule.rowStep);
    bool blocked = false;
    for (std::size_t j = 0; j < i; ++j) {
      if (balls[j].column == column && balls[j].row == row) blocked = true;
    }
    if (blocked) continue;
    ball.column = column;
    ball.row = row;
  }
}

}  // namespace

char DirectionLetter(Direction direction) {
  switch (direction) {
    case Direction::North: return 'N';
    case Direction::South: return 'S';
    case Direction::West: return 'W';
    case Direction::East: return 'E';
  }
  return '?';
}

void MoveNorth(const Level& level, Pieces& balls) { ApplyMove(level, balls, Direction::North); }
void MoveSouth(const Level& level, Pieces& balls) { ApplyMove(level, balls, Direction::South); }
void MoveWest(const Level& level, Pieces& balls) { ApplyMove(level, balls, Direction::West); }
void MoveEast(const Level& level, Pieces& balls) { ApplyMove(level, balls, Direction::East); }

void Move(const Level& level, Pieces& balls, Direction direction) {
  ApplyMove(level, balls, direction);
}

StateIndex EncodeState(const Level& level, Pieces& pieces) {
  for (Piece& piece : pieces) piece.sortKey = static_cast<std::int8_t>(-piece.colour);
  SortBySortKey(pieces);
  const std::int32_t squares = level.boardSize * level.boardSize;
  StateIndex value = 0;
  for (const Piece& piece : pieces) {
    value =
        value * squares + std::int32_t{piece.row} * level.boardSize + std::int32_t{piece.column};
  }
  return value;
}

void DecodeState(const Level& level, StateIndex value, Pieces& pieces) {
  const std::int32_t n = level.boardSize;
  const std::int32_t squares = n * n;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::int32_t square = value % squares;
    pieces[i].colour = static_cast<std::int8_t>(i);
    pieces[i].column = static_cast<std::int8_t>(square % n);
    pieces[i].row = static_cast<std::int8_t>(square / n);
    value /= squares;
  }
}

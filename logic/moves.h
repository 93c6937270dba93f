#pragma once
// The move rule and the state index of three balls.

#include "logic/level.h"

/// The four moves, in the order the solver tries them.
enum class Direction : std::uint8_t { North, South, West, East };
inline constexpr std::array<Direction, 4> AllDirections = {Direction::North, Direction::South,
                                                           Direction::West, Direction::East};

/// 'N', 'S', 'W' or 'E'.
char DirectionLetter(Direction direction);

// Each move shifts every ball one square unless a wall, or a ball ahead that
// stays, blocks it. The records leave in the order of the move's sort.
void MoveNorth(const Level& level, Pieces& balls);
void MoveSouth(const Level& level, Pieces& balls);
void MoveWest(const Level& level, Pieces& balls);
void MoveEast(const Level& level, Pieces& balls);
void Move(const Level& level, Pieces& balls, Direction direction);

/// The pieces' StateIndex; reorders them red, green, blue.
StateIndex EncodeState(const Level& level, Pieces& pieces);

/// Writes column, row and colour of the pieces from value, in the order blue, green, red.
void DecodeState(const Level& level, StateIndex value, Pieces& pieces);

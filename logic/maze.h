#pragma once
// Level builds (cleared board, random maze) and the one wall edit.

#include <functional>

#include "logic/level.h"

/// One non-negative draw per call, like the C library's rand().
using RandomSource = std::function<int()>;

/// A source seeded once from the clock, for the running program.
RandomSource ClockSeededRandomSource();

/// A new board of the given size (3, 5 or 7) with every inner side open.
void ClearMaze(Level& level, int size);

/// A new board of the given size whose passages form a random spanning tree;
/// takes exactly 2N(N-1) - 1 draws.
void RandomMaze(Level& level, int size, const RandomSource& random);

/// Wall position kinds: the side east or south of a square.
inline constexpr int WallEast = 1;
inline constexpr int WallSouth = 2;

/// Flips both stored copies of one inner side and rechecks the level.
// (column, row) lies on the board and the side of that kind is an inner one.
void ToggleWall(Level& level, int column, int row, int kind);

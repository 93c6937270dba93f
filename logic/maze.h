#pragma once
// Level builds (cleared board, random maze) and the one wall edit.

#include <functional>

#include "logic/level.h"

/// One non-negative draw per call, like the C library's rand().
using RandomSource = std::function<int()>;

/// A source seeded once from the clock, for the running program.
RandomSource ClockSeededRandomSource();

// Each edit comes twice: the plain one rechecks the level afterwards (the
// classic editor, the game and the tools rely on `solvable`), the one without
// the recheck leaves `solvable` as it was, for a caller that answers it from a
// search of its own (designer mode's analysis).

/// A new board of the given size (3, 5 or 7) with every inner side open. Any
/// other size changes nothing.
void ClearMaze(Level& level, int size);
void ClearMazeWithoutRecheck(Level& level, int size);

/// A new board of the given size whose passages form a random spanning tree;
/// takes exactly 2N(N-1) - 1 draws. Any other size changes nothing.
void RandomMaze(Level& level, int size, const RandomSource& random);
void RandomMazeWithoutRecheck(Level& level, int size, const RandomSource& random);

/// Flips both stored copies of one inner side and rechecks the level. A
/// position that is not an inner side changes no cell, but still rechecks.
void ToggleWall(Level& level, int column, int row, WallKind kind);
void ToggleWallWithoutRecheck(Level& level, int column, int row, WallKind kind);

#pragma once
// Mirroring and turning the whole level, walls and pieces together.

#include "logic/level.h"

/// Mirrors the rows: top and bottom change places.
void XFlip(Level& level);

/// Mirrors the columns: left and right change places.
void YFlip(Level& level);

/// A quarter turn clockwise as seen on screen.
void RotateLevel(Level& level);

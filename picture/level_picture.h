#pragma once
// The picture the editor shows for a level, as a PNG file, made without Qt:
// the standard-library drawing steps, the board images built into the
// program and the PNG writer.

#include <string>

#include "logic/level.h"

/// The PNG file's bytes of the 325 x 359 frame for the level, with nothing
/// hovered or carried; the lamp follows level.solvable as it stands.
std::string LevelPicturePng(const Level& level);

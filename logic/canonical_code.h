#pragma once
// One name for a level and all its turns and mirror images.

#include <array>
#include <string>

#include "logic/level.h"

// Both take a level whose cells fit its board size (3, 5 or 7).

/// The codes of the level's eight images under the board's symmetries: the
/// level turned 0, 1, 2 and 3 quarter turns clockwise, then those four
/// mirrored top to bottom. Every image keeps the pieces' colours.
std::array<std::string, 8> ImageCodes(const Level& level);

/// The least of the eight image codes: two levels have the same canonical code
/// exactly when one is a turn or a mirror image of the other.
std::string CanonicalCode(const Level& level);

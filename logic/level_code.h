#pragma once
// The level code: the text form in which a level leaves and enters the editor.

#include <string>
#include <string_view>

#include "logic/level.h"

/// The code of the level: size, the balls red, green, blue, the holes red,
/// green, blue (each row then column), then one hex digit per pair of squares.
std::string WriteLevelCode(const Level& level);

enum class CodeReading { Rejected, Unsolvable, Solvable };

struct ReadResult {
  CodeReading outcome = CodeReading::Rejected;
  std::string reason;  // why the text was rejected; empty otherwise
  /// True when the new level has a solution, as the game and the dialog expect.
  explicit operator bool() const { return outcome == CodeReading::Solvable; }
};

/// Replaces the level with the one the code describes, all or nothing: a
/// rejected text leaves every field and buffer of the level as it was.
ReadResult ReadLevelCode(Level& level, std::string_view code);

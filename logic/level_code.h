#pragma once
// The level code: the text form in which a level leaves and enters the editor.

#include <cstddef>
#include <string>
#include <string_view>

#include "logic/level.h"
#include "logic/reason.h"

/// Characters of the code of an N x N level: 17, 25 or 37. Text after them is
/// ignored by the reader.
constexpr std::size_t LevelCodeLength(int boardSize) {
  return static_cast<std::size_t>(13 + boardSize * boardSize / 2);
}

/// The code of the level: size, the balls red, green, blue, the holes red,
/// green, blue (each row then column), then one hex digit per pair of squares.
std::string WriteLevelCode(const Level& level);

/// Whether a text was taken as a level, and why not when it was not.
struct ParseResult {
  bool accepted = false;
  Reason reason;  // why the text was rejected; None when accepted
};

/// Replaces the level's board and pieces with those the code describes, all
/// or nothing: a rejected text leaves every field and buffer of the level as
/// it was. Runs no search: a caller that rechecks afterwards pays for one.
ParseResult ParseLevelCode(Level& level, std::string_view code);

enum class CodeReading { Rejected, Unsolvable, Solvable };

/// A code read with its verdict, as the web page's session answers it.
struct ReadResult {
  CodeReading outcome = CodeReading::Rejected;
  Reason reason;  // why the text was rejected; None otherwise
};

#pragma once
// The level a set is played from, as the command line asks for it
// ("korvalo --level 2 SET", as the editor's Test Set passes it): read and
// checked here, so that a wrong number is refused before any window opens.

#include <optional>
#include <string>
#include <vector>

#include "play/game_start.h"

/// The option that names the level to start at.
inline constexpr const char* StartLevelOptionName = "--level";

/// The command line with the start level taken out of it.
struct StartLevelOption {
  std::optional<int> level;       // counted from 1; none when not asked for
  std::vector<std::string> rest;  // the other arguments, in their order
  std::string error;              // why the command line is refused; empty when it is not
};

/// Takes "--level N" or "--level=N" (at most once, N a whole number from 1)
/// out of the arguments. The option needs a set file to play, so it is refused
/// when no other argument is left.
StartLevelOption TakeStartLevel(const std::vector<std::string>& arguments);

/// Moves the start's set to the level (counted from 1). A set that could not
/// be opened is played as the game falls back without the option, with its
/// notice; a level beyond the set's end, or a start that plays no set file
/// (a level code), is refused: the reason is returned, else an empty text.
std::string ApplyStartLevel(int level, GameStart& start);

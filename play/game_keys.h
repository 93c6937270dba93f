#pragma once
// The game's keys, one table for every front end: the game window turns its
// key events into the names below, the web page reads the table from the
// WebAssembly module, and both act on the action the table gives.
//
// Keys are named as the web's KeyboardEvent.key names them: "ArrowUp",
// "Backspace", "Escape", "Enter", "PageUp", "PageDown", and letters in lower
// case ("w"); a letter matches in either case, so Shift changes nothing.

#include <optional>
#include <string_view>

enum class GameAction {
  TiltNorth,
  TiltSouth,
  TiltWest,
  TiltEast,
  Undo,
  Restart,
  Hint,
  NewLevel,       // a random level of the same size; single levels only
  SwitchSymbols,  // the colours' shapes on the pieces
  PreviousLevel,  // sets only
  NextLevel,      // sets only
  GoOn,           // on from a solved level of a set
  Levels,         // the level picker; sets only
  OpenSet,        // another level set: installed, played lately, or any file; sets only
  Endless,        // endless play at a chosen size and grade
  CopyCode,       // the level code to the clipboard
  ReadNorth,      // the reading cursor one square north, and what is on that square
  ReadSouth,
  ReadWest,
  ReadEast,
  ReadTilts,  // what each tilt would do to each ball
  Quit,
};

struct GameKey {
  std::string_view key;
  bool control;  // Ctrl held (and no other modifier but Shift)
  GameAction action;
};

// clang-format off
inline constexpr GameKey GameKeys[] = {
  {"ArrowUp", false, GameAction::TiltNorth},    {"w", false, GameAction::TiltNorth},
  {"ArrowDown", false, GameAction::TiltSouth},  {"s", false, GameAction::TiltSouth},
  {"ArrowLeft", false, GameAction::TiltWest},   {"a", false, GameAction::TiltWest},
  {"ArrowRight", false, GameAction::TiltEast},  {"d", false, GameAction::TiltEast},
  {"z", true, GameAction::Undo},                {"Backspace", false, GameAction::Undo},
  {"r", false, GameAction::Restart},
  {"h", false, GameAction::Hint},
  {"n", false, GameAction::NewLevel},
  {"c", false, GameAction::SwitchSymbols},
  {"PageUp", false, GameAction::PreviousLevel},
  {"PageDown", false, GameAction::NextLevel},
  {"Enter", false, GameAction::GoOn},
  {"l", false, GameAction::Levels},
  {"o", false, GameAction::OpenSet},
  {"e", false, GameAction::Endless},
  {"c", true, GameAction::CopyCode},
  {"ArrowUp", true, GameAction::ReadNorth},     {"ArrowDown", true, GameAction::ReadSouth},
  {"ArrowLeft", true, GameAction::ReadWest},    {"ArrowRight", true, GameAction::ReadEast},
  {"t", false, GameAction::ReadTilts},
  {"Escape", false, GameAction::Quit},
};
// clang-format on

/// The action of a key; nullopt for a key the game does not use.
std::optional<GameAction> ActionOfKey(std::string_view key, bool control);

/// "tilt-north", "undo", ...: the action's name, as the page knows it.
std::string_view ActionName(GameAction action);

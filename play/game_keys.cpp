#include "play/game_keys.h"

namespace {

/// A single upper-case letter stands for its lower case.
bool SameKey(std::string_view tableKey, std::string_view key) {
  if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') {
    return tableKey.size() == 1 && tableKey[0] == key[0] - 'A' + 'a';
  }
  return tableKey == key;
}

}  // namespace

std::optional<GameAction> ActionOfKey(std::string_view key, bool control) {
  for (const GameKey& entry : GameKeys) {
    if (entry.control == control && SameKey(entry.key, key)) return entry.action;
  }
  return std::nullopt;
}

std::string_view ActionName(GameAction action) {
  switch (action) {
    case GameAction::TiltNorth: return "tilt-north";
    case GameAction::TiltSouth: return "tilt-south";
    case GameAction::TiltWest: return "tilt-west";
    case GameAction::TiltEast: return "tilt-east";
    case GameAction::Undo: return "undo";
    case GameAction::Restart: return "restart";
    case GameAction::Hint: return "hint";
    case GameAction::NewLevel: return "new-level";
    case GameAction::SwitchSymbols: return "switch-symbols";
    case GameAction::PreviousLevel: return "previous-level";
    case GameAction::NextLevel: return "next-level";
    case GameAction::GoOn: return "go-on";
    case GameAction::Levels: return "levels";
    case GameAction::OpenSet: return "open-set";
    case GameAction::Endless: return "endless";
    case GameAction::CopyCode: return "copy-code";
    case GameAction::ReadNorth: return "read-north";
    case GameAction::ReadSouth: return "read-south";
    case GameAction::ReadWest: return "read-west";
    case GameAction::ReadEast: return "read-east";
    case GameAction::ReadTilts: return "read-tilts";
    case GameAction::Quit: return "quit";
  }
  return "";
}

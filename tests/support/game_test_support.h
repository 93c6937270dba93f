#pragma once
// Plays a game from a string of keys, as the game tests write their moves.

#include <gtest/gtest.h>

#include "play/game_state.h"

namespace testsupport {

/// Plays one key: N S W E tilt, u undoes, r restarts.
inline void PlayKey(GameState& game, char key) {
  switch (key) {
    case 'N': game.Tilt(Direction::North); break;
    case 'S': game.Tilt(Direction::South); break;
    case 'W': game.Tilt(Direction::West); break;
    case 'E': game.Tilt(Direction::East); break;
    case 'u': game.Undo(); break;
    case 'r': game.Restart(); break;
    default: ADD_FAILURE() << "unknown key " << key;
  }
}

}  // namespace testsupport

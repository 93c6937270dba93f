#pragma once
// What designer mode's Test Set hands the game: the set as it stands, unsaved
// changes included, and the number of the selected level as the game counts
// its levels. Standard library only; the editor writes the text to a file of
// its own and starts the game on it.

#include <optional>
#include <string>

#include "editing/designer_session.h"

struct SetForGame {
  /// The set's text as a save would write it, with the changes that are in no file.
  std::string text;
  /// The level to start at, counted from 1 among the levels the game plays.
  int level = 1;
  /// True when the set's own file holds this text: it is saved and unchanged.
  bool inOwnFile = false;
};

/// The set to play, starting at the selected level (the first when none is
/// selected); none when the set holds no level.
std::optional<SetForGame> SetForGameOf(const DesignerSession& session);

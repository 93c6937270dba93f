#include "editing/set_for_game.h"

#include <algorithm>

// The set holds only codes its reader accepted, which are the codes the game
// plays, so the game counts its levels as the set does.
std::optional<SetForGame> SetForGameOf(const DesignerSession& session) {
  const SetDocument& set = session.set();
  if (set.size() == 0) return std::nullopt;
  const std::size_t selected = std::min(session.selected().value_or(0), set.size() - 1);
  return SetForGame{set.Text(), static_cast<int>(selected) + 1,
                    !set.path().empty() && !set.modified()};
}

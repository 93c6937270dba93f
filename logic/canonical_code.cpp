#include "logic/canonical_code.h"

#include <algorithm>
#include <cassert>

#include "logic/level_code.h"
#include "logic/symmetry.h"

std::array<std::string, 8> ImageCodes(const Level& level) {
  assert(IsBoardSize(level.boardSize) &&
         level.cells.size() == static_cast<std::size_t>(level.boardSize * level.boardSize));
  // The flips and the turn touch the walls and the pieces only, so a copy
  // without the predecessor table does.
  Level turned;
  turned.boardSize = level.boardSize;
  turned.cells = level.cells;
  turned.balls = level.balls;
  turned.holes = level.holes;
  std::array<std::string, 8> codes;
  for (std::size_t quarterTurns = 0; quarterTurns < 4; ++quarterTurns) {
    codes[quarterTurns] = WriteLevelCode(turned);
    Level mirrored = turned;
    XFlip(mirrored);
    codes[4 + quarterTurns] = WriteLevelCode(mirrored);
    RotateLevel(turned);
  }
  return codes;
}

std::string CanonicalCode(const Level& level) {
  const std::array<std::string, 8> codes = ImageCodes(level);
  return *std::min_element(codes.begin(), codes.end());
}

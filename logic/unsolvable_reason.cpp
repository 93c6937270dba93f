#include "logic/unsolvable_reason.h"

#include <vector>

namespace {

/// The squares joined to the start square by open sides.
std::vector<bool> JoinedSquares(const Level& level, int start) {
  const int n = level.boardSize;
  std::vector<bool> joined(static_cast<std::size_t>(n * n), false);
  std::vector<int> waiting{start};
  joined[static_cast<std::size_t>(start)] = true;
  while (!waiting.empty()) {
    const int square = waiting.back();
    waiting.pop_back();
    const Cell cell = level.cells[static_cast<std::size_t>(square)];
    const struct {
      Cell side;
      int step;
    } sides[] = {{OpenNorth, -n}, {OpenSouth, n}, {OpenWest, -1}, {OpenEast, 1}};
    for (const auto& side : sides) {
      const int next = square + side.step;
      // The border is always closed, so an open side never leads off the board.
      if ((cell & side.side) == 0 || joined[static_cast<std::size_t>(next)]) continue;
      joined[static_cast<std::size_t>(next)] = true;
      waiting.push_back(next);
    }
  }
  return joined;
}

int SquareOf(const Level& level, const Pieces& pieces, Colour colour) {
  for (const Piece& piece : pieces) {
    if (ColourOf(piece) == colour) return piece.row * level.boardSize + piece.column;
  }
  return 0;
}

ReasonId CutOff(Colour colour) {
  switch (colour) {
    case Colour::Red: return ReasonId::RedBallCutOff;
    case Colour::Green: return ReasonId::GreenBallCutOff;
    case Colour::Blue: return ReasonId::BlueBallCutOff;
  }
  return ReasonId::None;
}

}  // namespace

Reason UnsolvableReason(const Level& level) {
  for (const Colour colour : ColoursRedFirst) {
    const std::vector<bool> joined = JoinedSquares(level, SquareOf(level, level.balls, colour));
    if (!joined[static_cast<std::size_t>(SquareOf(level, level.holes, colour))])
      return Reason{CutOff(colour)};
  }
  return {};
}

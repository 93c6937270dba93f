#include "editing/pointer_editing.h"

#include "drawing/board_geometry.h"

namespace {

/// Offsets 0 to 30 of a stripe lie over the square, 31 to 41 over the gap after it.
constexpr bool OverGap(int offset) { return offset >= SquareSize; }

/// Squared pick-up radius of a ball: 13 pixels from the centre pick, 13 and 1 do not.
constexpr int BallCircleLimit = 170;

/// Offset of a ball image's centre pixel from its square's corner.
constexpr int BallCentre = 15;

void SetHoveredSquare(EditingState& editing, int column, int row, WallKind kind) {
  editing.HoverColumn = column;
  editing.HoverRow = row;
  editing.HoverKind = kind;
}

/// Idle click: flip the hovered wall, else pick a ball by its circle, else a
/// hole on the hovered square.
ClickEdit DecideIdleClick(const Level& level, const EditingState& editing, int x, int y) {
  if (editing.HoverKind != WallKind::None) {
    return edit::FlipWall{editing.HoverColumn, editing.HoverRow, editing.HoverKind};
  }
  for (const Piece& ball : level.balls) {
    if (HitsBall(level.boardSize, ball, x, y)) return edit::PickUp{CarriedBall(ColourOf(ball))};
  }
  for (const Piece& hole : level.holes) {
    if (hole.column == editing.HoverColumn && hole.row == editing.HoverRow) {
      return edit::PickUp{CarriedHole(ColourOf(hole))};
    }
  }
  return std::monostate{};
}

/// Putting the carried piece on the hovered square: a piece of the same kind
/// standing there makes it an exchange.
ClickEdit DecideDrop(const Pieces& pieces, const EditingState& editing) {
  const Colour colour = ColourOf(editing.CarriedItem);
  const bool ball = IsBall(editing.CarriedItem);
  const int column = editing.HoverColumn;
  const int row = editing.HoverRow;
  for (const Piece& other : pieces) {
    if (other.colour == ColourNumber(colour)) continue;
    if (other.column == column && other.row == row) {
      const Colour displaced = ColourOf(other);
      return edit::Exchange{editing.CarriedItem, column, row,
                            ball ? CarriedBall(displaced) : CarriedHole(displaced)};
    }
  }
  return edit::PutDown{editing.CarriedItem, column, row};
}

}  // namespace

std::optional<FloorSpot> LocateOnFloor(int boardSize, int x, int y) {
  if (!IsOnFloor(boardSize, x, y)) return std::nullopt;
  const int fx = x - FloorOrigin(boardSize);
  const int fy = y - FloorOrigin(boardSize);
  const bool eastGap = OverGap(fx % Pitch);
  const bool southGap = OverGap(fy % Pitch);
  FloorPart part = FloorPart::Square;
  if (eastGap && southGap) {
    part = FloorPart::Crossing;
  } else if (eastGap) {
    part = FloorPart::EastGap;
  } else if (southGap) {
    part = FloorPart::SouthGap;
  }
  return FloorSpot{fx / Pitch, fy / Pitch, part};
}

bool HitsBall(int boardSize, const Piece& ball, int x, int y) {
  const int dx = Pitch * ball.column + BallCentre - (x - FloorOrigin(boardSize));
  const int dy = Pitch * ball.row + BallCentre - (y - FloorOrigin(boardSize));
  return dx * dx + dy * dy < BallCircleLimit;
}

void HoverAt(const Level& level, EditingState& editing, int x, int y) {
  editing.PointerX = x;
  editing.PointerY = y;
  const std::optional<FloorSpot> spot = LocateOnFloor(level.boardSize, x, y);
  if (!spot) {
    ResetHover(editing);
    return;
  }
  const bool carrying = IsCarrying(editing);
  switch (spot->part) {
    case FloorPart::Square:
      SetHoveredSquare(editing, spot->column, spot->row, WallKind::None);
      break;
    case FloorPart::SouthGap:
      if (!carrying) SetHoveredSquare(editing, spot->column, spot->row, WallKind::South);
      break;
    case FloorPart::EastGap:
      if (!carrying) SetHoveredSquare(editing, spot->column, spot->row, WallKind::East);
      break;
    case FloorPart::Crossing:
      // The hovered square stays: it is the drop square while carrying.
      if (!carrying) editing.HoverKind = WallKind::None;
      break;
  }
}

ClickEdit DecideClick(const Level& level, const EditingState& editing, int x, int y) {
  if (!IsOnFloor(level.boardSize, x, y)) return std::monostate{};
  if (!IsCarrying(editing)) return DecideIdleClick(level, editing, x, y);
  // With no hovered square there is nowhere on the board to put the piece:
  // the click does nothing and the carry goes on.
  if (!HasHoveredSquare(editing)) return std::monostate{};
  if (CarriesBall(editing)) return DecideDrop(level.balls, editing);
  if (CarriesHole(editing)) return DecideDrop(level.holes, editing);
  return std::monostate{};
}

void ResetHover(EditingState& editing) { SetHoveredSquare(editing, -1, -1, WallKind::None); }

bool HoverLiesOnBoard(const EditingState& editing, int boardSize) {
  if (editing.HoverColumn == -1 && editing.HoverRow == -1)
    return editing.HoverKind == WallKind::None;
  if (!IsOnBoard(boardSize, editing.HoverColumn, editing.HoverRow)) return false;
  switch (editing.HoverKind) {
    case WallKind::None: return true;
    case WallKind::East: return editing.HoverColumn <= boardSize - 2;
    case WallKind::South: return editing.HoverRow <= boardSize - 2;
  }
  return false;
}

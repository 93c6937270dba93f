#include "view/pointer_editing.h"

#include "logic/maze.h"
#include "logic/solver.h"
#include "view/board_geometry.h"

namespace {

/// Offsets 0 to 30 of a stripe lie over the square, 31 to 41 over the gap after it.
constexpr bool OverGap(int offset) { return offset >= SquareSize; }

/// Squared pick-up radius of a ball: 13 pixels from the centre pick, 13 and 1 do not.
constexpr int BallCircleLimit = 170;

/// Offset of a ball image's centre pixel from its square's corner.
constexpr int BallCentre = 15;

void SetHoveredSquare(EditingState& editing, int column, int row, std::uint8_t kind) {
  editing.HoverColumn = column;
  editing.HoverRow = row;
  editing.HoverKind = kind;
}

int CarriedColour(const EditingState& editing) {
  return CarriesBall(editing) ? editing.CarriedItem - FirstBallItem
                              : editing.CarriedItem - FirstHoleItem;
}

/// Idle click: flip the hovered wall, else pick a ball by its circle, else a
/// hole on the hovered square.
bool ClickWhileIdle(Level& level, EditingState& editing, int x, int y) {
  if (editing.HoverKind == HoverEastWall || editing.HoverKind == HoverSouthWall) {
    ToggleWall(level, editing.HoverColumn, editing.HoverRow, editing.HoverKind);
    return true;
  }
  for (const Piece& ball : level.balls) {
    if (HitsBall(level.boardSize, ball, x, y)) {
      editing.CarriedItem = static_cast<std::int8_t>(FirstBallItem + ball.colour);
      return true;
    }
  }
  for (const Piece& hole : level.holes) {
    if (hole.column == editing.HoverColumn && hole.row == editing.HoverRow) {
      editing.CarriedItem = static_cast<std::int8_t>(FirstHoleItem + hole.colour);
      return true;
    }
  }
  return false;
}

/// Puts the carried piece of this kind on the hovered square. A piece of the
/// same kind standing there trades squares with it and becomes the carried one.
bool PutDown(Level& level, EditingState& editing, Pieces& pieces, std::int8_t firstItem) {
  const int colour = CarriedColour(editing);
  Piece* carried = nullptr;
  for (Piece& piece : pieces) {
    if (piece.colour == colour) carried = &piece;
  }
  if (carried == nullptr) return false;  // a carried colour with no record never arises
  const Piece oldSquare = *carried;
  carried->column = static_cast<std::int8_t>(editing.HoverColumn);
  carried->row = static_cast<std::int8_t>(editing.HoverRow);
  for (Piece& other : pieces) {
    if (&other == carried) continue;
    if (other.column == carried->column && other.row == carried->row) {
      other.column = oldSquare.column;
      other.row = oldSquare.row;
      editing.CarriedItem = static_cast<std::int8_t>(firstItem + other.colour);
      return true;
    }
  }
  editing.CarriedItem = NothingCarried;
  RecheckLevel(level);
  return true;
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

bool HoverAt(const Level& level, EditingState& editing, int x, int y) {
  editing.PointerX = x;
  editing.PointerY = y;
  const std::optional<FloorSpot> spot = LocateOnFloor(level.boardSize, x, y);
  if (!spot) {
    ResetHover(editing);
    return true;
  }
  const bool carrying = editing.CarriedItem != NothingCarried;
  switch (spot->part) {
    case FloorPart::Square:
      SetHoveredSquare(editing, spot->column, spot->row, HoverNone);
      break;
    case FloorPart::SouthGap:
      if (!carrying) SetHoveredSquare(editing, spot->column, spot->row, HoverSouthWall);
      break;
    case FloorPart::EastGap:
      if (!carrying) SetHoveredSquare(editing, spot->column, spot->row, HoverEastWall);
      break;
    case FloorPart::Crossing:
      // The hovered square stays: it is the drop square while carrying.
      if (!carrying) editing.HoverKind = HoverNone;
      break;
  }
  return true;
}

bool ClickAt(Level& level, EditingState& editing, int x, int y) {
  if (!IsOnFloor(level.boardSize, x, y)) return false;
  if (editing.CarriedItem == NothingCarried) return ClickWhileIdle(level, editing, x, y);
  // With no hovered square there is nowhere on the board to put the piece:
  // the click does nothing and the carry goes on.
  if (!HasHoveredSquare(editing)) return false;
  if (CarriesBall(editing)) return PutDown(level, editing, level.balls, FirstBallItem);
  if (CarriesHole(editing)) return PutDown(level, editing, level.holes, FirstHoleItem);
  return false;
}

bool CancelCarry(Level& level, EditingState& editing) {
  if (editing.CarriedItem == NothingCarried) return false;
  editing.CarriedItem = NothingCarried;
  RecheckLevel(level);
  return true;
}

void ResetHover(EditingState& editing) { SetHoveredSquare(editing, -1, -1, HoverNone); }

bool HoverLiesOnBoard(const EditingState& editing, int boardSize) {
  if (editing.HoverColumn == -1 && editing.HoverRow == -1) return editing.HoverKind == HoverNone;
  const bool onBoard = editing.HoverColumn >= 0 && editing.HoverColumn < boardSize &&
                       editing.HoverRow >= 0 && editing.HoverRow < boardSize;
  if (!onBoard) return false;
  switch (editing.HoverKind) {
    case HoverNone: return true;
    case HoverEastWall: return editing.HoverColumn <= boardSize - 2;
    case HoverSouthWall: return editing.HoverRow <= boardSize - 2;
    default: return false;
  }
}

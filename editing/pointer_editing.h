#pragma once
// Editing the level with the left mouse button: which square or wall gap the
// pointer names, and what a click would do. Pure functions of the level, the
// editing state and a point in view pixels: a click is decided here as an
// edit value, and the editor's document applies it.

#include <optional>

#include "drawing/editing_state.h"
#include "editing/edits.h"
#include "logic/level.h"

/// Where a point on the floor falls within its square's 42-pixel stripes.
enum class FloorPart { Square, EastGap, SouthGap, Crossing };

/// A floor point: the square whose stripes hold it, and the part it falls on.
struct FloorSpot {
  int column = 0;
  int row = 0;
  FloorPart part = FloorPart::Square;
};

/// The square and part under the view point, or nothing off the floor area.
std::optional<FloorSpot> LocateOnFloor(int boardSize, int x, int y);

/// True when the view point lies strictly within the ball's pick-up circle
/// (squared distance to the centre pixel of its image below 170).
bool HitsBall(int boardSize, const Piece& ball, int x, int y);

/// Hover classification on a pointer move: records the pointer and the
/// hovered square or wall position. Every move repaints.
void HoverAt(const Level& level, EditingState& editing, int x, int y);

/// What a left click (or the second click of a double click) at a view point
/// does: flip the hovered wall, pick up a ball or hole, put the carried piece
/// down on the hovered square or exchange it there, or nothing.
ClickEdit DecideClick(const Level& level, const EditingState& editing, int x, int y);

/// Forgets the hovered square and wall, for a board that has just changed size.
void ResetHover(EditingState& editing);

/// True when the hover state names nothing outside the board of this size.
bool HoverLiesOnBoard(const EditingState& editing, int boardSize);

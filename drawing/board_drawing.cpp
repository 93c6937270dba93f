// One frame of the board view: background, frame, floor, holes, walls, balls,
// the pointer's overlays and the solvability indicator, drawn in that order
// with fills and copies only.

#include "drawing/board_drawing.h"

#include "drawing/board_geometry.h"

namespace {

constexpr Rgb BackgroundColour = MakeRgb(128, 128, 128);
constexpr Rgb WallColour = MakeRgb(0, 0, 0);
constexpr Rgb FloorColour = MakeRgb(220, 220, 220);
constexpr Rgb OutlineColour = MakeRgb(255, 255, 255);
constexpr std::array<Rgb, 3> HoleColours = {MakeRgb(120, 120, 255), MakeRgb(50, 220, 50),
                                            MakeRgb(255, 100, 100)};

// Where things stand in the two image sheets.
constexpr int MaskFrameX = 3 * BallSize;
constexpr Rect LeftHatch{0, 0, GapSize, 51};
constexpr Rect TopHatch{0, 0, 51, GapSize};
constexpr Rect VerticalMarker{22, 12, GapSize, SquareSize};
constexpr Rect HorizontalMarker{12, 22, SquareSize, GapSize};

// Where the indicator stands, relative to StatusTop.
constexpr Point LampLitAt{86, 0};
constexpr Point LampUnlitAt{92, 6};
constexpr Point LabelAt{119, 14};

/// A board the drawing can walk: a size it knows and one cell per square.
bool IsDrawable(const Level& level) {
  const int n = level.boardSize;
  return IsBoardSize(n) && level.cells.size() == static_cast<std::size_t>(n * n);
}

/// Top-left pixel of square (column, row).
Point SquareCorner(int n, int column, int row) {
  return {SquareOrigin(n, column), SquareOrigin(n, row)};
}

Rect SquareAt(Point corner) { return {corner.x, corner.y, SquareSize, SquareSize}; }

Cell CellAt(const Level& level, int column, int row) {
  return level.cells[static_cast<std::size_t>(row * level.boardSize + column)];
}

void CopyWhole(BoardCanvas& canvas, Point at, BoardImage image) {
  canvas.Copy(at, image, BoardImageRect(image));
}

void DrawBall(BoardCanvas& canvas, Point at, int colour) {
  // The mask whitens the disc, then the ball frame ANDs its pixels in; outside
  // the disc both leave the destination unchanged.
  canvas.Or(at, BoardImage::BallSheet, {MaskFrameX, 0, BallSize, BallSize});
  canvas.And(at, BoardImage::BallSheet, {BallSize * colour, 0, BallSize, BallSize});
}

/// The black frame and the floor inside it.
void DrawBoard(BoardCanvas& canvas, const Level& level) {
  const int n = level.boardSize;
  const int frame = BoardOffset(n) + 10;
  canvas.Fill({frame, frame, Pitch * n + GapSize, Pitch * n + GapSize}, WallColour);
  canvas.Fill({FloorOrigin(n), FloorOrigin(n), FloorExtent(n), FloorExtent(n)}, FloorColour);
}

void DrawHoles(BoardCanvas& canvas, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  for (const Piece& hole : level.holes) {
    if (!IsColourNumber(hole.colour) || editing.CarriedItem == CarriedHole(ColourOf(hole)))
      continue;
    canvas.Fill(SquareAt(SquareCorner(n, hole.column, hole.row)), HoleColours[hole.colour]);
  }
}

void DrawWalls(BoardCanvas& canvas, const Level& level) {
  // Border walls are drawn too; they fall on the frame.
  const int n = level.boardSize;
  for (int column = 0; column < n; ++column) {
    for (int row = 0; row < n; ++row) {
      const Cell cell = CellAt(level, column, row);
      const Point corner = SquareCorner(n, column, row);
      if (!(cell & OpenEast))
        canvas.Fill({corner.x + SquareSize, corner.y - GapSize, GapSize, 53}, WallColour);
      if (!(cell & OpenSouth))
        canvas.Fill({corner.x - GapSize, corner.y + SquareSize, 53, GapSize}, WallColour);
    }
  }
}

void DrawBalls(BoardCanvas& canvas, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  for (const Piece& ball : level.balls) {
    if (!IsColourNumber(ball.colour) || editing.CarriedItem == CarriedBall(ColourOf(ball)))
      continue;
    DrawBall(canvas, SquareCorner(n, ball.column, ball.row) + Point{2, 2}, ball.colour);
  }
}

/// The hatch over a hovered open passage, or the X marker over a hovered wall.
void DrawHoveredWall(BoardCanvas& canvas, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  const bool hoversWall =
      editing.HoverKind == WallKind::East || editing.HoverKind == WallKind::South;
  // A stale hover from a board of another size names no cell of this one.
  if (IsCarrying(editing) || !hoversWall || !IsOnBoard(n, editing.HoverColumn, editing.HoverRow))
    return;
  const Cell cell = CellAt(level, editing.HoverColumn, editing.HoverRow);
  const Point corner = SquareCorner(n, editing.HoverColumn, editing.HoverRow);
  constexpr BoardImage sheet = BoardImage::WallHoverSheet;
  if (editing.HoverKind == WallKind::East) {
    if (cell & OpenEast)
      canvas.And(corner + Point{SquareSize, -10}, sheet, LeftHatch);
    else
      canvas.Copy(corner + Point{SquareSize, 0}, sheet, VerticalMarker);
  } else {
    if (cell & OpenSouth)
      canvas.And(corner + Point{-10, SquareSize}, sheet, TopHatch);
    else
      canvas.Copy(corner + Point{0, SquareSize}, sheet, HorizontalMarker);
  }
}

/// The drop square's outline and the carried piece centred on the pointer.
void DrawCarriedPiece(BoardCanvas& canvas, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  if (!CarriesBall(editing) && !CarriesHole(editing)) return;
  if (!IsOnBoard(n, editing.HoverColumn, editing.HoverRow)) return;
  // The drop square's one-pixel outline: its four border lines, 120 pixels.
  const Point corner = SquareCorner(n, editing.HoverColumn, editing.HoverRow);
  const int x = corner.x, y = corner.y, last = SquareSize - 1;
  canvas.Fill({x, y, SquareSize, 1}, OutlineColour);
  canvas.Fill({x, y + last, SquareSize, 1}, OutlineColour);
  canvas.Fill({x, y, 1, SquareSize}, OutlineColour);
  canvas.Fill({x + last, y, 1, SquareSize}, OutlineColour);

  const Point pointer{editing.PointerX, editing.PointerY};
  const int colour = ColourNumber(ColourOf(editing.CarriedItem));
  if (CarriesBall(editing)) {
    DrawBall(canvas, pointer - Point{13, 13}, colour);
  } else {
    canvas.Fill(SquareAt(pointer - Point{15, 15}), HoleColours[colour]);
  }
}

/// The lamp and label of the solvability indicator.
void DrawStatus(BoardCanvas& canvas, const Level& level, const EditingState& editing) {
  // While a piece is in the hand the level has not been checked: no solution shown.
  const Point top{0, StatusTop(level.boardSize)};
  if (IsCarrying(editing) || level.solvable == 0) {
    CopyWhole(canvas, top + LampUnlitAt, BoardImage::LampUnlit);
    CopyWhole(canvas, top + LabelAt, BoardImage::LabelNoSolution);
  } else {
    CopyWhole(canvas, top + LampLitAt, BoardImage::LampLit);
    CopyWhole(canvas, top + LabelAt, BoardImage::LabelSolutionExists);
  }
}

}  // namespace

Rect BoardArea(int boardSize) {
  constexpr int margin = 10;
  const int corner = BoardOffset(boardSize) + 10 - margin;
  const int frameSize = Pitch * boardSize + GapSize;
  return {corner, corner, frameSize + 2 * margin, StatusTop(boardSize) - corner};
}

void DrawBoardFrame(BoardCanvas& canvas, const Level& level, const EditingState& editing) {
  canvas.Fill({0, 0, ViewWidth, ViewHeight}, BackgroundColour);
  // A level that is still being built (no board yet) shows the background only.
  if (!IsDrawable(level)) return;
  DrawBoard(canvas, level);
  DrawHoles(canvas, level, editing);
  DrawWalls(canvas, level);
  DrawBalls(canvas, level, editing);
  DrawHoveredWall(canvas, level, editing);
  DrawCarriedPiece(canvas, level, editing);
  DrawStatus(canvas, level, editing);
}

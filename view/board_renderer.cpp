// One frame of the board view: background, frame, floor, holes, walls, balls,
// the pointer's overlays and the solvability indicator, drawn in that order
// into the back buffer with fills and copies only.

#include "view/board_renderer.h"

#include <QPainter>
#include <array>
#include <utility>

#include "view/board_geometry.h"

namespace {

constexpr QRgb BackgroundColour = qRgb(128, 128, 128);
constexpr QRgb WallColour = qRgb(0, 0, 0);
constexpr QRgb FloorColour = qRgb(220, 220, 220);
constexpr QRgb OutlineColour = qRgb(255, 255, 255);
constexpr std::array<QRgb, 3> HoleColours = {qRgb(120, 120, 255), qRgb(50, 220, 50), qRgb(255, 100, 100)};

// Where things stand in the two image sheets.
constexpr int MaskFrameX = 3 * BallSize;
constexpr QRect LeftHatch(0, 0, GapSize, 51);
constexpr QRect TopHatch(0, 0, 51, GapSize);
constexpr QRect VerticalMarker(22, 12, GapSize, SquareSize);
constexpr QRect HorizontalMarker(12, 22, SquareSize, GapSize);

// Where the indicator stands, relative to StatusTop.
constexpr QPoint LampLitAt(86, 0);
constexpr QPoint LampUnlitAt(92, 6);
constexpr QPoint LabelAt(119, 14);

/// A board the drawing can walk: a size it knows and one cell per square.
bool IsDrawable(const Level& level) {
  const int n = level.boardSize;
  return IsBoardSize(n) && level.cells.size() == static_cast<std::size_t>(n * n);
}

/// Top-left pixel of square (column, row).
QPoint SquareCorner(int n, int column, int row) { return {SquareOrigin(n, column), SquareOrigin(n, row)}; }

Cell CellAt(const Level& level, int column, int row) {
  return level.cells[static_cast<std::size_t>(row * level.boardSize + column)];
}

}  // namespace

/// Paints with the raster operations the drawing is defined by: plain fills
/// and copies, and per-channel AND and OR of whole pixels.
class BoardRenderer::Canvas {
 public:
  explicit Canvas(QImage& target) : m_painter(&target) {}

  void Fill(int x, int y, int width, int height, QRgb colour) {
    UseMode(QPainter::CompositionMode_Source);
    m_painter.fillRect(x, y, width, height, QColor(colour));
  }
  void Copy(QPoint at, const QImage& source, const QRect& from) {
    Blit(QPainter::CompositionMode_Source, at, source, from);
  }
  void Copy(QPoint at, const QImage& source) { Copy(at, source, source.rect()); }
  void And(QPoint at, const QImage& source, const QRect& from) {
    Blit(QPainter::RasterOp_SourceAndDestination, at, source, from);
  }
  void Or(QPoint at, const QImage& source, const QRect& from) {
    Blit(QPainter::RasterOp_SourceOrDestination, at, source, from);
  }

 private:
  void Blit(QPainter::CompositionMode mode, QPoint at, const QImage& source, const QRect& from) {
    UseMode(mode);
    m_painter.drawImage(at, source, from);
  }

  /// Switching the mode costs a state change in the painter, so only on change.
  void UseMode(QPainter::CompositionMode mode) {
    if (m_painter.compositionMode() != mode) m_painter.setCompositionMode(mode);
  }

  QPainter m_painter;
};

BoardRenderer::BoardRenderer() : BoardRenderer(LoadBoardImages()) {}

BoardRenderer::BoardRenderer(BoardImages images)
    : m_images(std::move(images)), m_backBuffer(ViewWidth, ViewHeight, QImage::Format_RGB32) {}

const QImage& BoardRenderer::DrawFrame(const Level& level, const EditingState& editing) {
  Canvas canvas(m_backBuffer);
  canvas.Fill(0, 0, ViewWidth, ViewHeight, BackgroundColour);
  // A level that is still being built (no board yet) shows the background only.
  if (!IsDrawable(level)) return m_backBuffer;
  DrawBoard(canvas, level);
  DrawHoles(canvas, level, editing);
  DrawWalls(canvas, level);
  DrawBalls(canvas, level, editing);
  DrawHoveredWall(canvas, level, editing);
  DrawCarriedPiece(canvas, level, editing);
  DrawStatus(canvas, level, editing);
  return m_backBuffer;
}

void BoardRenderer::DrawBall(Canvas& canvas, QPoint at, int colour) const {
  // The mask whitens the disc, then the ball frame ANDs its pixels in; outside
  // the disc both leave the destination unchanged.
  canvas.Or(at, m_images.ballSheet, QRect(MaskFrameX, 0, BallSize, BallSize));
  canvas.And(at, m_images.ballSheet, QRect(BallSize * colour, 0, BallSize, BallSize));
}

void BoardRenderer::DrawBoard(Canvas& canvas, const Level& level) const {
  const int n = level.boardSize;
  const int frame = BoardOffset(n) + 10;
  canvas.Fill(frame, frame, Pitch * n + GapSize, Pitch * n + GapSize, WallColour);
  canvas.Fill(FloorOrigin(n), FloorOrigin(n), FloorExtent(n), FloorExtent(n), FloorColour);
}

void BoardRenderer::DrawHoles(Canvas& canvas, const Level& level, const EditingState& editing) const {
  const int n = level.boardSize;
  for (const Piece& hole : level.holes) {
    if (!IsColourNumber(hole.colour) || editing.CarriedItem == CarriedHole(ColourOf(hole))) continue;
    const QPoint corner = SquareCorner(n, hole.column, hole.row);
    canvas.Fill(corner.x(), corner.y(), SquareSize, SquareSize, HoleColours[hole.colour]);
  }
}

void BoardRenderer::DrawWalls(Canvas& canvas, const Level& level) const {
  // Border walls are drawn too; they fall on the frame.
  const int n = level.boardSize;
  for (int column = 0; column < n; ++column) {
    for (int row = 0; row < n; ++row) {
      const Cell cell = CellAt(level, column, row);
      const QPoint corner = SquareCorner(n, column, row);
      if (!(cell & OpenEast)) canvas.Fill(corner.x() + SquareSize, corner.y() - GapSize, GapSize, 53, WallColour);
      if (!(cell & OpenSouth)) canvas.Fill(corner.x() - GapSize, corner.y() + SquareSize, 53, GapSize, WallColour);
    }
  }
}

void BoardRenderer::DrawBalls(Canvas& canvas, const Level& level, const EditingState& editing) const {
  const int n = level.boardSize;
  for (const Piece& ball : level.balls) {
    if (!IsColourNumber(ball.colour) || editing.CarriedItem == CarriedBall(ColourOf(ball))) continue;
    DrawBall(canvas, SquareCorner(n, ball.column, ball.row) + QPoint(2, 2), ball.colour);
  }
}

void BoardRenderer::DrawHoveredWall(Canvas& canvas, const Level& level, const EditingState& editing) const {
  const int n = level.boardSize;
  const bool hoversWall = editing.HoverKind == WallKind::East || editing.HoverKind == WallKind::South;
  // A stale hover from a board of another size names no cell of this one.
  if (IsCarrying(editing) || !hoversWall || !IsOnBoard(n, editing.HoverColumn, editing.HoverRow))
    return;
  const Cell cell = CellAt(level, editing.HoverColumn, editing.HoverRow);
  const QPoint corner = SquareCorner(n, editing.HoverColumn, editing.HoverRow);
  const QImage& sheet = m_images.wallHoverSheet;
  if (editing.HoverKind == WallKind::East) {
    if (cell & OpenEast)
      canvas.And(corner + QPoint(SquareSize, -10), sheet, LeftHatch);
    else
      canvas.Copy(corner + QPoint(SquareSize, 0), sheet, VerticalMarker);
  } else {
    if (cell & OpenSouth)
      canvas.And(corner + QPoint(-10, SquareSize), sheet, TopHatch);
    else
      canvas.Copy(corner + QPoint(0, SquareSize), sheet, HorizontalMarker);
  }
}

void BoardRenderer::DrawCarriedPiece(Canvas& canvas, const Level& level, const EditingState& editing) const {
  const int n = level.boardSize;
  if (!CarriesBall(editing) && !CarriesHole(editing)) return;
  if (!IsOnBoard(n, editing.HoverColumn, editing.HoverRow)) return;
  // The drop square's one-pixel outline: its four border lines, 120 pixels.
  const QPoint corner = SquareCorner(n, editing.HoverColumn, editing.HoverRow);
  const int x = corner.x(), y = corner.y(), last = SquareSize - 1;
  canvas.Fill(x, y, SquareSize, 1, OutlineColour);
  canvas.Fill(x, y + last, SquareSize, 1, OutlineColour);
  canvas.Fill(x, y, 1, SquareSize, OutlineColour);
  canvas.Fill(x + last, y, 1, SquareSize, OutlineColour);

  const QPoint pointer(editing.PointerX, editing.PointerY);
  const int colour = ColourNumber(ColourOf(editing.CarriedItem));
  if (CarriesBall(editing)) {
    DrawBall(canvas, pointer - QPoint(13, 13), colour);
  } else {
    const QPoint at = pointer - QPoint(15, 15);
    canvas.Fill(at.x(), at.y(), SquareSize, SquareSize, HoleColours[colour]);
  }
}

void BoardRenderer::DrawStatus(Canvas& canvas, const Level& level, const EditingState& editing) const {
  // While a piece is in the hand the level has not been checked: no solution shown.
  const QPoint top(0, StatusTop(level.boardSize));
  if (IsCarrying(editing) || level.solvable == 0) {
    canvas.Copy(top + LampUnlitAt, m_images.lampUnlit);
    canvas.Copy(top + LabelAt, m_images.labelNoSolution);
  } else {
    canvas.Copy(top + LampLitAt, m_images.lampLit);
    canvas.Copy(top + LabelAt, m_images.labelSolutionExists);
  }
}

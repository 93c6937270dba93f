// One frame of the board view: background, frame, floor, holes, walls, balls,
// the pointer's overlays and the solvability indicator, drawn in that order
// with fills and copies only.

#include "drawing/board_drawing.h"

#include "drawing/board_geometry.h"
#include "drawing/piece_symbols.h"

namespace {

constexpr Rgb WallColour = MakeRgb(0, 0, 0);
constexpr Rgb FloorColour = MakeRgb(220, 220, 220);
constexpr Rgb OutlineColour = MakeRgb(255, 255, 255);
constexpr std::array<Rgb, 3> HoleColours = {MakeRgb(120, 120, 255), MakeRgb(50, 220, 50),
                                            MakeRgb(255, 100, 100)};

// The parts' places in the six shipped images.
constexpr Rect LeftHatch{0, 0, GapSize, 51};
constexpr Rect TopHatch{0, 0, 51, GapSize};
constexpr Rect VerticalMarker{22, 12, GapSize, SquareSize};
constexpr Rect HorizontalMarker{12, 22, SquareSize, GapSize};

// Where the indicator stands, relative to StatusTop.
constexpr Point LampLitAt{86, 0};
constexpr Point LampUnlitAt{92, 6};
constexpr Point LabelAt{119, 14};

ImagePart BallPart(int colour) { return static_cast<ImagePart>(colour); }

/// The part that is a whole image, and that image.
BoardImage WholeImageOf(ImagePart part) {
  switch (part) {
    case ImagePart::LampLit: return BoardImage::LampLit;
    case ImagePart::LampUnlit: return BoardImage::LampUnlit;
    case ImagePart::LabelSolutionExists: return BoardImage::LabelSolutionExists;
    default: return BoardImage::LabelNoSolution;
  }
}

/// The wall-hover sheet at scale 1: the hatch strips along its left and top
/// edges, the markers crossing in its middle.
Rect ShippedWallHoverPart(ImagePart part) {
  switch (part) {
    case ImagePart::LeftHatch: return LeftHatch;
    case ImagePart::TopHatch: return TopHatch;
    case ImagePart::VerticalMarker: return VerticalMarker;
    default: return HorizontalMarker;
  }
}

/// The wall-hover sheet at other scales: the hatch strips as at 1, the two
/// markers side by side to the right of them.
Rect ScaledWallHoverPart(ImagePart part, const BoardScale& scale) {
  const int sheet = scale.Length(51), gap = scale.Length(GapSize),
            square = scale.Length(SquareSize);
  switch (part) {
    case ImagePart::LeftHatch: return {0, 0, gap, sheet};
    case ImagePart::TopHatch: return {0, 0, sheet, gap};
    case ImagePart::VerticalMarker: return {sheet, 0, gap, square};
    default: return {sheet + gap, 0, square, gap};
  }
}

/// How a part is put onto the canvas.
enum class Raster { Copy, And, Or };

/// One frame being drawn: the canvas, and the options it is drawn with.
/// Positions and areas are given in board pixels and land on device pixels.
class Frame {
 public:
  Frame(BoardCanvas& canvas, const DrawOptions& options) : m_canvas(canvas), m_options(options) {}

  const BoardScale& scale() const { return m_options.scale; }
  bool symbols() const { return m_options.symbols; }
  BoardCanvas& canvas() const { return m_canvas; }

  void Fill(const Rect& area, Rgb colour) const { m_canvas.Fill(scale().Area(area), colour); }

  /// The part with its top-left pixel at the board position.
  void Put(ImagePart part, Point at, Raster raster) const {
    const ImagePlace place = PlaceOf(part, scale());
    const Point device = scale().At(at);
    switch (raster) {
      case Raster::Copy: m_canvas.Copy(device, place.image, place.rect); break;
      case Raster::And: m_canvas.And(device, place.image, place.rect); break;
      case Raster::Or: m_canvas.Or(device, place.image, place.rect); break;
    }
  }

 private:
  BoardCanvas& m_canvas;
  const DrawOptions& m_options;
};

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

void DrawBall(const Frame& frame, Point at, int colour) {
  // The mask whitens the disc, then the ball frame ANDs its pixels in; outside
  // the disc both leave the destination unchanged.
  frame.Put(ImagePart::BallMask, at, Raster::Or);
  frame.Put(BallPart(colour), at, Raster::And);
  if (frame.symbols()) {
    FillBallMark(frame.canvas(), frame.scale(), ShapeOfColour(colour),
                 {at.x, at.y, BallSize, BallSize});
  }
}

void DrawHole(const Frame& frame, const Rect& square, int colour) {
  if (frame.symbols()) {
    FillHoleShape(frame.canvas(), frame.scale(), ShapeOfColour(colour), square,
                  HoleColours[colour]);
  } else {
    frame.Fill(square, HoleColours[colour]);
  }
}

/// The black frame and the floor inside it.
void DrawBoard(const Frame& frame, const Level& level) {
  const int n = level.boardSize;
  const int corner = BoardOffset(n) + 10;
  frame.Fill({corner, corner, Pitch * n + GapSize, Pitch * n + GapSize}, WallColour);
  frame.Fill({FloorOrigin(n), FloorOrigin(n), FloorExtent(n), FloorExtent(n)}, FloorColour);
}

void DrawHoles(const Frame& frame, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  for (const Piece& hole : level.holes) {
    if (!IsColourNumber(hole.colour) || editing.CarriedItem == CarriedHole(ColourOf(hole)))
      continue;
    DrawHole(frame, SquareAt(SquareCorner(n, hole.column, hole.row)), hole.colour);
  }
}

void DrawWalls(const Frame& frame, const Level& level) {
  // Border walls are drawn too; they fall on the frame.
  const int n = level.boardSize;
  for (int column = 0; column < n; ++column) {
    for (int row = 0; row < n; ++row) {
      const Cell cell = CellAt(level, column, row);
      const Point corner = SquareCorner(n, column, row);
      if (!(cell & OpenEast))
        frame.Fill({corner.x + SquareSize, corner.y - GapSize, GapSize, 53}, WallColour);
      if (!(cell & OpenSouth))
        frame.Fill({corner.x - GapSize, corner.y + SquareSize, 53, GapSize}, WallColour);
    }
  }
}

void DrawBalls(const Frame& frame, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  for (const Piece& ball : level.balls) {
    if (!IsColourNumber(ball.colour) || editing.CarriedItem == CarriedBall(ColourOf(ball)))
      continue;
    DrawBall(frame, SquareCorner(n, ball.column, ball.row) + Point{2, 2}, ball.colour);
  }
}

/// The hatch over a hovered open passage, or the X marker over a hovered wall.
void DrawHoveredWall(const Frame& frame, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  const bool hoversWall =
      editing.HoverKind == WallKind::East || editing.HoverKind == WallKind::South;
  // A stale hover from a board of another size names no cell of this one.
  if (IsCarrying(editing) || !hoversWall || !IsOnBoard(n, editing.HoverColumn, editing.HoverRow))
    return;
  const Cell cell = CellAt(level, editing.HoverColumn, editing.HoverRow);
  const Point corner = SquareCorner(n, editing.HoverColumn, editing.HoverRow);
  if (editing.HoverKind == WallKind::East) {
    if (cell & OpenEast)
      frame.Put(ImagePart::LeftHatch, corner + Point{SquareSize, -10}, Raster::And);
    else
      frame.Put(ImagePart::VerticalMarker, corner + Point{SquareSize, 0}, Raster::Copy);
  } else {
    if (cell & OpenSouth)
      frame.Put(ImagePart::TopHatch, corner + Point{-10, SquareSize}, Raster::And);
    else
      frame.Put(ImagePart::HorizontalMarker, corner + Point{0, SquareSize}, Raster::Copy);
  }
}

/// The drop square's outline and the carried piece centred on the pointer.
void DrawCarriedPiece(const Frame& frame, const Level& level, const EditingState& editing) {
  const int n = level.boardSize;
  if (!CarriesBall(editing) && !CarriesHole(editing)) return;
  if (!IsOnBoard(n, editing.HoverColumn, editing.HoverRow)) return;
  // The drop square's one-pixel outline: its four border lines, 120 pixels.
  const Point corner = SquareCorner(n, editing.HoverColumn, editing.HoverRow);
  const int x = corner.x, y = corner.y, last = SquareSize - 1;
  frame.Fill({x, y, SquareSize, 1}, OutlineColour);
  frame.Fill({x, y + last, SquareSize, 1}, OutlineColour);
  frame.Fill({x, y, 1, SquareSize}, OutlineColour);
  frame.Fill({x + last, y, 1, SquareSize}, OutlineColour);

  const Point pointer{editing.PointerX, editing.PointerY};
  const int colour = ColourNumber(ColourOf(editing.CarriedItem));
  if (CarriesBall(editing)) {
    DrawBall(frame, pointer - Point{13, 13}, colour);
  } else {
    DrawHole(frame, SquareAt(pointer - Point{15, 15}), colour);
  }
}

/// The lamp and label of the solvability indicator.
void DrawStatus(const Frame& frame, const Level& level, const EditingState& editing) {
  // While a piece is in the hand the level has not been checked: no solution shown.
  const Point top{0, StatusTop(level.boardSize)};
  if (IsCarrying(editing) || level.solvable == 0) {
    frame.Put(ImagePart::LampUnlit, top + LampUnlitAt, Raster::Copy);
    frame.Put(ImagePart::LabelNoSolution, top + LabelAt, Raster::Copy);
  } else {
    frame.Put(ImagePart::LampLit, top + LampLitAt, Raster::Copy);
    frame.Put(ImagePart::LabelSolutionExists, top + LabelAt, Raster::Copy);
  }
}

}  // namespace

ImagePlace PlaceOf(ImagePart part, const BoardScale& scale) {
  switch (part) {
    case ImagePart::BlueBall:
    case ImagePart::GreenBall:
    case ImagePart::RedBall:
    case ImagePart::BallMask: {
      const int frame = scale.Length(BallSize);
      return {BoardImage::BallSheet, {frame * static_cast<int>(part), 0, frame, frame}};
    }
    case ImagePart::LeftHatch:
    case ImagePart::TopHatch:
    case ImagePart::VerticalMarker:
    case ImagePart::HorizontalMarker:
      return {BoardImage::WallHoverSheet,
              scale.IsOne() ? ShippedWallHoverPart(part) : ScaledWallHoverPart(part, scale)};
    default: {
      const BoardImage image = WholeImageOf(part);
      return {image, BoardImageRect(image, scale)};
    }
  }
}

Rect BoardImageRect(BoardImage image, const BoardScale& scale) {
  if (scale.IsOne()) return BoardImageRect(image);
  // The sheets hold their parts side by side, each as long as its length at
  // the scale, so a sheet may be a pixel wider than its length at the scale.
  if (image == BoardImage::BallSheet) {
    const Rect mask = PlaceOf(ImagePart::BallMask, scale).rect;
    return {0, 0, mask.x + mask.width, mask.height};
  }
  if (image == BoardImage::WallHoverSheet) {
    const Rect marker = PlaceOf(ImagePart::HorizontalMarker, scale).rect;
    return {0, 0, marker.x + marker.width, scale.Length(51)};
  }
  const Rect shipped = BoardImageRect(image);
  return {0, 0, scale.Length(shipped.width), scale.Length(shipped.height)};
}

Rect LampLabelArea(int boardSize) {
  const Rect label = BoardImageRect(BoardImage::LabelNoSolution);
  return {LabelAt.x, StatusTop(boardSize) + LabelAt.y, label.width, label.height};
}

Rect FrameSize(const BoardScale& scale) { return scale.Area({0, 0, ViewWidth, ViewHeight}); }

Rect BoardArea(int boardSize) {
  constexpr int margin = 10;
  const int corner = BoardOffset(boardSize) + 10 - margin;
  const int frameSize = Pitch * boardSize + GapSize;
  return {corner, corner, frameSize + 2 * margin, StatusTop(boardSize) - corner};
}

void DrawBoardFrame(BoardCanvas& canvas, const Level& level, const EditingState& editing,
                    const DrawOptions& options) {
  const Frame frame(canvas, options);
  frame.Fill({0, 0, ViewWidth, ViewHeight}, options.background);
  // A level that is still being built (no board yet) shows the background only.
  if (!IsDrawable(level)) return;
  DrawBoard(frame, level);
  DrawHoles(frame, level, editing);
  DrawWalls(frame, level);
  DrawBalls(frame, level, editing);
  DrawHoveredWall(frame, level, editing);
  DrawCarriedPiece(frame, level, editing);
  DrawStatus(frame, level, editing);
}

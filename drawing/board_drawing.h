#pragma once
// The drawing of one board frame, step by step, against any canvas that fills
// rectangles and copies parts of the six board images with the three raster
// operations of the drawing. The editor paints through QPainter, the web page
// and the server into a plain pixel buffer; both run these same steps.

#include <array>

#include "drawing/editing_state.h"
#include "drawing/raster.h"
#include "logic/level.h"

/// The six images the board is drawn from.
enum class BoardImage {
  BallSheet,
  WallHoverSheet,
  LampLit,
  LampUnlit,
  LabelSolutionExists,
  LabelNoSolution
};
inline constexpr std::size_t BoardImageCount = 6;

/// Every image in the order of BoardImage.
inline constexpr std::array<BoardImage, BoardImageCount> AllBoardImages = {
    BoardImage::BallSheet, BoardImage::WallHoverSheet,      BoardImage::LampLit,
    BoardImage::LampUnlit, BoardImage::LabelSolutionExists, BoardImage::LabelNoSolution};

/// Width and height of each image, as the drawing uses them.
constexpr Rect BoardImageRect(BoardImage image) {
  switch (image) {
    case BoardImage::BallSheet:
      return {0, 0, 108, 27};  // blue, green, red ball frames, then the mask
    case BoardImage::WallHoverSheet:
      return {0, 0, 51, 51};  // hatch strips and the two wall markers
    case BoardImage::LampLit: return {0, 0, 33, 36};
    case BoardImage::LampUnlit: return {0, 0, 21, 30};
    case BoardImage::LabelSolutionExists: return {0, 0, 111, 16};
    case BoardImage::LabelNoSolution: return {0, 0, 111, 16};
  }
  return {};
}

/// Where the drawing goes. Copies take the part `from` of an image and put its
/// top-left pixel at `at`; what falls outside the image or the canvas is left out.
class BoardCanvas {
 public:
  virtual ~BoardCanvas() = default;
  /// Sets every pixel of the area to the colour.
  virtual void Fill(const Rect& area, Rgb colour) = 0;
  /// Destination pixel = source pixel.
  virtual void Copy(Point at, BoardImage source, const Rect& from) = 0;
  /// Destination pixel = destination AND source, per channel.
  virtual void And(Point at, BoardImage source, const Rect& from) = 0;
  /// Destination pixel = destination OR source, per channel.
  virtual void Or(Point at, BoardImage source, const Rect& from) = 0;
};

/// The part of the frame that shows the board: its black frame with 10 pixels
/// of background left, right and above it, down to the row where the
/// solvability indicator begins. The web page shows this part.
Rect BoardArea(int boardSize);

/// Draws the whole 325 x 359 frame of the level and the editing state:
/// background, frame, floor, holes, walls, balls, the pointer's overlays and
/// the solvability indicator, in that order.
void DrawBoardFrame(BoardCanvas& canvas, const Level& level, const EditingState& editing);

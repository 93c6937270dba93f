#pragma once
// The drawing of one board frame, step by step, against any canvas that fills
// rectangles and copies parts of the six board images with the three raster
// operations of the drawing. The editor paints through QPainter, the web page
// and the server into a plain pixel buffer; both run these same steps.

#include <array>

#include "drawing/board_image_names.h"
#include "drawing/board_scale.h"
#include "drawing/editing_state.h"
#include "drawing/raster.h"
#include "logic/level.h"

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

/// The view's background, on which the lamps and labels stand too.
inline constexpr Rgb ClassicBackground = MakeRgb(128, 128, 128);

/// The parts of the images that the frame is drawn from.
enum class ImagePart {
  BlueBall,
  GreenBall,
  RedBall,
  BallMask,  // a white disc on black
  LeftHatch,
  TopHatch,
  VerticalMarker,
  HorizontalMarker,
  LampLit,
  LampUnlit,
  LabelSolutionExists,
  LabelNoSolution
};

/// Where a part stands: in which image, and its rectangle there.
struct ImagePlace {
  BoardImage image;
  Rect rect;
};

/// Where each part stands in the images made for the scale. At scale 1 these
/// are the places in the six shipped images; at other scales every part has
/// the size Length() of its size at 1, and no two parts share a pixel except
/// the two hatch strips, which show the same pattern where they overlap.
ImagePlace PlaceOf(ImagePart part, const BoardScale& scale);

/// The size of each image made for the scale; BoardImageRect at scale 1.
Rect BoardImageRect(BoardImage image, const BoardScale& scale);

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

/// Where the label of the solvability indicator stands in the frame of an
/// N x N board (board pixels), beside its lamp.
Rect LampLabelArea(int boardSize);

/// What a frame shows beyond the classic picture, and for which screen. The
/// classic editor draws with the defaults.
struct DrawOptions {
  /// Each colour also shown by a shape: the hole takes the shape (a disc for
  /// blue, a triangle for green, a square for red) and its ball carries the
  /// same shape, small and black, in its middle.
  bool symbols = false;
  /// Device pixels per board pixel: the frame is FrameSize(scale) device
  /// pixels, drawn from images made for the scale (see PlaceOf).
  BoardScale scale;
  /// The colour around the board; the lamps and labels stand on the
  /// classic grey, so a window that shows them keeps it.
  Rgb background = ClassicBackground;
  friend bool operator==(const DrawOptions&, const DrawOptions&) = default;
};

/// The size of a whole frame drawn at the scale: 325 x 359 at 1.
Rect FrameSize(const BoardScale& scale);

/// Draws the whole frame of the level and the editing state: background,
/// frame, floor, holes, walls, balls, the pointer's overlays and the
/// solvability indicator, in that order; with the default options, the
/// classic 325 x 359 frame.
void DrawBoardFrame(BoardCanvas& canvas, const Level& level, const EditingState& editing,
                    const DrawOptions& options = {});

#pragma once
// Draws one whole frame of the board view into an off-screen image, with the
// drawing steps of drawing/ painted through QPainter.

#include <QImage>
#include <QPoint>

#include "drawing/editing_state.h"
#include "logic/level.h"

/// The six images the board is drawn from, each in QImage::Format_RGB32.
struct BoardImages {
  QImage ballSheet;            // 108 x 27: blue, green, red ball frames, then the mask
  QImage wallHoverSheet;       // 51 x 51: hatch strips and the two wall markers
  QImage lampLit;              // 33 x 36
  QImage lampUnlit;            // 21 x 30
  QImage labelSolutionExists;  // 111 x 16
  QImage labelNoSolution;      // 111 x 16
};

/// The images compiled into the program.
BoardImages LoadBoardImages();

class BoardRenderer {
 public:
  BoardRenderer();  // with the compiled-in images
  explicit BoardRenderer(BoardImages images);

  /// Rebuilds the whole 325 x 359 frame from the level and the editing state
  /// and returns it; the image stays valid until the next call.
  const QImage& DrawFrame(const Level& level, const EditingState& editing);
  /// The frame with nothing hovered or carried, as the game and the tool show a level.
  const QImage& DrawFrame(const Level& level) { return DrawFrame(level, EditingState{}); }

 private:
  BoardImages m_images;
  QImage m_backBuffer;
};

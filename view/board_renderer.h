#pragma once
// Draws one whole frame of the board view into an off-screen image, with the
// drawing steps of drawing/ painted through QPainter.

#include <QImage>
#include <QPoint>
#include <QString>

#include "drawing/board_drawing.h"
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

/// The member of the images that holds the image.
const QImage& ImageOf(const BoardImages& images, BoardImage image);
QImage& ImageOf(BoardImages& images, BoardImage image);

/// The images compiled into the program.
BoardImages LoadBoardImages();
/// The images for a scale: the compiled-in ones at 1, made by the same rules at any other.
BoardImages BoardImagesFor(const BoardScale& scale);
/// The name of the image's file in view/images.
const char* BoardImageFileName(BoardImage image);

/// The words of the solvability indicator's label. The shipped label images
/// spell the English words in a pixel font of their own; any other words (a
/// translation) are drawn in the system's bold font instead, as large as both
/// fit the label, on the label's grey and in its ink.
struct LampWords {
  QString solvable = QStringLiteral("SOLUTION EXISTS");
  QString unsolvable = QStringLiteral("NO SOLUTION");
  friend bool operator==(const LampWords&, const LampWords&) = default;
};

/// The two label images with the words drawn in a font, at the scale: the
/// solvable one from the left edge, the unsolvable one ending at the right, as
/// the pixel-font labels stand. Needs a QGuiApplication, for the font.
void DrawLampWords(BoardImages& images, const LampWords& words, const BoardScale& scale);

class BoardRenderer {
 public:
  BoardRenderer();  // the classic frame, with the compiled-in images
  explicit BoardRenderer(BoardImages images);
  /// Frames with the options, from the images for their scale.
  explicit BoardRenderer(const DrawOptions& options);

  /// Rebuilds the whole frame from the level and the editing state and
  /// returns it; the image stays valid until the next call. It is
  /// FrameSize(scale) device pixels with the scale as its device pixel ratio,
  /// so it paints over 325 x 359 pixels of a widget, one to one on a screen
  /// of that ratio.
  const QImage& DrawFrame(const Level& level, const EditingState& editing);
  /// The frame with nothing hovered or carried, as the game and the tool show a level.
  const QImage& DrawFrame(const Level& level) { return DrawFrame(level, EditingState{}); }

  const DrawOptions& options() const { return m_options; }
  /// What later frames show; the images are made anew only for another scale.
  void SetOptions(const DrawOptions& options);
  /// The label's words in later frames (the classic English ones at first).
  void SetLampWords(const LampWords& words);

 private:
  /// A back buffer of the frame's size at the scale, with the scale as its ratio.
  void MakeBackBuffer();
  /// Puts the label images for the words and the scale in place, the shipped
  /// ones for the English words.
  void MakeLabels();

  DrawOptions m_options;
  BoardImages m_images;
  LampWords m_lampWords;
  QImage m_backBuffer;
};

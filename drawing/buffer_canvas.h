#pragma once
// The board drawn into a plain pixel buffer, with no window system: the web
// page's and the server's canvas. Gives the same pixels as the editor's
// QPainter canvas.

#include <array>

#include "drawing/board_drawing.h"

/// The six board images as pixel buffers, indexed by BoardImage.
using BoardPixels = std::array<RgbImage, BoardImageCount>;

/// True when every image has the size the drawing expects.
bool HasBoardImageSizes(const BoardPixels& images);

/// Paints into a pixel buffer; pixels outside the buffer or outside a source
/// image are left out, as a clipped painter leaves them out.
class BufferCanvas final : public BoardCanvas {
 public:
  BufferCanvas(RgbImage& target, const BoardPixels& images) : m_target(target), m_images(images) {}

  void Fill(const Rect& area, Rgb colour) override;
  void Copy(Point at, BoardImage source, const Rect& from) override;
  void And(Point at, BoardImage source, const Rect& from) override;
  void Or(Point at, BoardImage source, const Rect& from) override;

 private:
  template <class Combine>
  void Blit(Point at, BoardImage source, const Rect& from, Combine combine);

  RgbImage& m_target;
  const BoardPixels& m_images;
};

/// Draws whole frames into a buffer it keeps, as BoardRenderer does into a QImage.
class BufferRenderer {
 public:
  /// Draws classic frames from the images, which are those of scale 1.
  explicit BufferRenderer(BoardPixels images);

  /// Rebuilds the whole frame, FrameSize(scale) pixels; the image stays valid
  /// until the next call.
  const RgbImage& DrawFrame(const Level& level, const EditingState& editing);

  /// What later frames show. At scale 1 they are drawn from the images given;
  /// at any other, from images made for the scale by the same rules.
  void SetOptions(const DrawOptions& options);
  const DrawOptions& options() const { return m_options; }

  /// The images the frames are drawn from.
  const BoardPixels& images() const { return m_options.scale.IsOne() ? m_shipped : m_scaled; }

 private:
  BoardPixels m_shipped;  // the images of scale 1
  BoardPixels m_scaled;   // made for the options' scale, when it is not 1
  DrawOptions m_options;
  RgbImage m_frame;
};

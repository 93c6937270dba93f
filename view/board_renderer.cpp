// One frame of the board view drawn into the back buffer through QPainter,
// whose composition modes give the fills, copies and per-channel AND and OR
// that the drawing steps are made of.

#include "view/board_renderer.h"

#include <QPainter>
#include <utility>

#include "drawing/board_drawing.h"
#include "drawing/board_geometry.h"

namespace {

QRect ToQRect(const Rect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

/// Paints with the raster operations the drawing is defined by: plain fills
/// and copies, and per-channel AND and OR of whole pixels.
class PainterCanvas final : public BoardCanvas {
 public:
  PainterCanvas(QImage& target, const BoardImages& images) : m_painter(&target), m_images(images) {}

  void Fill(const Rect& area, Rgb colour) override {
    UseMode(QPainter::CompositionMode_Source);
    m_painter.fillRect(ToQRect(area), QColor(colour));
  }
  void Copy(Point at, BoardImage source, const Rect& from) override {
    Blit(QPainter::CompositionMode_Source, at, source, from);
  }
  void And(Point at, BoardImage source, const Rect& from) override {
    Blit(QPainter::RasterOp_SourceAndDestination, at, source, from);
  }
  void Or(Point at, BoardImage source, const Rect& from) override {
    Blit(QPainter::RasterOp_SourceOrDestination, at, source, from);
  }

 private:
  void Blit(QPainter::CompositionMode mode, Point at, BoardImage source, const Rect& from) {
    UseMode(mode);
    m_painter.drawImage(QPoint(at.x, at.y), ImageOf(m_images, source), ToQRect(from));
  }

  /// Switching the mode costs a state change in the painter, so only on change.
  void UseMode(QPainter::CompositionMode mode) {
    if (m_painter.compositionMode() != mode) m_painter.setCompositionMode(mode);
  }

  QPainter m_painter;
  const BoardImages& m_images;
};

}  // namespace

BoardRenderer::BoardRenderer() : BoardRenderer(LoadBoardImages()) {}

BoardRenderer::BoardRenderer(BoardImages images)
    : m_images(std::move(images)), m_backBuffer(ViewWidth, ViewHeight, QImage::Format_RGB32) {}

BoardRenderer::BoardRenderer(const DrawOptions& options)
    : m_options(options), m_images(BoardImagesFor(options.scale)) {
  MakeBackBuffer();
}

void BoardRenderer::SetOptions(const DrawOptions& options) {
  const bool newScale = options.scale != m_options.scale;
  m_options = options;
  if (!newScale) return;
  m_images = BoardImagesFor(options.scale);
  MakeBackBuffer();
}

void BoardRenderer::MakeBackBuffer() {
  const Rect size = FrameSize(m_options.scale);
  m_backBuffer = QImage(size.width, size.height, QImage::Format_RGB32);
  m_backBuffer.setDevicePixelRatio(m_options.scale.factor());
}

const QImage& BoardRenderer::DrawFrame(const Level& level, const EditingState& editing) {
  // A painter on an image scales by its device pixel ratio; the drawing gives
  // device pixels already, so it paints at ratio 1.
  const qreal ratio = m_backBuffer.devicePixelRatio();
  m_backBuffer.setDevicePixelRatio(1.0);
  {
    PainterCanvas canvas(m_backBuffer, m_images);
    DrawBoardFrame(canvas, level, editing, m_options);
  }
  m_backBuffer.setDevicePixelRatio(ratio);
  return m_backBuffer;
}

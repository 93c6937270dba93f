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
    m_painter.drawImage(QPoint(at.x, at.y), Image(source), ToQRect(from));
  }

  const QImage& Image(BoardImage image) const {
    switch (image) {
      case BoardImage::BallSheet: return m_images.ballSheet;
      case BoardImage::WallHoverSheet: return m_images.wallHoverSheet;
      case BoardImage::LampLit: return m_images.lampLit;
      case BoardImage::LampUnlit: return m_images.lampUnlit;
      case BoardImage::LabelSolutionExists: return m_images.labelSolutionExists;
      case BoardImage::LabelNoSolution: return m_images.labelNoSolution;
    }
    return m_images.ballSheet;
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

const QImage& BoardRenderer::DrawFrame(const Level& level, const EditingState& editing) {
  PainterCanvas canvas(m_backBuffer, m_images);
  DrawBoardFrame(canvas, level, editing);
  return m_backBuffer;
}

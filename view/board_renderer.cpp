// One frame of the board view drawn into the back buffer through QPainter,
// whose composition modes give the fills, copies and per-channel AND and OR
// that the drawing steps are made of.

#include "view/board_renderer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
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

/// The largest bold font in which every word fits a box of width x height
/// device pixels, its ink a pixel inside the box's left and right edges; the
/// marks above capitals (Ö) may reach its top.
QFont FontToFit(const QStringList& words, int width, int height) {
  QFont font = QGuiApplication::font();
  font.setBold(true);
  for (int pixels = height; pixels > 1; --pixels) {
    font.setPixelSize(pixels);
    const QFontMetricsF metrics(font);
    bool fits = true;
    for (const QString& word : words) {
      const QRectF ink = metrics.tightBoundingRect(word);
      fits = fits && ink.width() <= width - 2 && ink.height() <= height;
    }
    if (fits) break;
  }
  return font;
}

/// A label image of the shipped size at the scale: the word on the classic
/// grey, centred from top to bottom, against the left or the right edge.
QImage WordedLabel(const QString& word, const QFont& font, QColor ink, Qt::AlignmentFlag side,
                   const BoardScale& scale) {
  const Rect size = BoardImageRect(BoardImage::LabelNoSolution, scale);
  QImage label(size.width, size.height, QImage::Format_RGB32);
  label.fill(QColor(ClassicBackground));
  QPainter painter(&label);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font);
  painter.setPen(ink);
  const QRectF extent = QFontMetricsF(font).tightBoundingRect(word);
  const qreal x = side == Qt::AlignLeft ? 1 - extent.left() : size.width - 1 - extent.right();
  const qreal baseline = (size.height - extent.height()) / 2 - extent.top();
  painter.drawText(QPointF(x, baseline), word);
  return label;
}

}  // namespace

void DrawLampWords(BoardImages& images, const LampWords& words, const BoardScale& scale) {
  const Rect size = BoardImageRect(BoardImage::LabelNoSolution, scale);
  const QFont font = FontToFit({words.solvable, words.unsolvable}, size.width, size.height);
  // The inks of the pixel-font labels: green beside the lit lamp, grey beside the dark one.
  images.labelSolutionExists =
      WordedLabel(words.solvable, font, QColor(0, 255, 0), Qt::AlignLeft, scale);
  images.labelNoSolution =
      WordedLabel(words.unsolvable, font, QColor(150, 150, 150), Qt::AlignRight, scale);
}

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
  if (m_lampWords != LampWords{}) DrawLampWords(m_images, m_lampWords, options.scale);
  MakeBackBuffer();
}

void BoardRenderer::SetLampWords(const LampWords& words) {
  if (words == m_lampWords) return;
  m_lampWords = words;
  MakeLabels();
}

void BoardRenderer::MakeLabels() {
  if (m_lampWords != LampWords{}) {
    DrawLampWords(m_images, m_lampWords, m_options.scale);
    return;
  }
  const BoardImages shipped = BoardImagesFor(m_options.scale);
  m_images.labelSolutionExists = shipped.labelSolutionExists;
  m_images.labelNoSolution = shipped.labelNoSolution;
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

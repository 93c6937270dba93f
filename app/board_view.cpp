#include "app/board_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "app/board_accessible.h"
#include "drawing/board_geometry.h"

namespace {

/// The sunken client edge around the board image.
constexpr int ClientEdgeWidth = 2;

}  // namespace

CBoardView::CBoardView(EditorDocument& document, QWidget* parent, EditorMode mode)
    : QFrame(parent), m_mode(mode), m_document(document) {
  if (mode == EditorMode::Designer) {
    InstallBoardAccessibility();
    // Designer mode's lamp speaks the user's language; the classic one keeps its picture.
    m_renderer.SetLampWords({tr("SOLUTION EXISTS"), tr("NO SOLUTION")});
  }
  // A pointer move repaints the hover and may move the cursor a screen reader
  // follows; it changes no level, so nothing else hears of it.
  m_document.AddListener([this](DocumentChange change) {
    if (change == DocumentChange::Level) KeepCursorOnBoard();
    update();
    AnnounceChange();
    if (change == DocumentChange::Level) emit documentChanged();
  });
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(ClientEdgeWidth);
  setFixedSize(sizeHint());
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel of the contents is painted from the board image: no background fill.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
}

void CBoardView::SetPieceSymbols(bool on) {
  if (m_mode != EditorMode::Designer || on == m_pieceSymbols) return;
  m_pieceSymbols = on;
  update();
}

DrawOptions CBoardView::drawOptions() const {
  if (m_mode == EditorMode::Classic) return {};
  return {m_pieceSymbols, BoardScale(devicePixelRatioF())};
}

QSize CBoardView::sizeHint() const {
  return {ViewWidth + 2 * ClientEdgeWidth, ViewHeight + 2 * ClientEdgeWidth};
}

void CBoardView::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);  // the sunken edge
  QPainter painter(this);
  // On a high-density screen the classic board's pixels become blocks of whole
  // pixels, never a blur; designer mode's frame has the screen's own pixels.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  // Designer mode follows the screen the window stands on; the images are
  // made anew only when its ratio changes.
  if (m_mode == EditorMode::Designer) m_renderer.SetOptions(drawOptions());
  painter.drawImage(contentsRect().topLeft(), m_renderer.DrawFrame(level(), editing()));
  if (m_mode == EditorMode::Designer && hasFocus()) PaintCursor(painter);
}

// On a high-density screen positions fall between pixels: the board pixel is
// the one that holds the point, so round down rather than to the nearest.
QPoint CBoardView::BoardPoint(const QMouseEvent* event) const {
  const QPointF position = event->position();
  return QPoint(qFloor(position.x()), qFloor(position.y())) - contentsRect().topLeft();
}

void CBoardView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = BoardPoint(event);
  m_document.PointerMoved(point.x(), point.y());
}

void CBoardView::mousePressEvent(QMouseEvent* event) { OnBoardClick(event); }

// The second click of a double click counts as an ordinary click.
void CBoardView::mouseDoubleClickEvent(QMouseEvent* event) { OnBoardClick(event); }

void CBoardView::OnBoardClick(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = BoardPoint(event);
  m_document.Clicked(point.x(), point.y());
}

// Designer mode's keyboard editing of the board. A cursor (a focus frame)
// stands on one square; every key makes the edit the mouse would make there,
// by moving the pointer to the spot a mouse user would click and clicking, so
// the two ways of editing cannot drift apart and each keyboard edit is one
// undoable change, as the same mouse edit is.
//
//   arrows         move the cursor (a carried piece goes with it)
//   Shift+arrows   flip the wall on that side of the cursor's square
//   B or Space     pick up the ball on the square, or put down what is carried
//   H              pick up the hole on the square, or put down what is carried
//   Escape         put a carried piece back where it came from

#include <QKeyEvent>
#include <QPainter>

#include "app/board_view.h"
#include "drawing/board_geometry.h"
#include "editing/pointer_editing.h"

namespace {

/// Offset of a square's centre, where a ball is picked up, from its corner.
constexpr int SquareCentre = SquareSize / 2;
/// A spot in a square's corner, outside its ball: where a hole is picked up.
constexpr int SquareCorner = 1;
/// Offset of a wall gap's middle from the square before it.
constexpr int GapMiddle = SquareSize + GapSize / 2;

/// The cursor's focus frame: a ring of the focus colour with a black inner
/// edge, visible on the black walls and on the light floor alike.
constexpr QColor FocusRing(255, 200, 0);
constexpr int FocusRingWidth = 2;

struct Step {
  int columns;
  int rows;
};

std::optional<Step> StepOfKey(int key) {
  switch (key) {
    case Qt::Key_Up: return Step{0, -1};
    case Qt::Key_Down: return Step{0, 1};
    case Qt::Key_Left: return Step{-1, 0};
    case Qt::Key_Right: return Step{1, 0};
    default: return std::nullopt;
  }
}

}  // namespace

void CBoardView::keyPressEvent(QKeyEvent* event) {
  if (m_mode == EditorMode::Designer &&
      HandleBoardKey(event->key(), event->modifiers() & ~Qt::KeypadModifier)) {
    event->accept();
    return;
  }
  QFrame::keyPressEvent(event);
}

bool CBoardView::HandleBoardKey(int key, Qt::KeyboardModifiers modifiers) {
  if (const std::optional<Step> step = StepOfKey(key)) {
    if (modifiers == Qt::NoModifier) {
      MoveCursor(step->columns, step->rows);
      return true;
    }
    if (modifiers == Qt::ShiftModifier) {
      FlipCursorWall(step->columns, step->rows);
      return true;
    }
    return false;
  }
  if (modifiers != Qt::NoModifier) return false;
  switch (key) {
    case Qt::Key_B:
    case Qt::Key_Space: TakeOrPut(true); return true;
    case Qt::Key_H: TakeOrPut(false); return true;
    case Qt::Key_Escape:
      if (!IsCarrying(editing())) return false;
      m_document.Apply(edit::EndCarry{});
      return true;
    default: return false;
  }
}

void CBoardView::MoveCursor(int columns, int rows) {
  const int n = level().boardSize;
  m_cursor = QPoint(std::clamp(m_cursor.x() + columns, 0, n - 1),
                    std::clamp(m_cursor.y() + rows, 0, n - 1));
  // A carried piece follows the cursor, as it follows the pointer.
  const int x = SquareOrigin(n, m_cursor.x()) + SquareCentre;
  const int y = SquareOrigin(n, m_cursor.y()) + SquareCentre;
  m_document.PointerMoved(x, y);
  AnnounceChange();
}

void CBoardView::ClickAt(QPoint point) {
  m_document.PointerMoved(point.x(), point.y());
  m_document.Clicked(point.x(), point.y());
}

void CBoardView::TakeOrPut(bool ball) {
  const int n = level().boardSize;
  const QPoint corner(SquareOrigin(n, m_cursor.x()), SquareOrigin(n, m_cursor.y()));
  const QPoint centre = corner + QPoint(SquareCentre, SquareCentre);
  if (IsCarrying(editing())) {
    ClickAt(centre);
    return;
  }
  const QPoint spot = ball ? centre : corner + QPoint(SquareCorner, SquareCorner);
  EditingState hovering = editing();
  HoverAt(level(), hovering, spot.x(), spot.y());
  const ClickEdit click = DecideClick(level(), hovering, spot.x(), spot.y());
  const auto* pickUp = std::get_if<edit::PickUp>(&click);
  if (pickUp == nullptr || IsBall(pickUp->piece) != ball) {
    emit transientMessage(ball ? tr("No ball stands on this square.")
                               : tr("No hole lies on this square."));
    return;
  }
  ClickAt(spot);
}

// The wall north of a square is the one south of the square above it, and
// the wall west of it the one east of the square to its left.
void CBoardView::FlipCursorWall(int columns, int rows) {
  const int n = level().boardSize;
  const int column = m_cursor.x() + std::min(columns, 0);
  const int row = m_cursor.y() + std::min(rows, 0);
  const bool east = columns != 0;
  if (column < 0 || row < 0 || (east && column >= n - 1) || (!east && row >= n - 1)) {
    emit transientMessage(tr("The border has no wall to flip."));
    return;
  }
  const int x = SquareOrigin(n, column) + (east ? GapMiddle : SquareCentre);
  const int y = SquareOrigin(n, row) + (east ? SquareCentre : GapMiddle);
  ClickAt(QPoint(x, y));
}

void CBoardView::KeepCursorOnBoard() {
  const int n = level().boardSize;
  m_cursor = QPoint(std::min(m_cursor.x(), n - 1), std::min(m_cursor.y(), n - 1));
}

void CBoardView::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  update();  // the cursor shows while the board has the focus
}

void CBoardView::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  update();
}

void CBoardView::PaintCursor(QPainter& painter) const {
  const int n = level().boardSize;
  const QRect square(contentsRect().topLeft() +
                         QPoint(SquareOrigin(n, m_cursor.x()), SquareOrigin(n, m_cursor.y())),
                     QSize(SquareSize, SquareSize));
  painter.setPen(Qt::NoPen);
  painter.setBrush(FocusRing);
  const QRect outer =
      square.adjusted(-FocusRingWidth, -FocusRingWidth, FocusRingWidth, FocusRingWidth);
  painter.drawRect(QRect(outer.left(), outer.top(), outer.width(), FocusRingWidth));
  painter.drawRect(
      QRect(outer.left(), outer.bottom() - FocusRingWidth + 1, outer.width(), FocusRingWidth));
  painter.drawRect(QRect(outer.left(), outer.top(), FocusRingWidth, outer.height()));
  painter.drawRect(
      QRect(outer.right() - FocusRingWidth + 1, outer.top(), FocusRingWidth, outer.height()));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(square.adjusted(0, 0, -1, -1));
}

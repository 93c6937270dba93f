#include "app/board_accessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPoint>
#include <QStringList>

#include "app/board_view.h"
#include "app/status_line.h"
#include "view/board_description.h"

namespace {

/// A text marked with QT_TRANSLATE_NOOP in the context "BoardAccessible".
QString Tr(const char* text) { return QCoreApplication::translate("BoardAccessible", text); }

/// The board view as a screen reader sees it in designer mode.
class CBoardAccessible : public QAccessibleWidget {
 public:
  explicit CBoardAccessible(CBoardView* view) : QAccessibleWidget(view, QAccessible::Canvas) {}

  QString text(QAccessible::Text kind) const override {
    auto* view = static_cast<CBoardView*>(widget());
    if (kind == QAccessible::Name) return view->AccessibleName();
    if (kind == QAccessible::Description) return view->AccessibleDescription();
    return QAccessibleWidget::text(kind);
  }
};

/// "the red ball", "the blue hole": what stands on the square, the ball first.
QStringList PiecesOn(const Level& level, QPoint square) {
  QStringList pieces;
  const auto on = [&](const Piece& piece) {
    return piece.column == square.x() && piece.row == square.y();
  };
  for (const Piece& ball : level.balls) {
    if (on(ball))
      pieces << Tr(QT_TRANSLATE_NOOP("BoardAccessible", "the %1 ball"))
                    .arg(ColourWord(ColourOf(ball)));
  }
  for (const Piece& hole : level.holes) {
    if (on(hole))
      pieces << Tr(QT_TRANSLATE_NOOP("BoardAccessible", "the %1 hole"))
                    .arg(ColourWord(ColourOf(hole)));
  }
  return pieces;
}

QAccessibleInterface* BoardAccessibleFactory(const QString& className, QObject* object) {
  auto* view = qobject_cast<CBoardView*>(object);
  if (className != QLatin1String("CBoardView") || view == nullptr ||
      view->mode() != EditorMode::Designer)
    return nullptr;
  return new CBoardAccessible(view);
}

}  // namespace

void InstallBoardAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(BoardAccessibleFactory);
    return true;
  }();
  (void)installed;
}

QString BoardCursorText(const Level& level, QPoint cursor) {
  const int n = level.boardSize;
  const Cell cell = level.cells[static_cast<std::size_t>(cursor.y() * n + cursor.x())];
  QStringList walls;
  QStringList open;
  const struct {
    Cell side;
    const char* name;
  } sides[] = {{OpenNorth, QT_TRANSLATE_NOOP("BoardAccessible", "north")},
               {OpenSouth, QT_TRANSLATE_NOOP("BoardAccessible", "south")},
               {OpenWest, QT_TRANSLATE_NOOP("BoardAccessible", "west")},
               {OpenEast, QT_TRANSLATE_NOOP("BoardAccessible", "east")}};
  for (const auto& side : sides) ((cell & side.side) ? open : walls) << Tr(side.name);
  const QString separator = QCoreApplication::translate("BoardAccessible", ", ");
  QString text = QCoreApplication::translate("BoardAccessible", "Board, cursor on %1")
                     .arg(SquareText(cursor.x(), cursor.y()));
  const QStringList pieces = PiecesOn(level, cursor);
  if (!pieces.isEmpty()) text += QLatin1String(": ") + pieces.join(separator);
  if (!walls.isEmpty() && !pieces.isEmpty())
    text += QCoreApplication::translate("BoardAccessible", "; walls %1").arg(walls.join(separator));
  else if (!walls.isEmpty())
    text += QCoreApplication::translate("BoardAccessible", ": walls %1").arg(walls.join(separator));
  if (!open.isEmpty())
    text += QCoreApplication::translate("BoardAccessible", "; open %1").arg(open.join(separator));
  return text;
}

QString BoardLevelText(const Level& level, const EditingState& editing, const Verdict* verdict) {
  return BoardPiecesText(level) + QLatin1Char(' ') + StatusWithFigures(editing, verdict) +
         QLatin1Char('.');
}

QString CBoardView::AccessibleName() const { return BoardCursorText(level(), m_cursor); }

QString CBoardView::AccessibleDescription() {
  return BoardLevelText(level(), editing(),
                        IsCarrying(editing()) ? nullptr : &m_document.verdict());
}

// The name follows the cursor and the description the level; a screen reader
// reads out the changes of the object that has the focus. Pointer moves that
// change neither send nothing.
void CBoardView::AnnounceChange() {
  if (m_mode != EditorMode::Designer) return;
  const QString name = AccessibleName();
  if (name != m_announcedName) {
    m_announcedName = name;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    emit accessibleChanged(QAccessible::NameChanged);
  }
  const QString description = AccessibleDescription();
  if (description != m_announcedDescription) {
    m_announcedDescription = description;
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
    emit accessibleChanged(QAccessible::DescriptionChanged);
  }
}

#pragma once
// The board view: the window that shows the board image, turns pointer events
// and keys (designer mode) into edits of the editor's document, and repaints
// when the document says so. The document, which holds the program's one
// level, belongs to the main window; the view is handed it. The menu's
// commands are the board's commands (app/board_commands.h), not the view's.

#include <QAccessible>
#include <QFrame>
#include <QPoint>

#include "app/editor_mode.h"
#include "editing/editor_document.h"
#include "logic/maze.h"
#include "view/board_renderer.h"

class CBoardView : public QFrame {
  Q_OBJECT
 public:
  /// Shows the document, which outlives the view.
  explicit CBoardView(EditorDocument& document, QWidget* parent = nullptr,
                      EditorMode mode = EditorMode::Classic);

  EditorMode mode() const { return m_mode; }
  EditorDocument& document() { return m_document; }
  const Level& level() const { return m_document.level(); }
  const EditingState& editing() const { return m_document.editing(); }

  /// Designer mode's keyboard cursor: the square the keys act on (column, row).
  QPoint cursor() const { return m_cursor; }
  /// What a screen reader says of the board: the cursor's square, then the
  /// whole level with its verdict (designer mode).
  QString AccessibleName() const;
  QString AccessibleDescription();

  /// Designer mode: whether each ball and hole is drawn with its colour's
  /// shape too (the board's commands hold the setting). The classic editor never shows them.
  bool pieceSymbols() const { return m_pieceSymbols; }
  void SetPieceSymbols(bool on);
  /// What the next frame is drawn with: the classic frame, or designer mode's
  /// symbols at the screen's device pixel ratio.
  DrawOptions drawOptions() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  /// After every change of the level or the carry, once repainting is asked for.
  void documentChanged();
  /// A short message for the user, such as why a key could not act here.
  void transientMessage(const QString& text);
  /// The board's accessible name or description changed, and a screen reader
  /// was told so (when one listens).
  void accessibleChanged(QAccessible::Event change);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Keyboard editing in designer mode (board_keyboard.cpp): each key makes the
  // edit the mouse would make at the cursor's square.
  /// Handles a key of the board; false when it is none.
  bool HandleBoardKey(int key, Qt::KeyboardModifiers modifiers);
  void MoveCursor(int columns, int rows);
  /// The pointer moves to a point of the board image and clicks there.
  void ClickAt(QPoint point);
  /// The key for a ball (or a hole): pick up the one on the cursor's square,
  /// or put down what is carried.
  void TakeOrPut(bool ball);
  /// Flips the wall on one side of the cursor's square; the border has none to flip.
  void FlipCursorWall(int columns, int rows);
  /// Keeps the cursor on the board after its size changed.
  void KeepCursorOnBoard();
  /// Tells a screen reader that the board's name or description changed.
  void AnnounceChange();
  /// The keyboard cursor's focus frame over the board image.
  void PaintCursor(QPainter& painter) const;

  /// The event's position in the pixels of the board image.
  QPoint BoardPoint(const QMouseEvent* event) const;
  void OnBoardClick(QMouseEvent* event);

  EditorMode m_mode;
  EditorDocument& m_document;
  BoardRenderer m_renderer;
  bool m_pieceSymbols = false;
  QPoint m_cursor{0, 0};
  QString m_announcedName;  // what a screen reader was last told
  QString m_announcedDescription;
};

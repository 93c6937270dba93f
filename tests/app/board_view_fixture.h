#pragma once
// A board view and the board's commands with fixed random draws, a caught
// game launch, and helpers that send real pointer events and watch for repaints.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <ostream>

#include "app/board_commands.h"
#include "app/board_view.h"
#include "app/command_table.h"
#include "logic/solver.h"

/// QStrings in GoogleTest's messages as their text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

/// The C library's rand() sequence from seed 1: fixed draws for repeatable mazes.
inline RandomSource FixedRandom(unsigned seed = 1) {
  return [state = seed]() mutable {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state / 65536u) % 32768u);
  };
}

/// The board as the view paints it, in the device pixels of its screen.
inline QImage ShownBoard(CBoardView& view) {
  return view.grab(view.contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

/// The frame the renderer draws, in the same pixel format as ShownBoard.
inline QImage DrawnBoard(const DrawOptions& options, const Level& level,
                         const EditingState& editing) {
  BoardRenderer renderer(options);
  return renderer.DrawFrame(level, editing).convertToFormat(QImage::Format_RGB32);
}

/// RecheckLevel writes 0 or 1; any other value shows it has not run since.
inline constexpr std::uint8_t NotRechecked = 7;

/// Counts paint events of one widget.
class PaintWatcher : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
  bool painted = false;
};

/// The menu bar written out: a popup as "caption[item|item|-|item]", a submenu
/// as "caption>", a bar command as its caption.
inline QString MenuBarOutline(QMenuBar* bar) {
  QStringList entries;
  for (QAction* entry : bar->actions()) {
    if (entry->menu() == nullptr) {
      entries << entry->text();
      continue;
    }
    QStringList items;
    for (QAction* item : entry->menu()->actions()) {
      items << (item->isSeparator() ? "-" : item->menu() ? item->text() + ">" : item->text());
    }
    entries << entry->text() + "[" + items.join('|') + "]";
  }
  return entries.join(' ');
}

/// Runs the action on the next modal dialog once it is open (a dialog's exec() blocks the test).
inline void WhenDialogOpens(std::function<void(QWidget* dialog)> action) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    poll->stop();
    poll->deleteLater();
    action(dialog);
  });
  poll->start(5);
}

class BoardViewFixture : public ::testing::Test {
 protected:
  BoardViewFixture()
      : document(FixedRandom()), view(document), commands(document, view, EditorMode::Classic) {
    commands.SetGameLauncher([this](const QString& text) { launched << text; });
    view.installEventFilter(&watcher);
    view.show();
    SettlePaints();
  }

  /// Delivers pending repaints and forgets them.
  void SettlePaints() {
    QApplication::processEvents();
    watcher.painted = false;
  }
  /// Whether the view was repainted since the last check.
  bool Repainted() {
    QApplication::processEvents();
    const bool painted = watcher.painted;
    watcher.painted = false;
    return painted;
  }

  /// Runs a command as the main window routes it to the board's commands;
  /// false when the classic editor gives it to no board command.
  bool RunCommand(int id) { return RunCommandHandler(commands, id, EditorMode::Classic); }

  /// Marks the level so a later recheck shows.
  void ArmRecheck() { view.document().LevelForTests().solvable = NotRechecked; }
  bool Rechecked() const { return view.level().solvable != NotRechecked; }

  /// A point of the board image in the view's own coordinates (inside its edge).
  QPointF InView(int x, int y) const {
    return QPointF(view.contentsRect().topLeft() + QPoint(x, y));
  }

  void SendMouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF local = InView(x, y);
    QMouseEvent event(type, local, view.mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(&view, &event);
  }
  void MoveTo(int x, int y) { SendMouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton); }
  void Click(int x, int y) {
    SendMouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
  }
  void DoubleClick(int x, int y) {
    Click(x, y);
    SendMouse(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
  }
  /// Moves onto a square of the 5 x 5 board and clicks the centre of a ball there.
  void ClickSquare(int column, int row) {
    const int x = 63 + 42 * column + 15;
    const int y = 63 + 42 * row + 15;
    MoveTo(x, y);
    Click(x, y);
  }

  PaintWatcher watcher;  // outlives the view it watches
  QStringList launched;
  EditorDocument document;  // the main window's part: it outlives the view
  CBoardView view;
  CBoardCommands commands;  // the menu's commands, as the main window holds them
};

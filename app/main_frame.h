#pragma once
// The main window: title, icon, the menu bar and the keys, and the board view
// as its only child. Commands go to the board view first.

#include <QHash>
#include <QMainWindow>

#include "app/board_view.h"

class QAction;
struct CommandEntry;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(RandomSource random = ClockSeededRandomSource());

  CBoardView& boardView() { return *m_view; }
  /// The action of a command id, or null for an id the table does not hold.
  QAction* commandAction(int id) const { return m_actions.value(id); }

  /// Routes a command to the handler its row names: the board view's, or
  /// the window's own (About, Exit). Returns whether anything handled it.
  bool OnCmdMsg(int id);

  /// Asks the application for the About box.
  void OnAppAbout();
  /// Closes the window, which ends the program.
  void OnAppExit();

 signals:
  /// The application's About command.
  void aboutRequested();

 private:
  void BuildMenuAndKeys();
  QAction* MakeAction(const CommandEntry& command);

  CBoardView* m_view;
  QHash<int, QAction*> m_actions;
};

/// The menu text of a command: its caption, then a tab and the key shown at the item's right edge.
QString MenuText(std::string_view caption, std::string_view shortcut);

#pragma once
// The main window: title, icon, the menu bar and the keys, and the board view.
// It owns what the board shows: the editor's document, or in designer mode the
// designer's session, whose board the view is handed, and the board's
// commands, which are offered every command first. In designer mode the
// window also holds the status line under the board and the level set's
// controller, whose panel stands beside the board; it can be resized and
// keeps its place.

#include <QHash>
#include <QMainWindow>
#include <memory>

#include "app/board_commands.h"
#include "app/board_view.h"
#include "app/editor_mode.h"
#include "editing/designer_session.h"

class QAction;
class CSetController;
class CSetTester;
class CStatusLine;
struct CommandEntry;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  /// grading: the parameters designer mode grades levels with.
  explicit CMainFrame(RandomSource random = ClockSeededRandomSource(),
                      EditorMode mode = EditorMode::Classic, GradeParameters grading = {});
  ~CMainFrame() override;

  EditorMode mode() const { return m_mode; }
  CBoardView& boardView() { return *m_view; }
  CBoardCommands& boardCommands() { return *m_commands; }
  /// The action of a command id in this window's mode, or null.
  QAction* commandAction(int id) const { return m_actions.value(id); }

  /// Routes a command to the handler its row names: the board's commands',
  /// the set controller's or the window's own. Returns whether anything handled it.
  bool OnCmdMsg(int id);

  /// Asks the application for the About box.
  void OnAppAbout();
  /// Closes the window, which ends the program (designer mode asks first
  /// when the set or the board holds changes that are in no file).
  void OnAppExit();

  /// Designer mode: generates a level (designer_commands.cpp).
  void OnGameGenerate();
  /// Designer mode: plays the set in the game from the selected level (designer_commands.cpp).
  void OnGameTestSet();
  /// Designer mode: publishes the board's level on the sharing site (publish_command.cpp).
  void OnFilePublish();
  /// Designer mode: the keys that edit the board.
  void OnHelpKeyboard();

  // Designer mode's parts; null in the classic editor.
  DesignerSession* session() const { return m_session.get(); }
  CStatusLine* statusLine() const { return m_status; }
  CSetController* sets() const { return m_sets; }
  CSetTester* setTester() const { return m_setTester; }

 signals:
  /// The application's About command.
  void aboutRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenuAndKeys();
  QAction* MakeAction(const CommandEntry& command);
  /// The status line and the set's controller, before the menus exist.
  void BuildDesignerParts();
  /// The panel's buttons for the Set commands, the window's saved place,
  /// and the first showing.
  void ShowDesignerParts();
  /// The status line, the title, Undo and Redo and the Set commands, after
  /// every change of the board or the set.
  void ShowDocumentState();
  /// Undo and Redo enabled where they can act, saying what they would do.
  void ShowUndoState();
  /// The commands the session decides on enabled where they can act now.
  void ShowCommandState();
  /// Follows a change of the session.
  void OnSessionChange(SessionChange change);
  /// The check mark of the colours' shapes, the board and the panel's
  /// pictures, now and after every switch.
  void ShowPieceSymbols();
  /// Puts the window where it was last closed, or centred when no screen shows that place.
  void RestorePlace();

  EditorMode m_mode;
  // What the board shows: the session in designer mode, the document alone
  // in the classic editor. The widgets below hold references into it.
  std::unique_ptr<DesignerSession> m_session;
  std::unique_ptr<EditorDocument> m_classicDocument;
  CBoardView* m_view;
  std::unique_ptr<CBoardCommands> m_commands;
  QHash<int, QAction*> m_actions;
  CStatusLine* m_status = nullptr;
  CSetController* m_sets = nullptr;
  CSetTester* m_setTester = nullptr;
};

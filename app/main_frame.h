#pragma once
// The main window: title, icon, the menu bar and the keys, and the board view.
// Commands go to the board view first. In designer mode the window also holds
// the status line under the board and the level set's panel beside it.

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include "app/board_view.h"
#include "app/editor_mode.h"
#include "editing/set_document.h"

class QAction;
class QMenu;
class CLevelSetPanel;
class CStatusLine;
struct CommandEntry;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(RandomSource random = ClockSeededRandomSource(),
                      EditorMode mode = EditorMode::Classic);

  EditorMode mode() const { return m_mode; }
  CBoardView& boardView() { return *m_view; }
  /// The action of a command id in this window's mode, or null.
  QAction* commandAction(int id) const { return m_actions.value(id); }

  /// Routes a command to the handler its row names: the board view's, or
  /// the window's own. Returns whether anything handled it.
  bool OnCmdMsg(int id);

  /// Asks the application for the About box.
  void OnAppAbout();
  /// Closes the window, which ends the program (designer mode asks first
  /// when the set has unsaved changes).
  void OnAppExit();

  // Designer mode: the set's file and its levels, and generation
  // (designer_commands.cpp).
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  void OnGameGenerate();
  void OnSetAdd();
  void OnSetReplace();
  void OnSetRemove();
  void OnSetMoveUp();
  void OnSetMoveDown();
  void OnSetEdit();
  void OnSetTitle();

  /// Opens a set file, as Open and the recent sets do; false when it could not be read.
  bool OpenSetFile(const QString& path);
  /// Writes the set to a file, whole or not at all; false when it could not be written.
  bool SaveSetFile(const QString& path);

  // Designer mode's parts; null in the classic editor.
  CStatusLine* statusLine() const { return m_status; }
  CLevelSetPanel* setPanel() const { return m_panel; }
  const SetDocument& setDocument() const { return m_set; }
  /// The recently opened sets, newest first.
  QStringList RecentSets() const;

 signals:
  /// The application's About command.
  void aboutRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenuAndKeys();
  QAction* MakeAction(const CommandEntry& command);
  /// The status line and the set's panel, before the menus exist.
  void BuildDesignerParts();
  /// The panel's buttons for the Set commands, and the first showing.
  void ShowDesignerParts();
  void ShowDocumentState();
  void ShowSet();
  void RebuildRecentMenu();
  void RememberRecentSet(const QString& path);
  /// Asks what to do with unsaved changes of the set; false when the user cancels.
  bool MaySetBeReplaced();
  /// The selected level's index, or -1 with a message when none is selected.
  int SelectedLevel();

  EditorMode m_mode;
  CBoardView* m_view;
  QHash<int, QAction*> m_actions;
  CStatusLine* m_status = nullptr;
  CLevelSetPanel* m_panel = nullptr;
  QMenu* m_recentMenu = nullptr;
  SetDocument m_set;
};

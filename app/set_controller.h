#pragma once
// Designer mode's level set: the set document, its panel beside the board and
// the commands of the File and Set menus. It ties the board to the set level
// it came from, so that the board's changes go back into that level, and it
// asks before any change that is in no file would be dropped.

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "editing/set_document.h"

class CBoardView;
class CLevelSetPanel;
class CMainFrame;
class CStatusLine;
class QMenu;
class QWidget;

class CSetController : public QObject {
  Q_OBJECT
 public:
  /// Makes the panel (a child of panelParent) and records the set's changes
  /// into the board document's history.
  CSetController(CMainFrame& frame, CBoardView& view, CStatusLine& status, QWidget* panelParent);

  const SetDocument& document() const { return m_set; }
  CLevelSetPanel* panel() const { return m_panel; }

  // The File menu.
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  // The Set menu.
  void OnSetAdd();
  void OnSetUpdate();
  void OnSetRemove();
  void OnSetMoveUp();
  void OnSetMoveDown();
  void OnSetEdit();
  void OnSetTitle();

  /// Opens a set file, as Open and the recent sets do; false when it could not be read.
  bool OpenSetFile(const QString& path);
  /// Writes the set to a file, whole or not at all; false when it could not be written.
  bool SaveSetFile(const QString& path);

  /// Asks what to do with the board's and the set's changes that are in no
  /// file before the window closes; false when the user cancels.
  bool MayClose();
  /// True while the set or the board holds changes that are in no file.
  bool HoldsUnkeptWork() const;
  /// The set's name as the window title shows it.
  QString SetName() const;
  /// The index of the set level the board came from; none when the board's
  /// level is no level of this set.
  std::optional<std::size_t> BoardSetLevel() const;

  /// The recently opened sets, newest first.
  QStringList RecentSets() const;
  /// The File menu's submenu of recent sets, filled now and after every change.
  void AttachRecentMenu(QMenu* menu);

  /// Shows which set level the board holds and enables the Set commands
  /// where they can act; after every change of the board or the set.
  void ShowState();

 signals:
  /// The set, or the board's standing against it, changed.
  void stateChanged();

 private:
  /// Before New or Open: the board's changes to a set level can still go into
  /// it; false when the user cancels.
  bool MayLeaveSet();
  /// Before the board's level is replaced or dropped: keeps its changes in
  /// the set if the user wants; false when the user cancels.
  bool MayReplaceBoard(bool boardStays);
  /// Asks what to do with the set's unsaved changes; false when the user cancels.
  bool MaySetBeReplaced();
  /// The selected level's index, or -1 with a message when none is selected.
  int SelectedLevel();
  /// Ends a carry under way, as every board command does before it acts.
  void EndCarry();
  void SetChanged();
  void RememberRecentSet(const QString& path);
  void RebuildRecentMenu();
  /// The folder the file dialogs open in: the set's, else the one last used.
  QString StartFolder() const;
  /// Says what an added or updated level is like, if it is a repeat or has no solution.
  QString Caveat(std::size_t index) const;

  CMainFrame& m_frame;
  CBoardView& m_view;
  CStatusLine& m_status;
  CLevelSetPanel* m_panel;
  QMenu* m_recentMenu = nullptr;
  SetDocument m_set;
};

/// The path with the set extension (.txt) when its file name has no extension.
QString WithSetExtension(const QString& path);

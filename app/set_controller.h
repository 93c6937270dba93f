#pragma once
// Designer mode's dialogs and files around the session: the set's panel beside
// the board, the file dialogs, the questions before unkept work would be
// dropped, the recent sets and the commands of the File and Set menus. The
// rules behind them (what is unkept, what Add and Update do, which set level
// the board stands for) are the session's.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "editing/designer_session.h"

class CLevelSetPanel;
class CStatusLine;
class QMenu;
class QWidget;

class CSetController : public QObject {
  Q_OBJECT
 public:
  /// Makes the panel (a child of panelParent); the questions and dialogs open
  /// over window.
  CSetController(DesignerSession& session, CStatusLine& status, QWidget& window,
                 QWidget* panelParent);

  const SetDocument& document() const { return m_session.set(); }
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
  void OnSetRename();
  void OnSetSortByLength();
  void OnSetSortByEffort();
  void OnSetSortByGrade();

  /// Puts generated levels into the set after the selected one, as one step,
  /// and says where they went; wanted is the number asked for.
  void AddGeneratedLevels(const std::vector<std::string>& codes, int wanted);

  /// Opens a set file, as Open and the recent sets do; false when it could not be read.
  bool OpenSetFile(const QString& path);
  /// Writes the set to a file, whole or not at all; false when it could not be written.
  bool SaveSetFile(const QString& path);

  /// Asks what to do with the board's and the set's changes that are in no
  /// file before the window closes; false when the user cancels.
  bool MayClose();
  /// The set's name as the window title shows it, marked when its file is read-only.
  QString SetName() const;
  /// True when the set's file is read-only (IsReadOnlyFile).
  bool ReadOnly() const;

  /// The recently opened sets, newest first.
  QStringList RecentSets() const;
  /// The File menu's submenu of recent sets, filled now and after every change.
  void AttachRecentMenu(QMenu* menu);

  /// Shows the set, the level the board holds and the selection in the panel;
  /// redraw draws the levels' pictures anew.
  void ShowState(bool redraw = false);

 private:
  /// Asks about what leaving this way would drop, and keeps what the user
  /// wants kept; false when the user cancels.
  bool MayLeave(Leaving leaving);
  /// Asks about the board's unkept work; false when the user cancels.
  bool AskAboutBoard(std::optional<std::size_t> setLevel, bool boardStays);
  /// Asks what to do with the set's unsaved changes; false when the user cancels.
  bool AskAboutSet();
  /// Asks before a save into a file in which no level was read: Save As
  /// (AcceptRole), into it (DestructiveRole) or not at all (RejectRole).
  QMessageBox::ButtonRole AskAboutFileWithoutLevels(const QString& path);
  /// Says why the set could not be saved and offers Save As; true when Save
  /// As then saved it.
  bool OfferSaveAs(const QString& problem);
  /// Asks for a file and saves the set into it; false when nothing was saved.
  bool SaveAs();
  void SortBy(SetOrder key);
  /// Says when no level is selected; true when one is.
  bool LevelSelected();
  /// Says which set level the board's level went into, with its caveat.
  void ShowKept(const QString& done, const KeptLevel& kept);
  void RememberRecentSet(const QString& path);
  void RebuildRecentMenu();
  /// The folder the file dialogs open in: the set's, else the one last used.
  QString StartFolder() const;

  /// What the panel's list shows.
  struct ShownSet {
    LevelSet set;
    std::string path;
    bool modified = false;
    friend bool operator==(const ShownSet&, const ShownSet&) = default;
  };

  DesignerSession& m_session;
  ShownSet m_shown;
  CStatusLine& m_status;
  QWidget& m_window;
  CLevelSetPanel* m_panel;
  // Whether the file at m_checkedPath is read-only, asked once per file it is opened from or saved
  // to.
  mutable QString m_checkedPath;
  mutable bool m_readOnly = false;
  QMenu* m_recentMenu = nullptr;
};

/// True when the file exists and may not be written: the system forbids it,
/// or its permissions let no one write it.
bool IsReadOnlyFile(const QString& path);

/// The words for a set order ("length", ...), as the panel names it.
QString OrderName(SetOrder key);

/// The path with the set extension (.txt) when its file name has no extension.
QString WithSetExtension(const QString& path);

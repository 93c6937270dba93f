#pragma once
// Designer mode's Test Set: starts the game on the set as it stands, at the
// selected level. A set that is saved and unchanged is played from its own
// file; any other goes, whole, into one file of this run's own in the user's
// runtime folder (never into the set's file), which follows the set's later
// changes so that a game playing it offers each new version. A clean end
// removes that file.

#include <QObject>
#include <QString>
#include <string>

#include "app/game_launcher.h"
#include "editing/designer_session.h"

class CSetTester : public QObject {
  Q_OBJECT
 public:
  /// Keeps the set for the game in a file of this run's own in folder (made when needed).
  CSetTester(DesignerSession& session, const QString& folder, QObject* parent = nullptr);
  /// A clean end: the file goes.
  ~CSetTester() override;

  /// The user's runtime folder, else the user's data folder.
  static QString DefaultFolder();
  /// The file an unsaved or changed set is played from.
  QString path() const { return m_path; }

  /// Replaces the way the game is started (tests catch the arguments).
  void SetGameLauncher(GameArgumentsLauncher launcher) { m_launchGame = std::move(launcher); }

  /// Starts the game on the set at the selected level; false, saying why,
  /// when the set holds no level or its file could not be written.
  bool Test();

 signals:
  /// Why the game could not be started.
  void transientMessage(const QString& text);

 private:
  /// Writes the text whole, or not at all; false when it could not.
  bool Write(const std::string& text);
  /// A change of the work: the file follows the set once a game plays it.
  void FollowSet();

  DesignerSession& m_session;
  QString m_path;
  GameArgumentsLauncher m_launchGame = LaunchDetachedGameWith;
  bool m_inUse = false;   // a game was started on the file
  std::string m_written;  // the file's text
};

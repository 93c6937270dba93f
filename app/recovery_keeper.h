#pragma once
// Designer mode's recovery after a crash: a few seconds after a change, the
// session's unkept work goes into a file of this run's own in the user's data
// folder (never into the set's file), written whole or not at all; a clean
// end removes it. Each run holds a lock beside its file, so runs side by side
// never write over each other's work, and a start offers only the work of
// runs that are gone. What a recovery holds and which files to offer are
// editing/recovery.h's; this class runs the timer, the files and the question.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "editing/designer_session.h"

class QWidget;

class CRecoveryKeeper : public QObject {
  Q_OBJECT
 public:
  /// Milliseconds from a change to the write of the work.
  static constexpr int WriteDelay = 2000;

  /// Keeps the session's work in folder (made when missing) from now on.
  CRecoveryKeeper(DesignerSession& session, const QString& folder, QObject* parent = nullptr);
  /// A clean end: the run's file and lock go.
  ~CRecoveryKeeper() override;

  /// The folder the designer's recoveries live in: the user's data folder.
  static QString DefaultFolder();
  /// This run's recovery file.
  QString path() const { return m_path; }

  /// Offers the work a run that is gone left behind, if any, over window;
  /// restores it into the session when the user wants it.
  void OfferLeftBehind(QWidget* window);

  /// Writes the work now (or removes the file when there is none).
  void WriteNow();
  /// A clean end: the file and the lock go, and nothing is written any more.
  void Finish();

 private:
  /// The recovery file's lock: held by the run that writes the file.
  static QString LockPathOf(const QString& recoveryPath);

  DesignerSession& m_session;
  QString m_folder;
  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
  QTimer m_timer;
  bool m_finished = false;
};

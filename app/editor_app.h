#pragma once
// The application: start-up in order, the program's names, and the About command.

#include <QApplication>
#include <QPointer>

#include "app/main_frame.h"

class CEditorApp : public QApplication {
  Q_OBJECT
 public:
  CEditorApp(int& argc, char** argv);

  /// Builds the first level and the main window in the mode, shows and paints
  /// it; returns whether the main window exists.
  bool InitInstance(EditorMode mode = EditorMode::Classic, const QString& setFile = {});

  CMainFrame* mainFrame() const { return m_mainFrame; }

  /// Shows the About box over the main window.
  void OnAppAbout();

 private:
  /// Designer mode: keeps the session's work for a start after a crash, and
  /// offers what a crashed run left.
  void KeepRecovery();
  /// Designer mode: the grade's parameters, read once: those calibrate
  /// installed for the user, else the defaults. Why an installed file could
  /// not be used is kept for the status line.
  GradeParameters InstalledGrading();

  QString m_gradeProblem;  // said once in the status line; empty when there is none

  QPointer<CMainFrame> m_mainFrame;  // deleted when its window closes
};

#include "app/editor_app.h"

#include <QDir>
#include <cstdlib>

#include "app/about_box.h"
#include "app/recovery_keeper.h"
#include "app/set_controller.h"
#include "app/status_line.h"
#include "app/translations.h"
#include "korvalo_constants.h"
#include "logic/calibration.h"
#include "view/program_icon.h"
#include "view/readable_colours.h"

namespace {

/// How long the status line says that the grade's parameters cannot be used.
constexpr int GradeProblemMilliseconds = 15000;

/// Names the desktop entry of the mode for the desktop (its name on Wayland),
/// and gives designer mode's windows an X window class of their own,
/// "korvalo-designer", which its entry's StartupWMClass names, so that the
/// desktop tells the two apart; the classic editor keeps "korvalo-editor",
/// the program's name. Qt takes the class's instance name from RESOURCE_NAME
/// when it makes the first window; it is unset again after, so that the game
/// the editor starts does not inherit it.
void NameForTheDesktop(EditorMode mode) {
  const bool designer = mode == EditorMode::Designer;
  QGuiApplication::setDesktopFileName(
      QLatin1String(designer ? DesignerDesktopId : EditorDesktopId));
  if (designer) qputenv("RESOURCE_NAME", "korvalo-designer");
}

}  // namespace

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The names of the settings store; only designer mode reads and writes it.
  setOrganizationName(QStringLiteral("Vandrel"));
  setApplicationName(QStringLiteral("Korvalo Level Editor"));
  setApplicationVersion(QLatin1String(KorvaloVersion));
}

bool CEditorApp::InitInstance(EditorMode mode, const QString& setFile) {
  NameForTheDesktop(mode);
  if (mode == EditorMode::Designer) {
    InstallTranslations(*this);
    // Every text of designer mode and its dialogs reads against its background.
    setPalette(ReadablePalette(palette()));
  }
  // The frame's board view builds the first level before any window exists.
  // The classic editor grades nothing.
  const GradeParameters grading =
      mode == EditorMode::Designer ? InstalledGrading() : GradeParameters{};
  m_mainFrame = new CMainFrame(ClockSeededRandomSource(), mode, grading);
  m_mainFrame->setAttribute(Qt::WA_DeleteOnClose);
  connect(m_mainFrame, &CMainFrame::aboutRequested, this, &CEditorApp::OnAppAbout);
  setWindowIcon(KorvaloIcon());
  m_mainFrame->setWindowIcon(KorvaloIcon());
  m_mainFrame->show();
  qunsetenv("RESOURCE_NAME");
  m_mainFrame->repaint();
  if (mode == EditorMode::Designer) {
    if (!setFile.isEmpty()) m_mainFrame->sets()->OpenSetFile(setFile);
    // After the opened set's message, so that the problem is not hidden at once.
    if (!m_gradeProblem.isEmpty())
      m_mainFrame->statusLine()->ShowMessage(m_gradeProblem, GradeProblemMilliseconds);
    KeepRecovery();
  }
  return !m_mainFrame.isNull();
}

// The work is kept from the start; a normal end of the program (the window
// closed, every question answered) removes it.
void CEditorApp::KeepRecovery() {
  auto* keeper =
      new CRecoveryKeeper(*m_mainFrame->session(), CRecoveryKeeper::DefaultFolder(), m_mainFrame);
  connect(this, &QCoreApplication::aboutToQuit, keeper, &CRecoveryKeeper::Finish);
  keeper->OfferLeftBehind(m_mainFrame);
}

GradeParameters CEditorApp::InstalledGrading() {
  const std::string path =
      InstalledGradeParametersPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  const GradeParametersInUse inUse = InstalledOrDefaultGradeParameters(path);
  if (!inUse.problem.empty()) {
    m_gradeProblem = tr("The grade's parameters in %1 cannot be used; grades follow the "
                        "default rule.")
                         .arg(QDir::toNativeSeparators(QString::fromLocal8Bit(path.c_str())));
  }
  return inUse.parameters;
}

void CEditorApp::OnAppAbout() {
  CAboutBox box(m_mainFrame, m_mainFrame ? m_mainFrame->mode() : EditorMode::Classic);
  box.exec();
}

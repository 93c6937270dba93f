#include "app/editor_app.h"

#include "app/about_box.h"
#include "app/editor_icon.h"
#include "korvalo_version.h"

CEditorApp::CEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
  // The names a settings store would use; the editor reads and writes no settings.
  setOrganizationName(QStringLiteral("Vandrel"));
  setApplicationName(QStringLiteral("Korvalo Level Editor"));
  setApplicationVersion(QLatin1String(KorvaloVersion));
}

bool CEditorApp::InitInstance() {
  // The frame's board view builds the first level before any window exists.
  m_mainFrame = new CMainFrame();
  m_mainFrame->setAttribute(Qt::WA_DeleteOnClose);
  connect(m_mainFrame, &CMainFrame::aboutRequested, this, &CEditorApp::OnAppAbout);
  setWindowIcon(EditorIcon());
  m_mainFrame->setWindowIcon(EditorIcon());
  m_mainFrame->show();
  m_mainFrame->repaint();
  return !m_mainFrame.isNull();
}

void CEditorApp::OnAppAbout() {
  CAboutBox box(m_mainFrame);
  box.exec();
}

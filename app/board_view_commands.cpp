// The board view's command handlers: what each menu command and key does to
// the level, the carry and the outside world.

#include <QDesktopServices>
#include <QUrl>

#include "app/board_view.h"
#include "app/command_table.h"
#include "app/level_code_dlg.h"
#include "app/web_addresses.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "logic/symmetry.h"
#include "view/pointer_editing.h"

namespace {

QString CodeText(const Level& level) { return QString::fromStdString(WriteLevelCode(level)); }

/// Opens an address in the browser; nothing waits and a failure says nothing.
void OpenInBrowser(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

}  // namespace

bool CBoardView::OnCommand(int id) {
  switch (id) {
    case ID_HELP_HOMEPAGE: OnHelpHomepage(); return true;
    case ID_GAME_3X3: OnGame3x3(); return true;
    case ID_GAME_5X5: OnGame5x5(); return true;
    case ID_GAME_7X7: OnGame7x7(); return true;
    case ID_EDIT_CLEARMAZE: OnEditClearMaze(); return true;
    case ID_EDIT_RANDOM: OnEditRandom(); return true;
    case ID_GAME_TEST: OnGameTest(); return true;
    case ID_EDIT_ROTATE: OnEditRotate(); return true;
    case ID_EDIT_XFLIP: OnEditXFlip(); return true;
    case ID_EDIT_YFLIP: OnEditYFlip(); return true;
    case ID_SOLUTION_STEP: OnSolutionStep(); return true;
    case ID_EDIT_COPYCODE: OnEditCopyCode(); return true;
    case ID_MAKER_SITE: OnMakerSite(); return true;
    case ID_EDIT_GETHTML: OnEditGetHtml(); return true;
    default: return false;
  }
}

// A new size starts from the default placement; the current size keeps every
// piece on its square, as Random does.
void CBoardView::OnBoardSize(int size) {
  EndCarry();
  if (m_level.boardSize != size) {
    // An off-board ball makes the placement invalid, so the new maze places
    // the pieces afresh.
    m_level.balls[0].column = -1;
  }
  const int previousSize = m_level.boardSize;
  RandomMaze(m_level, size, m_random);
  ForgetHoverIfResized(previousSize);
  update();
}

void CBoardView::OnEditClearMaze() {
  EndCarry();
  ClearMaze(m_level, m_level.boardSize);
  update();
}

void CBoardView::OnEditRandom() {
  EndCarry();
  RandomMaze(m_level, m_level.boardSize, m_random);
  update();
}

void CBoardView::OnGameTest() {
  EndCarry();
  m_launchGame(GameParameterText(CodeText(m_level)));
}

void CBoardView::OnEditYFlip() {
  EndCarry();
  YFlip(m_level);
  update();
}

void CBoardView::OnEditXFlip() {
  EndCarry();
  XFlip(m_level);
  update();
}

void CBoardView::OnEditRotate() {
  EndCarry();
  RotateLevel(m_level);
  update();
}

void CBoardView::OnSolutionStep() {
  EndCarry();
  StepTowardSolution(m_level);
  update();
}

// A carried piece stays carried: the code shows it where its record stands.
void CBoardView::OnEditCopyCode() {
  const std::string code = WriteLevelCode(m_level);
  CLevelCodeDlg dialog(window());
  dialog.m_strCode = QString::fromStdString(code);
  if (dialog.DoModal() != QDialog::Accepted) return;
  const std::string edited = dialog.m_strCode.toStdString();
  if (edited == code) return;
  ReadEditedCode(edited);
}

void CBoardView::ReadEditedCode(const std::string& code) {
  const int previousSize = m_level.boardSize;
  ReadLevelCode(m_level, code);  // a rejected code leaves the level as it was
  RecheckLevel(m_level);
  ForgetHoverIfResized(previousSize);
  update();
}

void CBoardView::OnEditGetHtml() { OpenInBrowser(SharingPageAddress(WriteLevelCode(m_level))); }

void CBoardView::OnHelpHomepage() { OpenInBrowser(HomePageAddress()); }

void CBoardView::OnMakerSite() { OpenInBrowser(MakerSiteAddress()); }

// The board view's command handlers: what each menu command and key does to
// the level, the carry and the outside world.

#include <QClipboard>
#include <QGuiApplication>

#include "app/board_view.h"
#include "app/browser.h"
#include "app/command_table.h"
#include "app/level_code_dlg.h"
#include "app/web_addresses.h"
#include "logic/level_code.h"
#include "view/reason_wording.h"

namespace {

QString CodeText(const Level& level) { return QString::fromStdString(WriteLevelCode(level)); }

}  // namespace

bool CBoardView::OnCommand(int id) { return RunCommandHandler(*this, id, m_mode); }

void CBoardView::OnGame3x3() { m_document.Apply(edit::BoardSize{3}); }

void CBoardView::OnGame5x5() { m_document.Apply(edit::BoardSize{5}); }

void CBoardView::OnGame7x7() { m_document.Apply(edit::BoardSize{7}); }

void CBoardView::OnEditClearMaze() { m_document.Apply(edit::Clear{}); }

void CBoardView::OnEditRandom() { m_document.Apply(edit::Random{}); }

void CBoardView::OnGameTest() {
  m_document.Apply(edit::EndCarry{});
  m_launchGame(GameParameterText(CodeText(level())));
}

void CBoardView::OnEditYFlip() { m_document.Apply(edit::YFlip{}); }

void CBoardView::OnEditXFlip() { m_document.Apply(edit::XFlip{}); }

void CBoardView::OnEditRotate() { m_document.Apply(edit::Rotate{}); }

void CBoardView::OnSolutionStep() { m_document.Apply(edit::SolutionStep{}); }

// A carried piece stays carried: the code shows it where its record stands.
// Only a changed text confirmed with Enter is read.
void CBoardView::OnEditCopyCode() {
  const std::string code = WriteLevelCode(level());
  // The classic editor's dialog keeps its caption; designer mode names it for what it does.
  CLevelCodeDlg dialog(window(), m_mode);
  dialog.m_strCode = QString::fromStdString(code);
  if (dialog.DoModal() != QDialog::Accepted) return;
  const std::string edited = dialog.m_strCode.toStdString();
  if (edited == code) return;
  m_document.Apply(edit::ReadCode{edited});
}

void CBoardView::OnEditGetHtml() { OpenInBrowser(SharingPageAddress(WriteLevelCode(level()))); }

void CBoardView::OnHelpHomepage() { OpenInBrowser(HomePageAddress()); }

void CBoardView::OnMakerSite() { OpenInBrowser(MakerSiteAddress()); }

void CBoardView::OnViewPieceSymbols() { SetPieceSymbols(!m_pieceSymbols); }

void CBoardView::OnEditUndo() { m_document.Undo(); }

void CBoardView::OnEditRedo() { m_document.Redo(); }

// The code of the level as the board shows it, a carried piece where its record stands.
void CBoardView::OnEditCopy() { QGuiApplication::clipboard()->setText(CodeText(level())); }

// All or nothing: a text that is no level code changes nothing and says why.
// Blanks and line breaks around the code, as a copied line brings them, are
// not part of it.
void CBoardView::OnEditPaste() {
  const std::string text = QGuiApplication::clipboard()->text().trimmed().toStdString();
  if (text.empty()) {
    emit transientMessage(tr("The clipboard holds no level code."));
    return;
  }
  Level pasted;
  const ParseResult reading = ParseLevelCode(pasted, text);
  if (!reading.accepted) {
    emit transientMessage(tr("Not pasted: %1.").arg(ReasonWording(reading.reason)));
    return;
  }
  m_document.Apply(edit::ReplaceLevel{std::move(pasted), OriginKind::Pasted});
}

#include "app/board_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSettings>

#include "app/browser.h"
#include "app/level_code_dlg.h"
#include "app/web_addresses.h"
#include "logic/level_code.h"
#include "view/reason_wording.h"

namespace {

QString CodeText(const Level& level) { return QString::fromStdString(WriteLevelCode(level)); }

const QString PieceSymbolsKey = QStringLiteral("designer/pieceSymbols");

}  // namespace

CBoardCommands::CBoardCommands(EditorDocument& document, QWidget& dialogParent, EditorMode mode)
    : m_document(document), m_dialogParent(dialogParent), m_mode(mode) {
  if (mode == EditorMode::Designer)
    m_pieceSymbols = QSettings().value(PieceSymbolsKey, true).toBool();
}

void CBoardCommands::SetPieceSymbols(bool on) {
  if (m_mode != EditorMode::Designer || on == m_pieceSymbols) return;
  m_pieceSymbols = on;
  QSettings().setValue(PieceSymbolsKey, on);
  emit pieceSymbolsChanged(on);
}

void CBoardCommands::OnGame3x3() { m_document.Apply(edit::BoardSize{3}); }

void CBoardCommands::OnGame5x5() { m_document.Apply(edit::BoardSize{5}); }

void CBoardCommands::OnGame7x7() { m_document.Apply(edit::BoardSize{7}); }

void CBoardCommands::OnEditClearMaze() { m_document.Apply(edit::Clear{}); }

void CBoardCommands::OnEditRandom() { m_document.Apply(edit::Random{}); }

void CBoardCommands::OnGameTest() {
  m_document.Apply(edit::EndCarry{});
  m_launchGame(GameParameterText(CodeText(level())));
}

void CBoardCommands::OnEditYFlip() { m_document.Apply(edit::YFlip{}); }

void CBoardCommands::OnEditXFlip() { m_document.Apply(edit::XFlip{}); }

void CBoardCommands::OnEditRotate() { m_document.Apply(edit::Rotate{}); }

void CBoardCommands::OnSolutionStep() { m_document.Apply(edit::SolutionStep{}); }

// A carried piece stays carried: the code shows it where its record stands.
// Only a changed text confirmed with Enter is read.
void CBoardCommands::OnEditCopyCode() {
  const std::string code = WriteLevelCode(level());
  // The classic editor's dialog keeps its caption; designer mode names it for what it does.
  CLevelCodeDlg dialog(&m_dialogParent, m_mode);
  dialog.m_strCode = QString::fromStdString(code);
  if (dialog.DoModal() != QDialog::Accepted) return;
  const std::string edited = dialog.m_strCode.toStdString();
  if (edited == code) return;
  m_document.Apply(edit::ReadCode{edited});
}

void CBoardCommands::OnEditGetHtml() { OpenInBrowser(SharingPageAddress(WriteLevelCode(level()))); }

void CBoardCommands::OnHelpHomepage() { OpenInBrowser(HomePageAddress()); }

void CBoardCommands::OnMakerSite() { OpenInBrowser(MakerSiteAddress()); }

void CBoardCommands::OnViewPieceSymbols() { SetPieceSymbols(!m_pieceSymbols); }

void CBoardCommands::OnEditUndo() { m_document.Undo(); }

void CBoardCommands::OnEditRedo() { m_document.Redo(); }

// The code of the level as the board shows it, a carried piece where its record stands.
void CBoardCommands::OnEditCopy() { QGuiApplication::clipboard()->setText(CodeText(level())); }

// All or nothing: a text that is no level code changes nothing and says why.
// Blanks and line breaks around the code, as a copied line brings them, are
// not part of it.
void CBoardCommands::OnEditPaste() {
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

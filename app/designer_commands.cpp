// Designer mode's parts of the main window: the status line and the level
// set's panel, the set's file (New, Open, Save, Save As, the recent sets), its
// levels (add, replace, remove, reorder, open for editing) and generation.

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QVBoxLayout>

#include "app/command_table.h"
#include "app/generate_dlg.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/status_line.h"
#include "logic/level_code.h"

namespace {

constexpr int RecentSetLimit = 8;
const QString RecentSetsKey = QStringLiteral("designer/recentSets");
const QString PositionKey = QStringLiteral("designer/position");
const QString SetFileFilter = QStringLiteral("Level sets (*.txt *.korvalo);;All files (*)");

std::string ToStd(const QString& text) { return text.toStdString(); }

}  // namespace

void CMainFrame::BuildDesignerParts() {
  auto* central = new QWidget(this);
  auto* boardColumn = new QVBoxLayout;
  boardColumn->setContentsMargins(0, 0, 0, 0);
  boardColumn->setSpacing(0);
  boardColumn->addWidget(m_view);
  m_status = new CStatusLine(central);
  boardColumn->addWidget(m_status);
  boardColumn->addStretch(1);
  m_panel = new CLevelSetPanel(central);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(boardColumn);
  layout->addWidget(m_panel);
  setCentralWidget(central);

  connect(m_view, &CBoardView::documentChanged, this, &CMainFrame::ShowDocumentState);
  connect(m_view, &CBoardView::transientMessage, m_status,
          [this](const QString& text) { m_status->ShowMessage(text); });
  connect(m_panel, &CLevelSetPanel::levelActivated, this, [this](int index) {
    m_panel->Select(index);
    OnSetEdit();
  });
  connect(m_panel, &CLevelSetPanel::selectionChanged, this, &CMainFrame::ShowDocumentState);
  const QVariant position = QSettings().value(PositionKey);
  if (position.isValid()) move(position.toPoint());
}

void CMainFrame::ShowDesignerParts() {
  m_panel->AddButtons({{QStringLiteral("Add"), commandAction(CommandId("ID_SET_ADD"))},
                       {QStringLiteral("Replace"), commandAction(CommandId("ID_SET_REPLACE"))},
                       {QStringLiteral("Remove"), commandAction(CommandId("ID_SET_REMOVE"))},
                       {QStringLiteral("Up"), commandAction(CommandId("ID_SET_MOVE_UP"))},
                       {QStringLiteral("Down"), commandAction(CommandId("ID_SET_MOVE_DOWN"))}});
  ShowSet();
}

void CMainFrame::ShowDocumentState() {
  if (m_status == nullptr) return;
  const EditorDocument& document = m_view->document();
  m_status->ShowLevel(document.level(), document.editing());
  if (QAction* undo = commandAction(CommandId("ID_EDIT_UNDO")))
    undo->setEnabled(document.CanUndo());
  if (QAction* redo = commandAction(CommandId("ID_EDIT_REDO")))
    redo->setEnabled(document.CanRedo());
  const bool selected = m_panel->selectedIndex() >= 0;
  for (const int id :
       {CommandId("ID_SET_REPLACE"), CommandId("ID_SET_REMOVE"), CommandId("ID_SET_MOVE_UP"),
        CommandId("ID_SET_MOVE_DOWN"), CommandId("ID_SET_EDIT")}) {
    if (QAction* action = commandAction(id)) action->setEnabled(selected);
  }
}

void CMainFrame::ShowSet() {
  setWindowTitle(QStringLiteral("Korvalo Level Designer - %1[*]").arg(SetDisplayName(m_set)));
  setWindowModified(m_set.modified());
  m_panel->Show(m_set);
  ShowDocumentState();
}

QStringList CMainFrame::RecentSets() const {
  return QSettings().value(RecentSetsKey).toStringList();
}

void CMainFrame::RememberRecentSet(const QString& path) {
  QStringList recent = RecentSets();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  recent.removeAll(absolute);
  recent.prepend(absolute);
  while (recent.size() > RecentSetLimit) recent.removeLast();
  QSettings().setValue(RecentSetsKey, recent);
  RebuildRecentMenu();
}

void CMainFrame::RebuildRecentMenu() {
  if (m_recentMenu == nullptr) return;
  m_recentMenu->clear();
  for (const QString& path : RecentSets()) {
    m_recentMenu
        ->addAction(QFileInfo(path).fileName(), this,
                    [this, path] {
                      if (MaySetBeReplaced()) OpenSetFile(path);
                    })
        ->setToolTip(path);
  }
  m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

bool CMainFrame::MaySetBeReplaced() {
  if (!m_set.modified()) return true;
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Unsaved Changes"),
      QStringLiteral("The level set \"%1\" has changes that are not saved. Save them?")
          .arg(SetDisplayName(m_set)),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Discard) return true;
  if (answer != QMessageBox::Save) return false;
  OnFileSave();
  return !m_set.modified();
}

void CMainFrame::OnFileNew() {
  if (!MaySetBeReplaced()) return;
  m_set.New();
  ShowSet();
}

void CMainFrame::OnFileOpen() {
  if (!MaySetBeReplaced()) return;
  const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Level Set"),
                                                    QString(), SetFileFilter);
  if (!path.isEmpty()) OpenSetFile(path);
}

bool CMainFrame::OpenSetFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(this, QStringLiteral("Open Level Set"),
                         QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return false;
  }
  const QByteArray text = file.readAll();
  const std::vector<SetLineError> errors = m_set.Open(
      std::string_view(text.constData(), static_cast<std::size_t>(text.size())), ToStd(path));
  RememberRecentSet(path);
  ShowSet();
  m_panel->Select(m_set.size() > 0 ? 0 : -1);
  if (!errors.empty()) {
    QStringList lines;
    for (const SetLineError& error : errors) {
      if (lines.size() == 10) {
        lines << QStringLiteral("...");
        break;
      }
      lines << QStringLiteral("line %1: %2")
                   .arg(error.line)
                   .arg(QString::fromStdString(error.reason));
    }
    QMessageBox::warning(this, QStringLiteral("Open Level Set"),
                         QStringLiteral("%1 lines of %2 are not levels and were left out:\n%3")
                             .arg(errors.size())
                             .arg(QFileInfo(path).fileName(), lines.join(QLatin1Char('\n'))));
  }
  return true;
}

void CMainFrame::OnFileSave() {
  if (m_set.path().empty()) {
    OnFileSaveAs();
    return;
  }
  SaveSetFile(QString::fromStdString(m_set.path()));
}

void CMainFrame::OnFileSaveAs() {
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save Level Set"), QString::fromStdString(m_set.path()), SetFileFilter);
  if (!path.isEmpty()) SaveSetFile(path);
}

// QSaveFile writes beside the target and renames it into place only once every
// byte is written, so a failure leaves an earlier file as it was.
bool CMainFrame::SaveSetFile(const QString& path) {
  const std::string text = m_set.Text();
  QSaveFile file(path);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size()) &&
                     file.commit();
  if (!saved) {
    QMessageBox::warning(this, QStringLiteral("Save Level Set"),
                         QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return false;
  }
  m_set.Saved(ToStd(path));
  RememberRecentSet(path);
  ShowSet();
  return true;
}

int CMainFrame::SelectedLevel() {
  const int index = m_panel->selectedIndex();
  if (index < 0) m_status->ShowMessage(QStringLiteral("No level of the set is selected."));
  return index;
}

void CMainFrame::OnSetAdd() {
  const std::size_t index = m_set.Add(WriteLevelCode(m_view->level()));
  ShowSet();
  m_panel->Select(static_cast<int>(index));
}

void CMainFrame::OnSetReplace() {
  const int index = SelectedLevel();
  if (index < 0) return;
  m_set.Replace(static_cast<std::size_t>(index), WriteLevelCode(m_view->level()));
  ShowSet();
}

void CMainFrame::OnSetRemove() {
  const int index = SelectedLevel();
  if (index < 0) return;
  m_set.Remove(static_cast<std::size_t>(index));
  ShowSet();
}

void CMainFrame::OnSetMoveUp() {
  const int index = SelectedLevel();
  if (index < 0 || !m_set.MoveUp(static_cast<std::size_t>(index))) return;
  ShowSet();
  m_panel->Select(index - 1);
}

void CMainFrame::OnSetMoveDown() {
  const int index = SelectedLevel();
  if (index < 0 || !m_set.MoveDown(static_cast<std::size_t>(index))) return;
  ShowSet();
  m_panel->Select(index + 1);
}

// The level goes on the board as an edit of its own, so Undo takes it back.
void CMainFrame::OnSetEdit() {
  const int index = SelectedLevel();
  if (index < 0) return;
  Level level;
  if (!ParseLevelCode(level, m_set.set().levels[static_cast<std::size_t>(index)].code).accepted)
    return;
  m_view->document().Apply(edit::ReplaceLevel{std::move(level)});
}

void CMainFrame::OnSetTitle() {
  QDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("Title and Author"));
  auto* setTitle = new QLineEdit(QString::fromStdString(m_set.set().title), &dialog);
  auto* author = new QLineEdit(QString::fromStdString(m_set.set().author), &dialog);
  const int index = m_panel->selectedIndex();
  auto* levelTitle = new QLineEdit(&dialog);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("Title of the set:"), setTitle);
  form->addRow(QStringLiteral("Author:"), author);
  if (index >= 0) {
    levelTitle->setText(
        QString::fromStdString(m_set.set().levels[static_cast<std::size_t>(index)].title));
    form->addRow(QStringLiteral("Title of level %1:").arg(index + 1), levelTitle);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  m_set.SetNames(ToStd(setTitle->text().trimmed()), ToStd(author->text().trimmed()));
  if (index >= 0)
    m_set.SetTitle(static_cast<std::size_t>(index), ToStd(levelTitle->text().trimmed()));
  ShowSet();
  m_panel->Select(index);
}

void CMainFrame::OnGameGenerate() {
  CGenerateDlg dialog(m_view->level().boardSize, this);
  if (dialog.exec() != QDialog::Accepted) return;
  Level level;
  if (!ParseLevelCode(level, dialog.levelCode()).accepted) return;
  m_view->document().Apply(edit::ReplaceLevel{std::move(level)});
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_mode == EditorMode::Designer) {
    if (!MaySetBeReplaced()) {
      event->ignore();
      return;
    }
    QSettings().setValue(PositionKey, pos());
  }
  QMainWindow::closeEvent(event);
}

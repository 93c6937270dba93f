#include "app/set_controller.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QShortcut>

#include "app/board_view.h"
#include "app/command_table.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/status_line.h"
#include "logic/canonical_code.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "view/reason_wording.h"

namespace {

constexpr int RecentSetLimit = 8;
const QString RecentSetsKey = QStringLiteral("designer/recentSets");
const QString LastFolderKey = QStringLiteral("designer/lastFolder");
const QString SetExtension = QStringLiteral("txt");

std::string ToStd(const QString& text) { return text.toStdString(); }
QString FromStd(const std::string& text) { return QString::fromStdString(text); }

QString SetFileFilter() {
  return CSetController::tr("Level sets (*.txt *.korvalo);;All files (*)");
}

/// The level a code describes, as read (not searched); none when the code is
/// no level.
std::optional<Level> LevelOfCode(const std::string& code) {
  Level level;
  if (!ParseLevelCode(level, code).accepted) return std::nullopt;
  return level;
}

}  // namespace

QString WithSetExtension(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1Char('.') + SetExtension;
}

CSetController::CSetController(CMainFrame& frame, CBoardView& view, CStatusLine& status,
                               QWidget* panelParent)
    : QObject(&frame),
      m_frame(frame),
      m_view(view),
      m_status(status),
      m_panel(new CLevelSetPanel(panelParent)) {
  m_set.RecordInto(&m_view.document().history());
  m_set.AddListener([this] { SetChanged(); });
  connect(m_panel, &CLevelSetPanel::levelActivated, this, [this](int index) {
    m_panel->Select(index);
    OnSetEdit();
  });
  connect(m_panel, &CLevelSetPanel::selectionChanged, this, &CSetController::ShowState);
  // In the list, Enter puts the level on the board (itemActivated) and Delete removes it.
  auto* remove = new QShortcut(QKeySequence(QKeySequence::Delete), m_panel->list());
  remove->setContext(Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, &CSetController::OnSetRemove);
  m_panel->Show(m_set);
}

void CSetController::SetChanged() {
  m_panel->Show(m_set);
  emit stateChanged();
}

std::optional<std::size_t> CSetController::BoardSetLevel() const {
  const BoardOrigin& origin = m_view.document().origin();
  if (origin.kind != OriginKind::SetLevel) return std::nullopt;
  return m_set.IndexOf(origin.setLevelId);
}

bool CSetController::HoldsUnkeptWork() const {
  return m_set.modified() || m_view.document().BoardChanged();
}

QString CSetController::SetName() const { return SetDisplayName(m_set); }

void CSetController::ShowState() {
  const std::optional<std::size_t> boardLevel = BoardSetLevel();
  const bool boardChanged = m_view.document().BoardChanged();
  m_panel->MarkBoardLevel(boardLevel ? static_cast<int>(*boardLevel) : -1, boardChanged);
  const int selected = m_panel->selectedIndex();
  const int count = static_cast<int>(m_set.size());
  const auto enable = [this](int id, bool enabled) {
    if (QAction* action = m_frame.commandAction(id)) action->setEnabled(enabled);
  };
  enable(CommandId("ID_SET_UPDATE"), boardLevel.has_value() && boardChanged);
  enable(CommandId("ID_SET_REMOVE"), selected >= 0);
  enable(CommandId("ID_SET_EDIT"), selected >= 0);
  enable(CommandId("ID_SET_MOVE_UP"), selected > 0);
  enable(CommandId("ID_SET_MOVE_DOWN"), selected >= 0 && selected + 1 < count);
}

void CSetController::EndCarry() { m_view.document().Apply(edit::EndCarry{}); }

// --- The unkept-work questions ----------------------------------------------------

bool CSetController::MayClose() { return MayReplaceBoard(false) && MaySetBeReplaced(); }

bool CSetController::MayLeaveSet() {
  // The board keeps its level; only its changes to a level of this set
  // would have nowhere to go.
  if (BoardSetLevel() && !MayReplaceBoard(true)) return false;
  return MaySetBeReplaced();
}

bool CSetController::MayReplaceBoard(bool boardStays) {
  if (!m_view.document().BoardChanged()) return true;
  const std::optional<std::size_t> index = BoardSetLevel();
  QMessageBox box(
      QMessageBox::Question, tr("Unsaved Level"),
      index ? tr("Level %1 on the board has changes that are not in the set.").arg(*index + 1)
            : tr("The level on the board has changes and is in no set."),
      QMessageBox::Cancel, &m_frame);
  QPushButton* keep = box.addButton(
      index ? tr("Update Level %1").arg(*index + 1) : tr("Add to Set"), QMessageBox::AcceptRole);
  QPushButton* drop =
      box.addButton(boardStays ? tr("Leave Out") : tr("Discard"), QMessageBox::DestructiveRole);
  box.setDefaultButton(keep);
  box.exec();
  if (box.clickedButton() == keep) {
    if (index)
      OnSetUpdate();
    else
      OnSetAdd();
    return true;
  }
  return box.clickedButton() == drop;
}

bool CSetController::MaySetBeReplaced() {
  if (!m_set.modified()) return true;
  const auto answer = QMessageBox::question(
      &m_frame, tr("Unsaved Changes"),
      tr("The level set \"%1\" has changes that are not saved. Save them?").arg(SetName()),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Discard) return true;
  if (answer != QMessageBox::Save) return false;
  OnFileSave();
  return !m_set.modified();
}

// --- Files ------------------------------------------------------------------------

QString CSetController::StartFolder() const {
  if (!m_set.path().empty()) return QFileInfo(FromStd(m_set.path())).absolutePath();
  return QSettings().value(LastFolderKey).toString();
}

void CSetController::OnFileNew() {
  if (!MayLeaveSet()) return;
  m_set.New();
  m_status.ShowMessage(tr("A new, empty level set."));
}

void CSetController::OnFileOpen() {
  if (!MayLeaveSet()) return;
  const QString path =
      QFileDialog::getOpenFileName(&m_frame, tr("Open Level Set"), StartFolder(), SetFileFilter());
  if (!path.isEmpty()) OpenSetFile(path);
}

bool CSetController::OpenSetFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(&m_frame, tr("Open Level Set"),
                         tr("Cannot read %1: %2").arg(path, file.errorString()));
    return false;
  }
  const QByteArray text = file.readAll();
  const std::vector<SetLineError> errors = m_set.Open(
      std::string_view(text.constData(), static_cast<std::size_t>(text.size())), ToStd(path));
  RememberRecentSet(path);
  m_panel->Select(m_set.size() > 0 ? 0 : -1);
  m_status.ShowMessage(tr("Opened %1: %n level(s).", "", static_cast<int>(m_set.size()))
                           .arg(QFileInfo(path).fileName()));
  if (!errors.empty()) {
    QStringList lines;
    for (const SetLineError& error : errors) {
      if (lines.size() == 10) {
        lines << QStringLiteral("...");
        break;
      }
      lines << tr("line %1: %2").arg(QString::number(error.line), ReasonWording(error.reason));
    }
    QMessageBox::warning(&m_frame, tr("Open Level Set"),
                         tr("%n line(s) of %1 are not levels and were left out:\n%2", "",
                            static_cast<int>(errors.size()))
                             .arg(QFileInfo(path).fileName(), lines.join(QLatin1Char('\n'))));
  }
  return true;
}

void CSetController::OnFileSave() {
  if (m_set.path().empty()) {
    OnFileSaveAs();
    return;
  }
  SaveSetFile(FromStd(m_set.path()));
}

void CSetController::OnFileSaveAs() {
  QFileDialog dialog(&m_frame, tr("Save Level Set"), StartFolder(), SetFileFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(SetExtension);
  if (!m_set.path().empty()) dialog.selectFile(FromStd(m_set.path()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveSetFile(WithSetExtension(dialog.selectedFiles().constFirst()));
}

// QSaveFile writes beside the target and renames it into place only once every
// byte is written, so a failure leaves an earlier file as it was.
bool CSetController::SaveSetFile(const QString& path) {
  const std::string text = m_set.Text();
  QSaveFile file(path);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size()) &&
                     file.commit();
  if (!saved) {
    QMessageBox::warning(&m_frame, tr("Save Level Set"),
                         tr("Cannot write %1: %2").arg(path, file.errorString()));
    return false;
  }
  m_set.Saved(ToStd(path));
  RememberRecentSet(path);
  m_status.ShowMessage(tr("Saved %1.").arg(QFileInfo(path).fileName()));
  return true;
}

QStringList CSetController::RecentSets() const {
  return QSettings().value(RecentSetsKey).toStringList();
}

void CSetController::RememberRecentSet(const QString& path) {
  const QFileInfo file(path);
  QStringList recent = RecentSets();
  recent.removeAll(file.absoluteFilePath());
  recent.prepend(file.absoluteFilePath());
  while (recent.size() > RecentSetLimit) recent.removeLast();
  QSettings settings;
  settings.setValue(RecentSetsKey, recent);
  settings.setValue(LastFolderKey, file.absolutePath());
  RebuildRecentMenu();
}

void CSetController::AttachRecentMenu(QMenu* menu) {
  m_recentMenu = menu;
  RebuildRecentMenu();
}

void CSetController::RebuildRecentMenu() {
  if (m_recentMenu == nullptr) return;
  m_recentMenu->clear();
  for (const QString& path : RecentSets()) {
    m_recentMenu
        ->addAction(QFileInfo(path).fileName(), this,
                    [this, path] {
                      if (MayLeaveSet()) OpenSetFile(path);
                    })
        ->setToolTip(path);
  }
  m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

// --- The set's levels -------------------------------------------------------------

int CSetController::SelectedLevel() {
  const int index = m_panel->selectedIndex();
  if (index < 0) m_status.ShowMessage(tr("No level of the set is selected."));
  return index;
}

QString CSetController::Caveat(std::size_t index) const {
  std::optional<Level> level = LevelOfCode(m_set.set().levels[index].code);
  if (!level) return {};
  // Only this level is searched; the others are compared by their codes.
  RecheckLevel(*level);
  if (!level->solvable) return tr(" It has no solution.");
  const std::string canonical = CanonicalCode(*level);
  for (std::size_t other = 0; other < m_set.size(); ++other) {
    if (other == index) continue;
    const std::optional<Level> earlier = LevelOfCode(m_set.set().levels[other].code);
    if (earlier && CanonicalCode(*earlier) == canonical)
      return tr(" It is the same level as level %1, up to turns and mirrors.").arg(other + 1);
  }
  return {};
}

// The board then stands for the new level, so its later changes go into it.
void CSetController::OnSetAdd() {
  EndCarry();
  EditorDocument& board = m_view.document();
  std::size_t index = 0;
  {
    const HistoryGroup group(board.history(), ChangeKind::AddLevel);
    index = m_set.Add(WriteLevelCode(board.level()));
    board.TieToSetLevel(m_set.IdOf(index));
  }
  m_panel->Select(static_cast<int>(index));
  m_status.ShowMessage(tr("Added as level %1.").arg(index + 1) + Caveat(index));
}

// The level the board came from, whichever is selected.
void CSetController::OnSetUpdate() {
  EndCarry();
  const std::optional<std::size_t> index = BoardSetLevel();
  if (!index) {
    m_status.ShowMessage(tr("The board's level is no level of the set; Add puts it in."));
    return;
  }
  EditorDocument& board = m_view.document();
  {
    const HistoryGroup group(board.history(), ChangeKind::UpdateLevel);
    m_set.Replace(*index, WriteLevelCode(board.level()));
    board.TieToSetLevel(m_set.IdOf(*index));
  }
  m_panel->Select(static_cast<int>(*index));
  m_status.ShowMessage(tr("Level %1 updated from the board.").arg(*index + 1) + Caveat(*index));
}

void CSetController::OnSetRemove() {
  const int index = SelectedLevel();
  if (index < 0) return;
  m_set.Remove(static_cast<std::size_t>(index));
  m_status.ShowMessage(tr("Level %1 removed; Undo brings it back.").arg(index + 1));
}

void CSetController::OnSetMoveUp() {
  const int index = SelectedLevel();
  if (index < 0 || !m_set.MoveUp(static_cast<std::size_t>(index))) return;
  m_panel->Select(index - 1);
  m_status.ShowMessage(tr("Level %1 is now level %2.").arg(index + 1).arg(index));
}

void CSetController::OnSetMoveDown() {
  const int index = SelectedLevel();
  if (index < 0 || !m_set.MoveDown(static_cast<std::size_t>(index))) return;
  m_panel->Select(index + 1);
  m_status.ShowMessage(tr("Level %1 is now level %2.").arg(index + 1).arg(index + 2));
}

// The level goes on the board as an edit of its own, so Undo takes it back.
void CSetController::OnSetEdit() {
  const int index = SelectedLevel();
  if (index < 0) return;
  const auto at = static_cast<std::size_t>(index);
  if (BoardSetLevel() == at && !m_view.document().BoardChanged()) return;  // already there
  if (!MayReplaceBoard(false)) return;
  Level level;
  if (!ParseLevelCode(level, m_set.set().levels[at].code).accepted) return;
  m_view.document().Apply(
      edit::ReplaceLevel{std::move(level), OriginKind::SetLevel, m_set.IdOf(at)});
  m_status.ShowMessage(tr("Level %1 is on the board.").arg(index + 1));
}

void CSetController::OnSetTitle() {
  QDialog dialog(&m_frame);
  dialog.setWindowTitle(tr("Title and Author"));
  auto* setTitle = new QLineEdit(FromStd(m_set.set().title), &dialog);
  auto* author = new QLineEdit(FromStd(m_set.set().author), &dialog);
  const int index = m_panel->selectedIndex();
  auto* levelTitle = new QLineEdit(&dialog);
  auto* form = new QFormLayout(&dialog);
  form->addRow(tr("Title of the set:"), setTitle);
  form->addRow(tr("Author:"), author);
  if (index >= 0) {
    levelTitle->setText(FromStd(m_set.set().levels[static_cast<std::size_t>(index)].title));
    form->addRow(tr("Title of level %1:").arg(index + 1), levelTitle);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string newTitle = ToStd(setTitle->text().trimmed());
  const std::string newAuthor = ToStd(author->text().trimmed());
  const std::string newLevelTitle = ToStd(levelTitle->text().trimmed());
  const LevelSet& set = m_set.set();
  const bool namesChanged = newTitle != set.title || newAuthor != set.author;
  const bool levelChanged =
      index >= 0 && newLevelTitle != set.levels[static_cast<std::size_t>(index)].title;
  if (!namesChanged && !levelChanged) return;
  {
    const HistoryGroup group(m_view.document().history(), ChangeKind::Titles);
    if (namesChanged) m_set.SetNames(newTitle, newAuthor);
    if (levelChanged) m_set.SetTitle(static_cast<std::size_t>(index), newLevelTitle);
  }
  m_panel->Select(index);
  m_status.ShowMessage(tr("Titles changed."));
}

#include "app/set_controller.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>

#include "app/level_set_panel.h"
#include "app/status_line.h"
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

/// The panel's and the session's way of naming a selection.
int RowOf(std::optional<std::size_t> index) { return index ? static_cast<int>(*index) : -1; }
std::optional<std::size_t> IndexOfRow(int row) {
  return row >= 0 ? std::optional<std::size_t>(row) : std::nullopt;
}

/// A recent set's menu item: its number as the mnemonic, then the file's name,
/// whose own '&' is shown as written rather than taken for a mnemonic.
QString RecentItemText(int number, QString name) {
  return QStringLiteral("&%1 %2").arg(number).arg(
      name.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

}  // namespace

QString OrderName(SetOrder key) {
  switch (key) {
    case SetOrder::Length: return CSetController::tr("length");
    case SetOrder::GreedyEffort: return CSetController::tr("greedy effort");
    case SetOrder::Grade: return CSetController::tr("grade");
  }
  return {};
}

// A file whose permissions let no one write it was made read-only on purpose:
// it is not written into, not even by a user whom the system would let.
bool IsReadOnlyFile(const QString& path) {
  const QFileInfo file(path);
  if (path.isEmpty() || !file.exists()) return false;
  const QFileDevice::Permissions anyWrite =
      QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return !file.isWritable() || (file.permissions() & anyWrite) == 0;
}

QString WithSetExtension(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1Char('.') + SetExtension;
}

CSetController::CSetController(DesignerSession& session, CStatusLine& status, QWidget& window,
                               QWidget* panelParent)
    : QObject(&window),
      m_session(session),
      m_status(status),
      m_window(window),
      m_panel(new CLevelSetPanel(session.board().grading(), panelParent)) {
  connect(m_panel, &CLevelSetPanel::levelActivated, this, [this](int index) {
    m_session.Select(IndexOfRow(index));
    OnSetEdit();
  });
  connect(m_panel, &CLevelSetPanel::selectionChanged, this,
          [this] { m_session.Select(IndexOfRow(m_panel->selectedIndex())); });
  // In the list, Enter puts the level on the board (itemActivated) and Delete removes it.
  auto* remove = new QShortcut(QKeySequence(QKeySequence::Delete), m_panel->list());
  remove->setContext(Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, &CSetController::OnSetRemove);
  ShowState(true);
}

QString CSetController::SetName() const {
  const QString name = SetDisplayName(m_session.set());
  return ReadOnly() ? tr("%1 (read-only)").arg(name) : name;
}

bool CSetController::ReadOnly() const {
  const QString path = FromStd(m_session.set().path());
  if (path != m_checkedPath) {
    m_readOnly = IsReadOnlyFile(path);
    m_checkedPath = path;
  }
  return m_readOnly;
}

// The list is filled anew only when the set changed; the panel's own
// selection signals are the session's selection coming back, and are not heard.
void CSetController::ShowState(bool redraw) {
  const QSignalBlocker quiet(m_panel);
  const SetDocument& set = m_session.set();
  ShownSet shown{set.set(), set.path(), set.modified()};
  if (redraw || !(shown == m_shown)) {
    m_panel->Show(set);
    m_shown = std::move(shown);
  }
  const std::optional<SetOrder> order = m_session.SortedBy();
  m_panel->ShowMarks(ReadOnly(), order ? OrderName(*order) : QString());
  m_panel->MarkBoardLevel(RowOf(m_session.BoardSetLevel()), m_session.board().BoardChanged());
  m_panel->Select(RowOf(m_session.selected()));
}

// --- The unkept-work questions ----------------------------------------------------

bool CSetController::MayClose() { return MayLeave(Leaving::Close); }

// The board's work is asked about first: keeping it may change the set.
bool CSetController::MayLeave(Leaving leaving) {
  const UnkeptWork work = m_session.WhatLeavingDrops(leaving);
  if (work.board && !AskAboutBoard(*work.board, leaving == Leaving::LeaveSet)) return false;
  if (leaving == Leaving::ReplaceBoard) return true;
  return AskAboutSet();
}

bool CSetController::AskAboutBoard(std::optional<std::size_t> setLevel, bool boardStays) {
  QMessageBox box(
      QMessageBox::Question, tr("Unsaved Level"),
      setLevel ? tr("Level %1 on the board has changes that are not in the set.").arg(*setLevel + 1)
               : tr("The level on the board has changes and is in no set."),
      QMessageBox::Cancel, &m_window);
  QPushButton* keep =
      box.addButton(setLevel ? tr("&Update Level %1").arg(*setLevel + 1) : tr("&Add to Set"),
                    QMessageBox::AcceptRole);
  QPushButton* drop =
      box.addButton(boardStays ? tr("&Leave Out") : tr("&Discard"), QMessageBox::DestructiveRole);
  box.setDefaultButton(keep);
  box.exec();
  if (box.clickedButton() == keep) {
    ShowKept(setLevel ? tr("Level %1 updated from the board.") : tr("Added as level %1."),
             m_session.KeepBoardLevel());
    return true;
  }
  return box.clickedButton() == drop;
}

bool CSetController::AskAboutSet() {
  if (!m_session.set().modified()) return true;
  const auto answer = QMessageBox::question(
      &m_window, tr("Unsaved Changes"),
      tr("The level set \"%1\" has changes that are not saved. Save them?").arg(SetName()),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Discard) return true;
  if (answer != QMessageBox::Save) return false;
  OnFileSave();
  return !m_session.set().modified();
}

// --- Files ------------------------------------------------------------------------

QString CSetController::StartFolder() const {
  if (!m_session.set().path().empty())
    return QFileInfo(FromStd(m_session.set().path())).absolutePath();
  return QSettings().value(LastFolderKey).toString();
}

void CSetController::OnFileNew() {
  if (!MayLeave(Leaving::LeaveSet)) return;
  m_session.NewSet();
  m_status.ShowMessage(tr("A new, empty level set."));
}

void CSetController::OnFileOpen() {
  if (!MayLeave(Leaving::LeaveSet)) return;
  const QString path =
      QFileDialog::getOpenFileName(&m_window, tr("Open Level Set"), StartFolder(), SetFileFilter());
  if (!path.isEmpty()) OpenSetFile(path);
}

bool CSetController::OpenSetFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(&m_window, tr("Open Level Set"),
                         tr("Cannot read %1: %2").arg(path, file.errorString()));
    return false;
  }
  const QByteArray text = file.readAll();
  m_checkedPath.clear();  // asked anew: it may have changed since it was last opened
  const std::vector<SetLineError> errors = m_session.OpenSet(
      std::string_view(text.constData(), static_cast<std::size_t>(text.size())), ToStd(path));
  RememberRecentSet(path);
  m_status.ShowMessage(tr("Opened %1: %n level(s).", "", static_cast<int>(m_session.set().size()))
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
    QMessageBox::warning(&m_window, tr("Open Level Set"),
                         tr("%n line(s) of %1 are not levels and were left out:\n%2", "",
                            static_cast<int>(errors.size()))
                             .arg(QFileInfo(path).fileName(), lines.join(QLatin1Char('\n'))));
  }
  return true;
}

void CSetController::OnFileSave() {
  if (m_session.set().path().empty()) {
    OnFileSaveAs();
    return;
  }
  const QString path = FromStd(m_session.set().path());
  if (!m_session.set().NoLevelRead()) {
    SaveSetFile(path);
    return;
  }
  switch (AskAboutFileWithoutLevels(path)) {
    case QMessageBox::AcceptRole: OnFileSaveAs(); break;
    case QMessageBox::DestructiveRole: SaveSetFile(path); break;
    default: break;
  }
}

// A file in which no level was read may be no set file at all: it is written
// into only when the user says so, knowing what it holds.
QMessageBox::ButtonRole CSetController::AskAboutFileWithoutLevels(const QString& path) {
  const QFileInfo file(path);
  QMessageBox box(QMessageBox::Warning, tr("Save Level Set"),
                  tr("No level was read from %1: its %n line(s) are not levels, and it may be "
                     "no level set at all.",
                     "", static_cast<int>(m_session.set().OtherLines()))
                      .arg(file.fileName()),
                  QMessageBox::Cancel, &m_window);
  box.setInformativeText(
      tr("Saving into it keeps those lines and adds the set's levels, changing its %1 bytes. "
         "Save As writes the set to another file.")
          .arg(file.size()));
  QPushButton* saveAs = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
  QPushButton* saveInto = box.addButton(tr("Save &Into It"), QMessageBox::DestructiveRole);
  box.setDefaultButton(saveAs);
  box.exec();
  if (box.clickedButton() == saveAs) return QMessageBox::AcceptRole;
  if (box.clickedButton() == saveInto) return QMessageBox::DestructiveRole;
  return QMessageBox::RejectRole;
}

void CSetController::OnFileSaveAs() { SaveAs(); }

bool CSetController::SaveAs() {
  QFileDialog dialog(&m_window, tr("Save Level Set"), StartFolder(), SetFileFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(SetExtension);
  if (!m_session.set().path().empty()) dialog.selectFile(FromStd(m_session.set().path()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  return SaveSetFile(WithSetExtension(dialog.selectedFiles().constFirst()));
}

// QSaveFile writes beside the target and renames it into place only once every
// byte is written, so a failure leaves an earlier file as it was.
bool CSetController::SaveSetFile(const QString& path) {
  if (IsReadOnlyFile(path)) return OfferSaveAs(tr("%1 is read-only.").arg(path));
  const std::string text = m_session.set().Text();
  QSaveFile file(path);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(text.data(), static_cast<qint64>(text.size())) ==
                         static_cast<qint64>(text.size()) &&
                     file.commit();
  if (!saved) {
    // QSaveFile's own message may name the path already; it is said once.
    const QString error = file.errorString();
    return OfferSaveAs(error.contains(path) ? error : tr("Cannot write %1: %2").arg(path, error));
  }
  m_checkedPath.clear();
  m_session.SetSaved(ToStd(path));
  RememberRecentSet(path);
  m_status.ShowMessage(tr("Saved %1.").arg(QFileInfo(path).fileName()));
  return true;
}

bool CSetController::OfferSaveAs(const QString& problem) {
  QMessageBox box(QMessageBox::Warning, tr("Save Level Set"), problem, QMessageBox::Ok, &m_window);
  box.setInformativeText(tr("The set's changes are kept. Save As writes the set to another file."));
  QPushButton* saveAs = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
  box.setDefaultButton(saveAs);
  box.exec();
  return box.clickedButton() == saveAs && SaveAs();
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
  int number = 0;
  for (const QString& path : RecentSets()) {
    m_recentMenu
        ->addAction(RecentItemText(++number, QFileInfo(path).fileName()), this,
                    [this, path] {
                      if (MayLeave(Leaving::LeaveSet)) OpenSetFile(path);
                    })
        ->setToolTip(path);
  }
  m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

// --- The set's levels -------------------------------------------------------------

bool CSetController::LevelSelected() {
  if (m_session.selected()) return true;
  m_status.ShowMessage(tr("No level of the set is selected."));
  return false;
}

void CSetController::ShowKept(const QString& done, const KeptLevel& kept) {
  QString caveat;
  switch (kept.caveat.kind) {
    case LevelCaveat::Kind::None: break;
    case LevelCaveat::Kind::NoSolution: caveat = tr(" It has no solution."); break;
    case LevelCaveat::Kind::SameAs:
      caveat = tr(" It is the same level as level %1, up to turns and mirrors.")
                   .arg(kept.caveat.sameAs + 1);
      break;
  }
  m_status.ShowMessage(done.arg(kept.index + 1) + caveat);
}

void CSetController::OnSetAdd() { ShowKept(tr("Added as level %1."), m_session.AddBoardLevel()); }

// The level the board came from, whichever is selected.
void CSetController::OnSetUpdate() {
  const std::optional<KeptLevel> updated = m_session.UpdateBoardLevel();
  if (!updated) {
    m_status.ShowMessage(tr("The board's level is no level of the set; Add puts it in."));
    return;
  }
  ShowKept(tr("Level %1 updated from the board."), *updated);
}

void CSetController::OnSetRemove() {
  if (!LevelSelected()) return;
  const std::size_t index = *m_session.selected();
  m_session.RemoveSelected();
  m_status.ShowMessage(tr("Level %1 removed; Undo brings it back.").arg(index + 1));
}

void CSetController::OnSetMoveUp() {
  if (!LevelSelected()) return;
  const std::size_t index = *m_session.selected();
  if (!m_session.MoveSelectedUp()) return;
  m_status.ShowMessage(tr("Level %1 is now level %2.").arg(index + 1).arg(index));
}

void CSetController::OnSetMoveDown() {
  if (!LevelSelected()) return;
  const std::size_t index = *m_session.selected();
  if (!m_session.MoveSelectedDown()) return;
  m_status.ShowMessage(tr("Level %1 is now level %2.").arg(index + 1).arg(index + 2));
}

void CSetController::OnSetEdit() {
  if (!LevelSelected()) return;
  const std::size_t index = *m_session.selected();
  if (m_session.BoardSetLevel() == index && !m_session.board().BoardChanged()) return;
  if (!MayLeave(Leaving::ReplaceBoard) || !m_session.EditLevel(index)) return;
  m_status.ShowMessage(tr("Level %1 is on the board.").arg(index + 1));
}

void CSetController::AddGeneratedLevels(const std::vector<std::string>& codes, int wanted) {
  const std::size_t added = m_session.InsertLevels(codes);
  if (added == 0) {
    m_status.ShowMessage(tr("No level was added: the set holds every one found."));
    return;
  }
  const std::size_t first = *m_session.selected() + 1;
  const QString where = added == 1
                            ? tr("Added as level %1.").arg(first)
                            : tr("Added as levels %1 to %2.").arg(first).arg(first + added - 1);
  if (static_cast<int>(added) < wanted) {
    m_status.ShowMessage(tr("%1 of %2 levels made before the search stopped; they are kept. %3")
                             .arg(added)
                             .arg(wanted)
                             .arg(where));
    return;
  }
  m_status.ShowMessage(where + QLatin1Char(' ') + tr("Undo takes them all back."));
}

void CSetController::SortBy(SetOrder key) {
  if (m_session.set().size() < 2) {
    m_status.ShowMessage(tr("The set has too few levels to sort."));
    return;
  }
  const bool moved = m_session.SortLevels(key);
  m_status.ShowMessage(moved ? tr("Sorted by %1; Undo puts the old order back.").arg(OrderName(key))
                             : tr("The set is already sorted by %1.").arg(OrderName(key)));
}

void CSetController::OnSetSortByLength() { SortBy(SetOrder::Length); }
void CSetController::OnSetSortByEffort() { SortBy(SetOrder::GreedyEffort); }
void CSetController::OnSetSortByGrade() { SortBy(SetOrder::Grade); }

void CSetController::OnSetRename() {
  if (!LevelSelected()) return;
  const std::size_t index = *m_session.selected();
  bool accepted = false;
  const QString title = QInputDialog::getText(
      &m_window, tr("Rename Level"), tr("Title of &level %1:").arg(index + 1), QLineEdit::Normal,
      FromStd(m_session.set().set().levels[index].title), &accepted);
  if (accepted && m_session.RenameLevel(index, ToStd(title.trimmed())))
    m_status.ShowMessage(tr("Level %1 renamed.").arg(index + 1));
}

void CSetController::OnSetTitle() {
  const LevelSet& set = m_session.set().set();
  QDialog dialog(&m_window);
  dialog.setWindowTitle(tr("Title and Author"));
  auto* setTitle = new QLineEdit(FromStd(set.title), &dialog);
  auto* author = new QLineEdit(FromStd(set.author), &dialog);
  const std::optional<std::size_t> index = m_session.selected();
  auto* levelTitle = new QLineEdit(&dialog);
  // Room for a full name in any language and at any scale.
  const int fieldWidth = setTitle->fontMetrics().averageCharWidth() * 36;
  for (QLineEdit* field : {setTitle, author, levelTitle}) field->setMinimumWidth(fieldWidth);
  auto* form = new QFormLayout(&dialog);
  form->addRow(tr("&Title of the set:"), setTitle);
  form->addRow(tr("&Author:"), author);
  if (index) {
    levelTitle->setText(FromStd(set.levels[*index].title));
    form->addRow(tr("Title of &level %1:").arg(*index + 1), levelTitle);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  if (m_session.ChangeTitles(ToStd(setTitle->text().trimmed()), ToStd(author->text().trimmed()),
                             ToStd(levelTitle->text().trimmed())))
    m_status.ShowMessage(tr("Titles changed."));
}

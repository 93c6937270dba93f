// Designer mode's parts of the main window: the status line, the set's
// controller with its panel, Undo and Redo that say what they act on, the
// window's place, generation and Test Set.

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include "app/change_names.h"
#include "app/command_table.h"
#include "app/generate_dlg.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/set_controller.h"
#include "app/set_tester.h"
#include "app/status_line.h"
#include "logic/level_code.h"

namespace {

const QString GeometryKey = QStringLiteral("designer/geometry");
const QString PlaceKey = QStringLiteral("designer/place");  // the frame's rectangle, to check
constexpr QSize DefaultSize(900, 640);

/// True when some screen shows enough of the window's top edge, where its
/// title bar and menu stand, to take hold of it.
bool TopEdgeIsOnAScreen(const QRect& window) {
  const QRect topEdge(window.left(), window.top() - 24, window.width(), 48);
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect seen = screen->availableGeometry().intersected(topEdge);
    if (seen.width() >= 64 && seen.height() >= 16) return true;
  }
  return false;
}

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
  m_sets = new CSetController(*m_session, *m_status, *this, central);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(boardColumn);
  layout->addWidget(m_sets->panel(), 1);  // the panel takes the width the window gains
  setCentralWidget(central);

  // A level opened from the list is there to be edited: the board takes the focus.
  connect(m_sets->panel(), &CLevelSetPanel::levelActivated, m_view, [this](int index) {
    if (m_session->BoardSetLevel() == static_cast<std::size_t>(index)) m_view->setFocus();
  });
  const auto showMessage = [this](const QString& text) { m_status->ShowMessage(text); };
  connect(m_view, &CBoardView::transientMessage, m_status, showMessage);
  connect(m_commands.get(), &CBoardCommands::transientMessage, m_status, showMessage);
  m_setTester = new CSetTester(*m_session, CSetTester::DefaultFolder(), this);
  connect(m_setTester, &CSetTester::transientMessage, m_status, showMessage);
  m_session->AddListener([this](SessionChange change) { OnSessionChange(change); });
}

// A pointer move only repaints the board, which the view does itself.
void CMainFrame::OnSessionChange(SessionChange change) {
  switch (change) {
    case SessionChange::Work: ShowDocumentState(); break;
    case SessionChange::Selection:
      m_sets->ShowState();
      ShowCommandState();
      break;
    case SessionChange::Pointer: break;
  }
}

void CMainFrame::ShowDesignerParts() {
  m_sets->panel()->AddButtons({{tr("Add"), commandAction(CommandId("ID_SET_ADD"))},
                               {tr("Update"), commandAction(CommandId("ID_SET_UPDATE"))},
                               {tr("Remove"), commandAction(CommandId("ID_SET_REMOVE"))},
                               {tr("Up"), commandAction(CommandId("ID_SET_MOVE_UP"))},
                               {tr("Down"), commandAction(CommandId("ID_SET_MOVE_DOWN"))}});
  // Tab goes from the board to the set's list and on through the panel's buttons.
  QWidget* previous = m_view;
  for (QWidget* next : m_sets->panel()->FocusOrder()) {
    setTabOrder(previous, next);
    previous = next;
  }
  ShowPieceSymbols();
  RestorePlace();
  ShowDocumentState();
}

// View > Colour Symbols carries a check mark that follows the board's
// commands' setting, which the board and the panel's pictures follow too.
void CMainFrame::ShowPieceSymbols() {
  QAction* symbols = commandAction(CommandId("ID_VIEW_PIECE_SYMBOLS"));
  symbols->setCheckable(true);
  const auto show = [this, symbols](bool on) {
    symbols->setChecked(on);
    m_view->SetPieceSymbols(on);
    m_sets->panel()->SetPieceSymbols(on);
    m_sets->ShowState(true);
  };
  show(m_commands->pieceSymbols());
  connect(m_commands.get(), &CBoardCommands::pieceSymbolsChanged, this, show);
}

// restoreGeometry would pull a window that is off every screen back to the
// nearest edge; one whose place no screen shows opens centred instead.
void CMainFrame::RestorePlace() {
  const QSettings settings;
  const QByteArray saved = settings.value(GeometryKey).toByteArray();
  const QRect place = settings.value(PlaceKey).toRect();
  if (!saved.isEmpty() && TopEdgeIsOnAScreen(place) && restoreGeometry(saved)) return;
  const QScreen* shown = QGuiApplication::primaryScreen();
  if (shown == nullptr) return;
  // Room for several levels in the list, on any screen that has it.
  resize(sizeHint().expandedTo(DefaultSize).boundedTo(shown->availableGeometry().size()));
  QRect centred(QPoint(), frameGeometry().size());
  centred.moveCenter(shown->availableGeometry().center());
  move(centred.topLeft());
}

// The status line and the board's accessible text ask the same verdict, which
// is searched once per change of the level.
void CMainFrame::ShowDocumentState() {
  if (m_status == nullptr) return;
  EditorDocument& document = m_session->board();
  const EditingState& editing = document.editing();
  m_status->ShowLevel(editing, IsCarrying(editing) ? nullptr : &document.verdict());
  m_sets->ShowState();
  ShowCommandState();
  setWindowTitle(tr("Korvalo Level Designer - %1[*]").arg(m_sets->SetName()));
  setWindowModified(m_session->HoldsUnkeptWork());
}

void CMainFrame::ShowCommandState() {
  static constexpr struct {
    int id;
    SessionCommand command;
  } decided[] = {
      {CommandId("ID_SET_UPDATE"), SessionCommand::UpdateLevel},
      {CommandId("ID_SET_REMOVE"), SessionCommand::RemoveLevel},
      {CommandId("ID_SET_EDIT"), SessionCommand::EditLevel},
      {CommandId("ID_SET_MOVE_UP"), SessionCommand::MoveUp},
      {CommandId("ID_SET_MOVE_DOWN"), SessionCommand::MoveDown},
      {CommandId("ID_GAME_TEST_SET"), SessionCommand::TestSet},
      {CommandId("ID_SET_RENAME"), SessionCommand::RenameLevel},
      {CommandId("ID_SET_SORT_LENGTH"), SessionCommand::SortLevels},
      {CommandId("ID_SET_SORT_EFFORT"), SessionCommand::SortLevels},
      {CommandId("ID_SET_SORT_GRADE"), SessionCommand::SortLevels},
  };
  for (const auto& row : decided) {
    if (QAction* action = commandAction(row.id)) action->setEnabled(m_session->CanAct(row.command));
  }
  ShowUndoState();
}

void CMainFrame::ShowUndoState() {
  const History& history = m_session->history();
  const auto show = [this](int id, const QString& verb, std::optional<ChangeKind> kind) {
    QAction* action = commandAction(id);
    if (action == nullptr) return;
    const QString key = action->text().section(QLatin1Char('\t'), 1);
    const QString caption = kind ? tr("%1 %2").arg(verb, ChangeName(*kind)) : verb;
    action->setText(key.isEmpty() ? caption : caption + QLatin1Char('\t') + key);
    action->setEnabled(kind.has_value());
  };
  show(CommandId("ID_EDIT_UNDO"), tr("&Undo"), history.UndoKind());
  show(CommandId("ID_EDIT_REDO"), tr("&Redo"), history.RedoKind());
}

void CMainFrame::OnGameGenerate() {
  CGenerateDlg dialog(m_view->level().boardSize, this);
  dialog.AvoidLevels(m_session->CanonicalCodes());
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.wanted() > 1) {
    m_sets->AddGeneratedLevels(dialog.levelCodes(), dialog.wanted());
    return;
  }
  Level level;
  if (!ParseLevelCode(level, dialog.levelCode()).accepted) return;
  m_session->board().Apply(edit::ReplaceLevel{std::move(level), OriginKind::Generated});
  m_status->ShowMessage(dialog.FoundText(), 10000);
}

void CMainFrame::OnGameTestSet() { m_setTester->Test(); }

void CMainFrame::OnHelpKeyboard() {
  QMessageBox box(QMessageBox::Information, tr("Keyboard Editing"),
                  tr("While the board has the focus (Tab moves it), the keys edit the square "
                     "under the yellow cursor, as the mouse would:"),
                  QMessageBox::Close, this);
  box.setInformativeText(
      tr("Arrow keys: move the cursor; a carried piece goes with it.\n"
         "Shift+arrow key: flip the wall on that side of the square.\n"
         "B or Space: pick up the ball on the square, or put down what is carried.\n"
         "H: pick up the hole on the square, or put down what is carried.\n"
         "Escape: put a carried piece back where it came from.\n\n"
         "In the list of the set's levels: the arrow keys choose a level, Enter puts it "
         "on the board and Delete removes it."));
  box.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_mode == EditorMode::Designer) {
    if (!m_sets->MayClose()) {
      event->ignore();
      return;
    }
    QSettings settings;
    settings.setValue(GeometryKey, saveGeometry());
    settings.setValue(PlaceKey, frameGeometry());
  }
  QMainWindow::closeEvent(event);
}

#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QVBoxLayout>
#include <map>

#include "app/command_table.h"
#include "app/set_controller.h"
#include "app/set_tester.h"

namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A caption of the command table as the mode shows it: designer mode in the
/// user's language, the classic editor exactly as written.
QString CaptionIn(EditorMode mode, std::string_view caption) {
  if (mode == EditorMode::Classic) return FromView(caption);
  return QCoreApplication::translate("Menu", std::string(caption).c_str());
}

/// The classic window is moved and minimised, never resized or maximised;
/// designer mode's window is an ordinary one.
constexpr Qt::WindowFlags ClassicWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

Qt::WindowFlags WindowFlagsOf(EditorMode mode) {
  return mode == EditorMode::Classic ? ClassicWindowFlags : Qt::Window;
}

/// The keys of a command in a mode: a standard key may have several.
QList<QKeySequence> KeysOf(const Key& key) {
  if (key.standard != QKeySequence::UnknownKey) return QKeySequence::keyBindings(key.standard);
  if (key.text.empty()) return {};
  return {QKeySequence(FromView(key.text), QKeySequence::PortableText)};
}

/// The menu text of a command: its caption, then a tab and the key shown at
/// the item's right edge, as a menu resource writes it.
QString MenuText(const QString& caption, const QString& key) {
  return key.isEmpty() ? caption : caption + QLatin1Char('\t') + key;
}

}  // namespace

CMainFrame::CMainFrame(RandomSource random, EditorMode mode, GradeParameters grading)
    : QMainWindow(nullptr, WindowFlagsOf(mode)),
      m_mode(mode),
      m_session(mode == EditorMode::Designer ? std::make_unique<DesignerSession>(random, grading)
                                             : nullptr),
      m_classicDocument(mode == EditorMode::Classic ? std::make_unique<EditorDocument>(random)
                                                    : nullptr),
      m_view(new CBoardView(m_session ? m_session->board() : *m_classicDocument, nullptr, mode)),
      m_commands(std::make_unique<CBoardCommands>(m_view->document(), *this, mode)) {
  if (mode == EditorMode::Classic) {
    setWindowTitle(QStringLiteral("Korvalo Level Editor"));
    setCentralWidget(m_view);
  } else {
    BuildDesignerParts();
  }
  BuildMenuAndKeys();
  // The classic window follows the menu bar's height for any font, so the
  // board keeps its exact size and the user cannot resize the window.
  if (mode == EditorMode::Classic) layout()->setSizeConstraint(QLayout::SetFixedSize);
  // The main window never keeps the focus for itself: the board view takes it.
  setFocusProxy(m_view);
  m_view->setFocus();
  if (mode == EditorMode::Designer) ShowDesignerParts();
}

// The widgets and the controller hold references into the session or the
// document: they go before it does.
CMainFrame::~CMainFrame() {
  delete m_setTester;
  delete m_sets;
  delete takeCentralWidget();
}

QAction* CMainFrame::MakeAction(const CommandEntry& command) {
  const std::string_view caption =
      m_mode == EditorMode::Designer && !command.designerCaption.empty() ? command.designerCaption
                                                                         : command.caption;
  auto* action = new QAction(CaptionIn(m_mode, caption), this);
  const QList<QKeySequence> keys =
      KeysOf(m_mode == EditorMode::Classic ? command.classicKey : command.designerKey);
  if (!keys.isEmpty()) {
    action->setShortcuts(keys);
    // Keys act only while this window is active; in a dialog they belong to the dialog.
    action->setShortcutContext(Qt::WindowShortcut);
  }
  connect(action, &QAction::triggered, this, [this, id = command.id] { OnCmdMsg(id); });
  addAction(action);  // keys work even for the command that has no menu item
  m_actions.insert(command.id, action);
  return action;
}

void CMainFrame::BuildMenuAndKeys() {
  std::map<MenuPlace, QMenu*> popups;
  for (const PopupEntry& popup : Popups) {
    if (ExistsIn(popup.modes, m_mode))
      popups[popup.menu] = menuBar()->addMenu(CaptionIn(m_mode, popup.caption));
  }
  for (const CommandEntry& command : Commands) {
    if (!ExistsIn(command.modes, m_mode)) continue;
    QAction* action = MakeAction(command);
    switch (command.menu) {
      case MenuPlace::MenuBar: menuBar()->addAction(action); break;
      case MenuPlace::Hidden: break;
      default: {
        QMenu* popup = popups.at(command.menu);
        if (command.separatorBefore && !popup->actions().isEmpty()) popup->addSeparator();
        // The classic menu shows its keys as written; designer mode as the desktop names them.
        const QList<QKeySequence> keys = action->shortcuts();
        const QString key = m_mode == EditorMode::Classic ? FromView(command.classicKey.text)
                            : keys.isEmpty()              ? QString()
                                             : keys.first().toString(QKeySequence::NativeText);
        action->setText(MenuText(action->text(), key));
        popup->addAction(action);
        if (command.id == CommandId("ID_FILE_OPEN"))
          m_sets->AttachRecentMenu(popup->addMenu(tr("Open &Recent")));
        break;
      }
    }
  }
}

bool CMainFrame::OnCmdMsg(int id) {
  return RunCommandHandler(*m_commands, id, m_mode) ||
         (m_sets != nullptr && RunCommandHandler(*m_sets, id, m_mode)) ||
         RunCommandHandler(*this, id, m_mode);
}

void CMainFrame::OnAppAbout() { emit aboutRequested(); }

void CMainFrame::OnAppExit() { close(); }

#include "app/main_frame.h"

#include <QAction>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <map>

#include "app/command_table.h"

namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Moved and minimised, never resized or maximised.
constexpr Qt::WindowFlags MainWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                            Qt::WindowMinimizeButtonHint |
                                            Qt::WindowCloseButtonHint;

}  // namespace

QString MenuText(std::string_view caption, std::string_view shortcut) {
  if (shortcut.empty()) return FromView(caption);
  return FromView(caption) + QLatin1Char('\t') + FromView(shortcut);
}

CMainFrame::CMainFrame(RandomSource random)
    : QMainWindow(nullptr, MainWindowFlags), m_view(new CBoardView(nullptr, std::move(random))) {
  setWindowTitle(QStringLiteral("Korvalo Level Editor"));
  setCentralWidget(m_view);
  BuildMenuAndKeys();
  // The window follows the menu bar's height for any font, so the board keeps
  // its exact size and the user cannot resize the window.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  // The main window never keeps the focus for itself: the board view takes it.
  setFocusProxy(m_view);
  m_view->setFocus();
}

QAction* CMainFrame::MakeAction(const CommandEntry& command) {
  // The shortcut is shown through the caption's tab text, so the action
  // carries the plain caption and the key separately.
  auto* action = new QAction(FromView(command.caption), this);
  const QString shortcut = FromView(command.shortcut);
  if (!shortcut.isEmpty()) {
    action->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
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
    popups[popup.menu] = menuBar()->addMenu(FromView(popup.caption));
  }
  for (const CommandEntry& command : Commands) {
    QAction* action = MakeAction(command);
    switch (command.menu) {
      case MenuPlace::Game:
      case MenuPlace::Edit:
      case MenuPlace::Help: {
        QMenu* popup = popups.at(command.menu);
        if (command.separatorBefore) popup->addSeparator();
        action->setText(MenuText(command.caption, command.shortcut));
        popup->addAction(action);
        break;
      }
      case MenuPlace::MenuBar:
        menuBar()->addAction(action);
        break;
      case MenuPlace::Hidden:
        break;
    }
  }
}

bool CMainFrame::OnCmdMsg(int id) { return m_view->OnCommand(id) || RunCommandHandler(*this, id); }

void CMainFrame::OnAppAbout() { emit aboutRequested(); }

void CMainFrame::OnAppExit() { close(); }

#pragma once
// Every command of the editor in one table, one row each: its id, name, place
// in the menu, caption, key and handler. The menu bar, the keyboard shortcuts
// and the dispatch are all built from it, so adding a command is one row and
// one handler.

#include <array>
#include <string_view>
#include <variant>

#include "app/board_view.h"
#include "app/main_frame.h"

/// Where a command shows: in one of the three popups, as a command on the
/// menu bar itself, or nowhere (reached by its key alone).
enum class MenuPlace { Game, Edit, Help, MenuBar, Hidden };

/// The popups of the menu bar, in display order, with their captions.
struct PopupEntry {
  MenuPlace menu;
  std::string_view caption;
};
inline constexpr std::array<PopupEntry, 3> Popups = {{
    {MenuPlace::Game, "&Game"},
    {MenuPlace::Edit, "&Edit"},
    {MenuPlace::Help, "&Help"},
}};

/// Who handles a command: a member of the board view, which is offered every
/// command first, or of the main frame (About and Exit).
using ViewHandler = void (CBoardView::*)();
using FrameHandler = void (CMainFrame::*)();
using CommandHandler = std::variant<ViewHandler, FrameHandler>;

struct CommandEntry {
  int id;
  std::string_view name;
  MenuPlace menu;
  std::string_view caption;   // with '&' before the mnemonic letter
  std::string_view shortcut;  // in QKeySequence's portable text; empty for none
  bool separatorBefore;       // a separator line above the item in its popup
  CommandHandler handler;
};

/// The commands in menu order within each popup; the menu-bar command follows
/// the popups.
inline constexpr std::array<CommandEntry, 16> Commands = {{
    {32772, "ID_GAME_3X3", MenuPlace::Game, "3x3", "", false, &CBoardView::OnGame3x3},
    {32773, "ID_GAME_5X5", MenuPlace::Game, "5x5", "", false, &CBoardView::OnGame5x5},
    {32774, "ID_GAME_7X7", MenuPlace::Game, "7x7", "", false, &CBoardView::OnGame7x7},
    {32777, "ID_GAME_TEST", MenuPlace::Game, "Test", "Ctrl+T", true, &CBoardView::OnGameTest},
    {57665, "ID_APP_EXIT", MenuPlace::Game, "Exit", "", true, &CMainFrame::OnAppExit},
    {32775, "ID_EDIT_CLEARMAZE", MenuPlace::Edit, "Clear", "Ctrl+N", false, &CBoardView::OnEditClearMaze},
    {32776, "ID_EDIT_RANDOM", MenuPlace::Edit, "Random", "Ctrl+R", false, &CBoardView::OnEditRandom},
    {32779, "ID_EDIT_XFLIP", MenuPlace::Edit, "X-flip", "Ctrl+X", true, &CBoardView::OnEditXFlip},
    {32778, "ID_EDIT_YFLIP", MenuPlace::Edit, "Y-flip", "Ctrl+Y", false, &CBoardView::OnEditYFlip},
    {32780, "ID_EDIT_ROTATE", MenuPlace::Edit, "Rotate", "Ctrl+Z", false, &CBoardView::OnEditRotate},
    {32784, "ID_EDIT_GETHTML", MenuPlace::Edit, "Get &HTML", "", true, &CBoardView::OnEditGetHtml},
    {32782, "ID_EDIT_COPYCODE", MenuPlace::Edit, "Copy", "Ctrl+C", true, &CBoardView::OnEditCopyCode},
    {57664, "ID_APP_ABOUT", MenuPlace::Help, "About", "", false, &CMainFrame::OnAppAbout},
    {32771, "ID_HELP_HOMEPAGE", MenuPlace::Help, "Homepage", "", false, &CBoardView::OnHelpHomepage},
    {32783, "ID_MAKER_SITE", MenuPlace::MenuBar, "&Vandrel", "", false, &CBoardView::OnMakerSite},
    {32781, "ID_SOLUTION_STEP", MenuPlace::Hidden, "", "Ctrl+Alt+O", false, &CBoardView::OnSolutionStep},
}};

/// The row of a command id; null for an id the table does not hold.
constexpr const CommandEntry* FindCommand(int id) {
  for (const CommandEntry& command : Commands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

/// The id of the command of this name; a name the table lacks does not compile.
consteval int CommandId(std::string_view name) {
  for (const CommandEntry& command : Commands) {
    if (command.name == name) return command.id;
  }
  throw "no command of this name";
}

/// Runs the command's handler if its row gives it to this owner (the board
/// view or the main frame); returns whether it did.
template <typename Owner>
bool RunCommandHandler(Owner& owner, int id) {
  using Handler = void (Owner::*)();
  const CommandEntry* command = FindCommand(id);
  if (command == nullptr) return false;
  const Handler* handler = std::get_if<Handler>(&command->handler);
  if (handler == nullptr) return false;
  (owner.**handler)();
  return true;
}

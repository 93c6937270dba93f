#pragma once
// Every command of the editor in one table, one row each: its id, name, the
// modes it exists in, its place in the menu, caption, key in each mode and
// handler. The menu bar, the keyboard shortcuts and the dispatch of both
// modes are built from it, so adding a command is one row and one handler.
// The captions are marked for translation in the context "Menu": designer
// mode shows them in the user's language, the classic editor as written.

#include <QKeySequence>
#include <array>
#include <string_view>
#include <variant>

#include "app/board_commands.h"
#include "app/editor_mode.h"
#include "app/main_frame.h"
#include "app/set_controller.h"

/// Where a command shows: in one of the popups, as a command on the menu bar
/// itself, or nowhere (reached by its key alone).
enum class MenuPlace { File, Game, Edit, View, Set, Help, MenuBar, Hidden };

/// The modes a row exists in.
enum class InModes { Classic, Designer, Both };

constexpr bool ExistsIn(InModes modes, EditorMode mode) {
  return modes == InModes::Both || (modes == InModes::Classic) == (mode == EditorMode::Classic);
}

/// The popups of the menu bar, in display order, with their captions.
struct PopupEntry {
  MenuPlace menu;
  InModes modes;
  std::string_view caption;
};
inline constexpr std::array<PopupEntry, 6> Popups = {{
    {MenuPlace::File, InModes::Designer, QT_TRANSLATE_NOOP("Menu", "&File")},
    {MenuPlace::Game, InModes::Both, QT_TRANSLATE_NOOP("Menu", "&Game")},
    {MenuPlace::Edit, InModes::Both, QT_TRANSLATE_NOOP("Menu", "&Edit")},
    {MenuPlace::View, InModes::Designer, QT_TRANSLATE_NOOP("Menu", "&View")},
    {MenuPlace::Set, InModes::Designer, QT_TRANSLATE_NOOP("Menu", "&Set")},
    {MenuPlace::Help, InModes::Both, QT_TRANSLATE_NOOP("Menu", "&Help")},
}};

/// A key: its portable text ("Ctrl+T"), or one of the desktop's standard keys.
struct Key {
  std::string_view text;
  QKeySequence::StandardKey standard = QKeySequence::UnknownKey;
};
constexpr Key NoKey{};
constexpr Key Standard(QKeySequence::StandardKey standard) { return {"", standard}; }

/// Who handles a command: a member of the board's commands, which are offered
/// every command first, of designer mode's set controller, or of the main frame.
using BoardHandler = void (CBoardCommands::*)();
using SetHandler = void (CSetController::*)();
using FrameHandler = void (CMainFrame::*)();
using CommandHandler = std::variant<BoardHandler, SetHandler, FrameHandler>;

struct CommandEntry {
  int id;
  std::string_view name;
  InModes modes;
  MenuPlace menu;
  std::string_view caption;  // with '&' before the mnemonic letter
  // When designer mode names it otherwise; designer mode gives every item a
  // mnemonic, which the classic menu's captions do not all have.
  std::string_view designerCaption;
  Key classicKey;
  Key designerKey;
  bool separatorBefore;  // a separator line above the item, unless it comes first in its popup
  CommandHandler handler;
};

/// The commands in menu order within each popup; the menu-bar command follows
/// the popups. A command placed otherwise in the two modes has a row for each.
inline constexpr auto Commands = [] {
  using enum InModes;
  using enum MenuPlace;
  // One line per row, so that each command reads across.
  // clang-format off
  return std::to_array<CommandEntry>({
    {33001, "ID_FILE_NEW", Designer, File, QT_TRANSLATE_NOOP("Menu", "&New"), "", NoKey, Standard(QKeySequence::New), false, &CSetController::OnFileNew},
    {33002, "ID_FILE_OPEN", Designer, File, QT_TRANSLATE_NOOP("Menu", "&Open..."), "", NoKey, Standard(QKeySequence::Open), false, &CSetController::OnFileOpen},
    {33003, "ID_FILE_SAVE", Designer, File, QT_TRANSLATE_NOOP("Menu", "&Save"), "", NoKey, Standard(QKeySequence::Save), true, &CSetController::OnFileSave},
    {33004, "ID_FILE_SAVE_AS", Designer, File, QT_TRANSLATE_NOOP("Menu", "Save &As..."), "", NoKey, {"Ctrl+Shift+S"}, false, &CSetController::OnFileSaveAs},
    {33005, "ID_FILE_PUBLISH", Designer, File, QT_TRANSLATE_NOOP("Menu", "&Publish..."), "", NoKey, NoKey, true, &CMainFrame::OnFilePublish},
    {57665, "ID_APP_EXIT", Designer, File, QT_TRANSLATE_NOOP("Menu", "E&xit"), "", NoKey, {"Ctrl+Q"}, true, &CMainFrame::OnAppExit},

    {32772, "ID_GAME_3X3", Both, Game, QT_TRANSLATE_NOOP("Menu", "3x3"), QT_TRANSLATE_NOOP("Menu", "&3x3"), NoKey, {"Ctrl+3"}, false, &CBoardCommands::OnGame3x3},
    {32773, "ID_GAME_5X5", Both, Game, QT_TRANSLATE_NOOP("Menu", "5x5"), QT_TRANSLATE_NOOP("Menu", "&5x5"), NoKey, {"Ctrl+5"}, false, &CBoardCommands::OnGame5x5},
    {32774, "ID_GAME_7X7", Both, Game, QT_TRANSLATE_NOOP("Menu", "7x7"), QT_TRANSLATE_NOOP("Menu", "&7x7"), NoKey, {"Ctrl+7"}, false, &CBoardCommands::OnGame7x7},
    {33010, "ID_GAME_GENERATE", Designer, Game, QT_TRANSLATE_NOOP("Menu", "&Generate..."), "", NoKey, {"Ctrl+G"}, true, &CMainFrame::OnGameGenerate},
    {32777, "ID_GAME_TEST", Both, Game, QT_TRANSLATE_NOOP("Menu", "Test"), QT_TRANSLATE_NOOP("Menu", "&Test"), {"Ctrl+T"}, {"Ctrl+T"}, true, &CBoardCommands::OnGameTest},
    {33011, "ID_GAME_TEST_SET", Designer, Game, QT_TRANSLATE_NOOP("Menu", "Test &Set"), "", NoKey, {"Ctrl+Shift+T"}, false, &CMainFrame::OnGameTestSet},
    {57665, "ID_APP_EXIT", Classic, Game, QT_TRANSLATE_NOOP("Menu", "Exit"), "", NoKey, NoKey, true, &CMainFrame::OnAppExit},

    {33020, "ID_EDIT_UNDO", Designer, Edit, QT_TRANSLATE_NOOP("Menu", "&Undo"), "", NoKey, Standard(QKeySequence::Undo), false, &CBoardCommands::OnEditUndo},
    {33021, "ID_EDIT_REDO", Designer, Edit, QT_TRANSLATE_NOOP("Menu", "&Redo"), "", NoKey, Standard(QKeySequence::Redo), false, &CBoardCommands::OnEditRedo},
    {33022, "ID_EDIT_COPY", Designer, Edit, QT_TRANSLATE_NOOP("Menu", "&Copy Level Code"), "", NoKey, Standard(QKeySequence::Copy), true, &CBoardCommands::OnEditCopy},
    {33023, "ID_EDIT_PASTE", Designer, Edit, QT_TRANSLATE_NOOP("Menu", "&Paste Level Code"), "", NoKey, Standard(QKeySequence::Paste), false, &CBoardCommands::OnEditPaste},
    {32775, "ID_EDIT_CLEARMAZE", Both, Edit, QT_TRANSLATE_NOOP("Menu", "Clear"), QT_TRANSLATE_NOOP("Menu", "Cl&ear"), {"Ctrl+N"}, {"Ctrl+Shift+N"}, true, &CBoardCommands::OnEditClearMaze},
    {32776, "ID_EDIT_RANDOM", Both, Edit, QT_TRANSLATE_NOOP("Menu", "Random"), QT_TRANSLATE_NOOP("Menu", "Ra&ndom"), {"Ctrl+R"}, {"Ctrl+R"}, false, &CBoardCommands::OnEditRandom},
    {32779, "ID_EDIT_XFLIP", Both, Edit, QT_TRANSLATE_NOOP("Menu", "X-flip"), QT_TRANSLATE_NOOP("Menu", "&X-flip"), {"Ctrl+X"}, {"Ctrl+Shift+X"}, true, &CBoardCommands::OnEditXFlip},
    {32778, "ID_EDIT_YFLIP", Both, Edit, QT_TRANSLATE_NOOP("Menu", "Y-flip"), QT_TRANSLATE_NOOP("Menu", "&Y-flip"), {"Ctrl+Y"}, {"Ctrl+Shift+Y"}, false, &CBoardCommands::OnEditYFlip},
    {32780, "ID_EDIT_ROTATE", Both, Edit, QT_TRANSLATE_NOOP("Menu", "Rotate"), QT_TRANSLATE_NOOP("Menu", "R&otate"), {"Ctrl+Z"}, {"Ctrl+Shift+R"}, false, &CBoardCommands::OnEditRotate},
    {32784, "ID_EDIT_GETHTML", Both, Edit, QT_TRANSLATE_NOOP("Menu", "Get &HTML"), "", NoKey, NoKey, true, &CBoardCommands::OnEditGetHtml},
    {32782, "ID_EDIT_COPYCODE", Both, Edit, QT_TRANSLATE_NOOP("Menu", "Copy"), QT_TRANSLATE_NOOP("Menu", "&Level Code..."), {"Ctrl+C"}, {"Ctrl+L"}, true, &CBoardCommands::OnEditCopyCode},

    {33050, "ID_VIEW_PIECE_SYMBOLS", Designer, View, QT_TRANSLATE_NOOP("Menu", "Colour &Symbols"), "", NoKey, NoKey, false, &CBoardCommands::OnViewPieceSymbols},

    {33030, "ID_SET_ADD", Designer, Set, QT_TRANSLATE_NOOP("Menu", "&Add Level"), "", NoKey, {"Ctrl+Shift+A"}, false, &CSetController::OnSetAdd},
    {33031, "ID_SET_UPDATE", Designer, Set, QT_TRANSLATE_NOOP("Menu", "&Update Level from Board"), "", NoKey, {"Ctrl+U"}, false, &CSetController::OnSetUpdate},
    {33032, "ID_SET_REMOVE", Designer, Set, QT_TRANSLATE_NOOP("Menu", "&Remove Selected Level"), "", NoKey, {"Ctrl+Shift+Del"}, false, &CSetController::OnSetRemove},
    {33033, "ID_SET_MOVE_UP", Designer, Set, QT_TRANSLATE_NOOP("Menu", "Move U&p"), "", NoKey, {"Ctrl+Shift+Up"}, true, &CSetController::OnSetMoveUp},
    {33034, "ID_SET_MOVE_DOWN", Designer, Set, QT_TRANSLATE_NOOP("Menu", "Move &Down"), "", NoKey, {"Ctrl+Shift+Down"}, false, &CSetController::OnSetMoveDown},
    {33035, "ID_SET_EDIT", Designer, Set, QT_TRANSLATE_NOOP("Menu", "&Edit Selected Level"), "", NoKey, {"Ctrl+E"}, true, &CSetController::OnSetEdit},
    {33036, "ID_SET_TITLE", Designer, Set, QT_TRANSLATE_NOOP("Menu", "&Title and Author..."), "", NoKey, NoKey, true, &CSetController::OnSetTitle},
    {33060, "ID_SET_RENAME", Designer, Set, QT_TRANSLATE_NOOP("Menu", "Re&name Level..."), "", NoKey, {"F2"}, false, &CSetController::OnSetRename},
    {33061, "ID_SET_SORT_LENGTH", Designer, Set, QT_TRANSLATE_NOOP("Menu", "Sort by &Length"), "", NoKey, NoKey, true, &CSetController::OnSetSortByLength},
    {33062, "ID_SET_SORT_EFFORT", Designer, Set, QT_TRANSLATE_NOOP("Menu", "Sort by Greedy E&ffort"), "", NoKey, NoKey, false, &CSetController::OnSetSortByEffort},
    {33063, "ID_SET_SORT_GRADE", Designer, Set, QT_TRANSLATE_NOOP("Menu", "Sort by &Grade"), "", NoKey, NoKey, false, &CSetController::OnSetSortByGrade},

    {33040, "ID_HELP_KEYBOARD", Designer, Help, QT_TRANSLATE_NOOP("Menu", "&Keyboard Editing..."), "", NoKey, {"F1"}, false, &CMainFrame::OnHelpKeyboard},
    {57664, "ID_APP_ABOUT", Both, Help, QT_TRANSLATE_NOOP("Menu", "About"), QT_TRANSLATE_NOOP("Menu", "&About"), NoKey, NoKey, false, &CMainFrame::OnAppAbout},
    {32771, "ID_HELP_HOMEPAGE", Both, Help, QT_TRANSLATE_NOOP("Menu", "Homepage"), QT_TRANSLATE_NOOP("Menu", "&Homepage"), NoKey, NoKey, false, &CBoardCommands::OnHelpHomepage},
    {32783, "ID_MAKER_SITE", Both, MenuBar, QT_TRANSLATE_NOOP("Menu", "&Vandrel"), QT_TRANSLATE_NOOP("Menu", "V&andrel"), NoKey, NoKey, false, &CBoardCommands::OnMakerSite},
    {32781, "ID_SOLUTION_STEP", Both, Hidden, "", "", {"Ctrl+Alt+O"}, {"Ctrl+Alt+O"}, false, &CBoardCommands::OnSolutionStep},
  });
  // clang-format on
}();

/// Whether two rows of one mode share an id: the second would never be
/// reached, its menu item and key running the first one's handler.
consteval bool AnIdRepeatsInAMode() {
  for (std::size_t i = 0; i < Commands.size(); ++i) {
    for (std::size_t j = i + 1; j < Commands.size(); ++j) {
      if (Commands[i].id != Commands[j].id) continue;
      for (const EditorMode mode : {EditorMode::Classic, EditorMode::Designer}) {
        if (ExistsIn(Commands[i].modes, mode) && ExistsIn(Commands[j].modes, mode)) return true;
      }
    }
  }
  return false;
}
static_assert(!AnIdRepeatsInAMode(), "two commands of one mode share an id");

/// The row of a command id in a mode; null for an id the mode does not hold.
constexpr const CommandEntry* FindCommand(int id, EditorMode mode) {
  for (const CommandEntry& command : Commands) {
    if (command.id == id && ExistsIn(command.modes, mode)) return &command;
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

/// Runs the command's handler if its row gives it to this owner (the board's
/// commands, the set controller or the main frame); returns whether it did.
template <typename Owner>
bool RunCommandHandler(Owner& owner, int id, EditorMode mode) {
  using Handler = void (Owner::*)();
  const CommandEntry* command = FindCommand(id, mode);
  if (command == nullptr) return false;
  const Handler* handler = std::get_if<Handler>(&command->handler);
  if (handler == nullptr) return false;
  (owner.**handler)();
  return true;
}

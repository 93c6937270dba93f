#pragma once
// Every command of the editor in one table: its id, name, place in the menu,
// caption and key. The menu bar and the keyboard shortcuts are both built from
// it, so the menu and the keys cannot drift apart.

#include <array>
#include <string_view>

enum CommandId : int {
  ID_HELP_HOMEPAGE = 32771,
  ID_GAME_3X3 = 32772,
  ID_GAME_5X5 = 32773,
  ID_GAME_7X7 = 32774,
  ID_EDIT_CLEARMAZE = 32775,
  ID_EDIT_RANDOM = 32776,
  ID_GAME_TEST = 32777,
  ID_EDIT_YFLIP = 32778,
  ID_EDIT_XFLIP = 32779,
  ID_EDIT_ROTATE = 32780,
  ID_SOLUTION_STEP = 32781,
  ID_EDIT_COPYCODE = 32782,
  ID_MAKER_SITE = 32783,
  ID_EDIT_GETHTML = 32784,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
};

/// Where a command shows: in one of the three popups, as a command on the
/// menu bar itself, or nowhere (reached by its key alone).
enum class MenuPlace { Game, Edit, Help, MenuBar, Hidden };

struct CommandEntry {
  CommandId id;
  std::string_view name;
  MenuPlace menu;
  std::string_view caption;   // with '&' before the mnemonic letter
  std::string_view shortcut;  // in QKeySequence's portable text; empty for none
  bool separatorBefore;       // a separator line above the item in its popup
};

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

/// The commands in menu order within each popup; the menu-bar command follows
/// the popups.
inline constexpr std::array<CommandEntry, 16> Commands = {{
    {ID_GAME_3X3, "ID_GAME_3X3", MenuPlace::Game, "3x3", "", false},
    {ID_GAME_5X5, "ID_GAME_5X5", MenuPlace::Game, "5x5", "", false},
    {ID_GAME_7X7, "ID_GAME_7X7", MenuPlace::Game, "7x7", "", false},
    {ID_GAME_TEST, "ID_GAME_TEST", MenuPlace::Game, "Test", "Ctrl+T", true},
    {ID_APP_EXIT, "ID_APP_EXIT", MenuPlace::Game, "Exit", "", true},
    {ID_EDIT_CLEARMAZE, "ID_EDIT_CLEARMAZE", MenuPlace::Edit, "Clear", "Ctrl+N", false},
    {ID_EDIT_RANDOM, "ID_EDIT_RANDOM", MenuPlace::Edit, "Random", "Ctrl+R", false},
    {ID_EDIT_XFLIP, "ID_EDIT_XFLIP", MenuPlace::Edit, "X-flip", "Ctrl+X", true},
    {ID_EDIT_YFLIP, "ID_EDIT_YFLIP", MenuPlace::Edit, "Y-flip", "Ctrl+Y", false},
    {ID_EDIT_ROTATE, "ID_EDIT_ROTATE", MenuPlace::Edit, "Rotate", "Ctrl+Z", false},
    {ID_EDIT_GETHTML, "ID_EDIT_GETHTML", MenuPlace::Edit, "Get &HTML", "", true},
    {ID_EDIT_COPYCODE, "ID_EDIT_COPYCODE", MenuPlace::Edit, "Copy", "Ctrl+C", true},
    {ID_APP_ABOUT, "ID_APP_ABOUT", MenuPlace::Help, "About", "", false},
    {ID_HELP_HOMEPAGE, "ID_HELP_HOMEPAGE", MenuPlace::Help, "Homepage", "", false},
    {ID_MAKER_SITE, "ID_MAKER_SITE", MenuPlace::MenuBar, "&Vandrel", "", false},
    {ID_SOLUTION_STEP, "ID_SOLUTION_STEP", MenuPlace::Hidden, "", "Ctrl+Alt+O", false},
}};

// The menu bars, keys and status texts of the program, as data. The window
// program builds its menus and shortcuts from these.
#pragma once

#include "interaction/AppState.h"
#include "interaction/CommandId.h"

#include <string>
#include <vector>

namespace kv {

enum class KeyName { Letter, Insert, Delete, Backspace, F3, F4, F6, KeypadPlus, KeypadMultiply, KeypadMinus };

struct KeyChord {
    KeyName key = KeyName::Letter;
    char letter = 0; // 'A' to 'Z' for KeyName::Letter
    bool ctrl = false;
    bool shift = false;
    bool alt = false;

    bool operator==(const KeyChord&) const = default;
};

struct MenuItem {
    enum class Kind {
        Command,
        Separator,
        RecentFiles, // the list of the four most recent companies goes here
        WindowList,  // the open windows of the company go here
    };
    Kind kind = Kind::Command;
    CommandId id{};
    std::string text; // with its & accelerator
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

// The three menu bars: without a company, of a company window, and of the
// income-statement and balance-sheet windows.
enum class MenuBarId { NoCompany = 4128, Company = 129, Report = 4129 };

struct MenuBar {
    MenuBarId id;
    std::vector<Menu> menus;
};

const MenuBar& menuBar(MenuBarId id);

// The menu bar in force: none without a company, the report menu while an
// income-statement or balance-sheet window is active, else the company menu.
MenuBarId menuBarFor(const AppState& state);

// Every command of the program (the menu commands, the recent files and the
// window keys).
const std::vector<CommandId>& allCommands();

// The keys of a command; the first is the one shown in the menus.
const std::vector<KeyChord>& commandKeys(CommandId id);

// True when the menu text already names the key (the numeric-keypad keys),
// so that the menu shows no key of its own.
bool keyNamedInMenuText(CommandId id);

// The text the status bar shows while the command is under the mouse.
std::string statusText(CommandId id);

// The text of the status bar's message pane when nothing else is shown.
inline constexpr const char* kIdleStatusText = "Klar";
// The status text of the window list's entries in the menu "Fönster".
inline constexpr const char* kWindowListStatusText = "Byt till det här fönstret";

// The toolbar and its buttons, in order.
inline constexpr const char* kToolbarTitle = "Verktygsrad";
struct ToolbarButton {
    CommandId id;
    const char* label;
};
inline constexpr ToolbarButton kToolbarButtons[] = {
    {CommandId::Save, "Spara"},
    {CommandId::NewVoucher, "Nytt verifikat"},
    {CommandId::FindVoucher, "Sök verifikat"},
    {CommandId::FindAccount, "Ta fram konto"},
};

} // namespace kv

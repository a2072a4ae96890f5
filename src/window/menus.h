#pragma once

// The window's menus and its tab strip as data, for whichever toolkit draws
// them: every caption (with its mnemonic as "&X"), object name, shortcut and
// command is written here once.

#include "session/session.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace kelvaro {

// A shortcut without a toolkit: modifiers and one key, a letter or digit
// ('A'..'Z', '0'..'9') or a function key (F1..F12).
struct KeyChord {
    enum Modifier : unsigned { Ctrl = 1, Shift = 2, Alt = 4 };
    unsigned Modifiers = 0;
    char Key = 0;        // 0: a function key or none
    int FunctionKey = 0; // 1..12; 0: none

    bool Empty() const { return Key == 0 && FunctionKey == 0; }
    bool operator==(const KeyChord&) const = default;
};

// What choosing an entry does: run its command, close the window (which asks
// the exit question), or nothing (an entry shown but not offered).
enum class MenuAct { Run, CloseWindow, Off };

enum class MenuId { File, ReadMe, Help };
inline constexpr std::size_t MenuCount = 3;

// One entry of a menu: a command, a submenu (which gives the entry its caption
// and name), or (without a caption) a separator.
struct MenuItem {
    std::string_view Caption;
    std::string_view Name;
    KeyChord Shortcut{};
    void (*Command)(Session&) = nullptr;
    MenuAct Does = MenuAct::Run;
    // The submenu this entry opens, when it opens one.
    const MenuId* Submenu = nullptr;

    bool Separator() const { return Caption.empty() && Submenu == nullptr; }
    bool Enabled() const { return Does != MenuAct::Off; }
};

struct MenuDescription {
    MenuId Id;
    std::string_view Caption;
    std::string_view Name;
    bool OnMenuBar; // false: reached only as a submenu
    std::span<const MenuItem> Items;
};

// The menus, those on the menu bar in the bar's order.
std::span<const MenuDescription> WindowMenus();
const MenuDescription& MenuOf(MenuId id);

// The letter a caption's "&" marks (upper case), or 0.
char Mnemonic(std::string_view caption);

// The tab strip and its eight pages, in tab order.
struct TabDescription {
    std::string_view Caption;
    std::string_view Name;
};
inline constexpr std::string_view TabStripName = "TabSheet";
// The tab strip takes the keyboard and says the page shown; it is named so.
inline constexpr std::string_view TabStripSpokenName = "ページ";
std::span<const TabDescription, PageCount> WindowTabs();

// The window itself.
inline constexpr std::string_view WindowName = "ReadMeForm";

} // namespace kelvaro

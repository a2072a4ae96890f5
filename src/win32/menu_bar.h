#pragma once

// The menu bar and its accelerator table, both made from the core's menu
// table: every caption, mnemonic, shortcut and command comes from there. Each
// entry that does something gets a command id of its own, and the id leads
// back to the entry.

#include "window/menus.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace kelvaro::win32 {

// The first command id the menus use; the pages' controls number below it.
inline constexpr UINT FirstMenuCommand = 0x7000;

// "Ctrl+N", "F1": what a menu shows right of a caption; empty for none.
std::wstring ShortcutText(const KeyChord& chord);
// The accelerator a chord stands for (fVirt and key); false for none.
bool AcceleratorOf(const KeyChord& chord, ACCEL& accel);

class MenuBar {
public:
    MenuBar();
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Handed to the window, which then owns it.
    HMENU TakeBar();
    HACCEL Accelerators() const { return accelerators_; }

    // The entry command `id` stands for; null for an id of no entry.
    const MenuItem* ItemOf(UINT id) const;
    // The id of the entry named `name`; 0 for none.
    UINT IdOf(std::string_view name) const;

private:
    HMENU Build(const MenuDescription& menu);

    HMENU bar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<const MenuItem*> items_;
    std::vector<ACCEL> accels_;
};

} // namespace kelvaro::win32

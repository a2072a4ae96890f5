#include "win32/menu_bar.h"

#include "win32/wide_text.h"

namespace kelvaro::win32 {

std::wstring ShortcutText(const KeyChord& chord) {
    if (chord.Empty()) {
        return {};
    }
    std::wstring text;
    if ((chord.Modifiers & KeyChord::Ctrl) != 0) {
        text += L"Ctrl+";
    }
    if ((chord.Modifiers & KeyChord::Shift) != 0) {
        text += L"Shift+";
    }
    if ((chord.Modifiers & KeyChord::Alt) != 0) {
        text += L"Alt+";
    }
    if (chord.Key != 0) {
        text += static_cast<wchar_t>(chord.Key);
    } else {
        text += L"F" + std::to_wstring(chord.FunctionKey);
    }
    return text;
}

bool AcceleratorOf(const KeyChord& chord, ACCEL& accel) {
    if (chord.Empty()) {
        return false;
    }
    accel.fVirt = FVIRTKEY;
    if ((chord.Modifiers & KeyChord::Ctrl) != 0) {
        accel.fVirt |= FCONTROL;
    }
    if ((chord.Modifiers & KeyChord::Shift) != 0) {
        accel.fVirt |= FSHIFT;
    }
    if ((chord.Modifiers & KeyChord::Alt) != 0) {
        accel.fVirt |= FALT;
    }
    // Letters and digits are their own virtual-key codes.
    accel.key = chord.Key != 0 ? static_cast<WORD>(chord.Key)
                               : static_cast<WORD>(VK_F1 + chord.FunctionKey - 1);
    return true;
}

MenuBar::MenuBar() {
    bar_ = CreateMenu();
    for (const MenuDescription& menu : WindowMenus()) {
        if (menu.OnMenuBar) {
            AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(menu)),
                        Widen(menu.Caption).c_str());
        }
    }
    accelerators_ = CreateAcceleratorTableW(accels_.data(), static_cast<int>(accels_.size()));
}

MenuBar::~MenuBar() {
    if (bar_ != nullptr) {
        DestroyMenu(bar_);
    }
    DestroyAcceleratorTable(accelerators_);
}

HMENU MenuBar::TakeBar() {
    HMENU bar = bar_;
    bar_ = nullptr;
    return bar;
}

HMENU MenuBar::Build(const MenuDescription& menu) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : menu.Items) {
        if (item.Submenu != nullptr) {
            const MenuDescription& sub = MenuOf(*item.Submenu);
            AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(sub)),
                        Widen(sub.Caption).c_str());
        } else if (item.Separator()) {
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            const UINT id = FirstMenuCommand + static_cast<UINT>(items_.size());
            items_.push_back(&item);
            std::wstring caption = Widen(item.Caption);
            const std::wstring shortcut = ShortcutText(item.Shortcut);
            if (!shortcut.empty()) {
                caption += L'\t' + shortcut;
            }
            AppendMenuW(popup, MF_STRING | (item.Enabled() ? MF_ENABLED : MF_GRAYED), id,
                        caption.c_str());
            ACCEL accel{};
            // A shortcut of an entry not offered does nothing either.
            if (item.Enabled() && AcceleratorOf(item.Shortcut, accel)) {
                accel.cmd = static_cast<WORD>(id);
                accels_.push_back(accel);
            }
        }
    }
    return popup;
}

const MenuItem* MenuBar::ItemOf(UINT id) const {
    if (id < FirstMenuCommand || id - FirstMenuCommand >= items_.size()) {
        return nullptr;
    }
    return items_[id - FirstMenuCommand];
}

UINT MenuBar::IdOf(std::string_view name) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->Name == name) {
            return FirstMenuCommand + static_cast<UINT>(i);
        }
    }
    return 0;
}

} // namespace kelvaro::win32

#include "win32/dialog_answerer.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace kelvaro::win32::testing {
namespace {

thread_local DialogAnswerer* current = nullptr;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool IsPushButton(HWND window) {
    if (_wcsicmp(ClassOf(window).c_str(), L"Button") != 0) {
        return false;
    }
    const LONG_PTR kind = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

BOOL CALLBACK Collect(HWND child, LPARAM data) {
    auto* seen = reinterpret_cast<SeenDialog*>(data);
    if (IsPushButton(child)) {
        seen->Buttons.push_back(DialogAnswerer::TextOf(child));
        if ((GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            seen->DefaultId = GetDlgCtrlID(child);
        }
    } else {
        seen->Texts.push_back(DialogAnswerer::TextOf(child));
    }
    return TRUE;
}

} // namespace

DialogAnswerer::DialogAnswerer(std::function<void(HWND)> answer) : answer_(std::move(answer)) {
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, &DialogAnswerer::Hook, nullptr, GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer() {
    UnhookWindowsHookEx(hook_);
    current = nullptr;
}

void DialogAnswerer::Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring DialogAnswerer::TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The dialog is looked at and answered from a timer of the dialog's own loop,
// once it has finished setting itself up: at activation its boxes may not yet
// hold what they will show, and the focus is not yet on the default button.
void CALLBACK DialogAnswerer::Answer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto* self = current;
    if (self == nullptr || self->pending_ == nullptr) {
        return;
    }
    const HWND dialog = std::exchange(self->pending_, nullptr);
    SeenDialog seen;
    seen.Caption = TextOf(dialog);
    EnumChildWindows(dialog, Collect, reinterpret_cast<LPARAM>(&seen));
    if (const HWND focus = GetFocus(); focus != nullptr && IsPushButton(focus)) {
        seen.DefaultId = GetDlgCtrlID(focus);
    }
    self->seen_.push_back(std::move(seen));
    self->answer_(dialog);
}

LRESULT CALLBACK DialogAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    auto* self = current;
    const auto dialog = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && self != nullptr && ClassOf(dialog) == L"#32770" &&
        std::find(self->answered_.begin(), self->answered_.end(), dialog) ==
            self->answered_.end()) {
        self->answered_.push_back(dialog);
        self->pending_ = dialog;
        SetTimer(nullptr, 0, 50, &DialogAnswerer::Answer);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace kelvaro::win32::testing

// Long work while the window waits: the work runs on a thread of its own, the
// window's thread keeps dispatching messages so that every window still
// paints, and the program's window is disabled meanwhile, so it takes no input.

#include "platform/app_info.h"
#include "win32/wide_text.h"
#include "win32/win32_host.h"
#include "win32/window_fonts.h"

#include <commctrl.h>

namespace kelvaro::win32 {
namespace {

DWORD WINAPI RunWork(LPVOID work) {
    // RunBusyWork's work throws nothing: a failure comes back as its result.
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

// The note shown while the work runs: the caption over a moving bar in a small
// captioned window over the owner. It has no close button and the loop below
// gives it no input, so it stays until the work has ended. Its children take
// the system's message font, which the note deletes with itself.
class BusyNote {
public:
    BusyNote(HWND owner, const std::wstring& caption) {
        const UINT dpi = owner != nullptr ? GetDpiForWindow(owner) : GetDpiForSystem();
        const auto px = [dpi](int points) { return MulDiv(points, static_cast<int>(dpi), 96); };
        const DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
        RECT frame{0, 0, px(360), px(84)};
        AdjustWindowRectExForDpi(&frame, style, FALSE, WS_EX_DLGMODALFRAME, dpi);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        RECT over{};
        if (owner == nullptr || !GetWindowRect(owner, &over)) {
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
        }
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        note_ = CreateWindowExW(WS_EX_DLGMODALFRAME, L"STATIC",
                                Widen(AppInfoString(AppInfo::ProductAndVersion)).c_str(), style,
                                (over.left + over.right - width) / 2,
                                (over.top + over.bottom - height) / 2, width, height, owner,
                                nullptr, instance, nullptr);
        if (note_ == nullptr) {
            return;
        }
        font_ = OwnedFont(UiLogFont(dpi));
        const HWND text =
            CreateWindowExW(0, L"STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, px(16),
                            px(14), px(328), px(24), note_, nullptr, instance, nullptr);
        const HWND bar =
            CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | PBS_MARQUEE,
                            px(16), px(46), px(328), px(18), note_, nullptr, instance, nullptr);
        SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
        ShowWindow(note_, SW_SHOWNORMAL);
        UpdateWindow(note_);
    }
    ~BusyNote() {
        if (note_ != nullptr) {
            DestroyWindow(note_);
        }
    }
    BusyNote(const BusyNote&) = delete;
    BusyNote& operator=(const BusyNote&) = delete;

private:
    HWND note_ = nullptr;
    OwnedFont font_;
};

// Keyboard and mouse input, which nothing may act on while the work runs.
bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

} // namespace

void Win32Host::RunBusy(const std::string& caption, const std::function<void()>& work) {
    HANDLE thread =
        CreateThread(nullptr, 0, RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    if (thread == nullptr) {
        // No thread to be had: the work runs here and the window waits unpainted.
        work();
        return;
    }
    const bool ownerWasEnabled = owner_ != nullptr && IsWindowEnabled(owner_) != FALSE;
    {
        const BusyNote note(owner_, Widen(caption));
        if (ownerWasEnabled) {
            EnableWindow(owner_, FALSE);
        }
        bool quit = false;
        WPARAM quitCode = 0;
        while (MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_ALLINPUT,
                                           MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    // Kept for the program's own loop once the work has ended.
                    quit = true;
                    quitCode = msg.wParam;
                } else if (!IsInput(msg.message)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
        }
        // The owner is enabled again before the note goes, so that the system
        // hands the activation back to it rather than to another program.
        if (ownerWasEnabled) {
            EnableWindow(owner_, TRUE);
        }
        if (quit) {
            PostQuitMessage(static_cast<int>(quitCode));
        }
    }
    CloseHandle(thread);
}

} // namespace kelvaro::win32

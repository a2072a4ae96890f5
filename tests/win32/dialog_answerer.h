#pragma once

// Answers the real system dialogs a test opens, as a user would: a hook on the
// test's own thread sees each dialog window as it is activated, records what it
// shows, then lets the test act on it once (press a button, type a name).

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kelvaro::win32::testing {

struct SeenDialog {
    std::wstring Caption;
    std::vector<std::wstring> Buttons; // the push buttons' captions, in Z order
    std::vector<std::wstring> Texts;   // every other child's text
    int DefaultId = 0;                 // the button that has the focus
};

class DialogAnswerer {
public:
    explicit DialogAnswerer(std::function<void(HWND)> answer);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    const std::vector<SeenDialog>& Seen() const { return seen_; }

    // Helpers for answers.
    static void Press(HWND dialog, int id);
    static std::wstring TextOf(HWND window);

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Answer(HWND, UINT, UINT_PTR timer, DWORD);

    std::function<void(HWND)> answer_;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> answered_;
    HWND pending_ = nullptr;
    HHOOK hook_ = nullptr;
};

} // namespace kelvaro::win32::testing

#pragma once

// The Host on Windows: the system's own message boxes, common dialogs, font
// dialog, clipboard and document opener, owned by the program's main window.
// Kelvaro is a Japanese program, so its questions read はい / いいえ on an English
// Windows too: the boxes are task dialogs with buttons of our own wording.

#include "host/host.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace kelvaro::win32 {

// The parts of a request that become plain Windows values, apart so that they
// can be checked without showing anything.

// "description|patterns|..." as the common dialogs take it: each part ended
// by a NUL and the whole by a second one; empty when there is no filter.
std::wstring FilterList(std::string_view filter);
DWORD FileDialogFlags(const FileDialogOptions& options);
// What goes into the dialog's name box: the last chosen file's name alone
// when a folder is asked for, else its whole path, which opens its folder.
std::wstring ProposedName(const FileDialogRequest& request);

// The button a box starts on and the answer a pressed button (or Escape, or a
// box that could not be shown, as an id the box does not have) stands for.
int DefaultButtonId(const MessageRequest& request);
MessageAnswer AnswerOfButton(int id, MessageButtons buttons);

// What the font dialog answered, read back into the core's terms.
FontChoice ChoiceOf(const LOGFONTW& font, int pointTenths, COLORREF colour,
                    const FontChoice& preset);

class Win32Host : public Host {
public:
    Win32Host() = default;
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    // The window that owns every box and dialog; null until it exists.
    void SetOwner(HWND owner) { owner_ = owner; }

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
    FontChoice ShowFontDialog(const FontChoice& preset) override;
    void SetClipboardText(const std::string& text) override;
    void OpenDocument(const std::string& pathOrAddress, const std::string& workingFolder) override;
    std::string TodayText() override;
    void RunBusy(const std::string& caption, const std::function<void()>& work) override;

private:
    HWND ClipboardOwner();

    HWND owner_ = nullptr;
    HWND clipboardWindow_ = nullptr;
};

} // namespace kelvaro::win32

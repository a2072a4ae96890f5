#pragma once

// Host is the one seam between the core and the outside world: message boxes,
// the shared common dialog, the font dialog, the clipboard, the desktop's
// document opener, today's date and long work done while the window waits. It only answers
// requests; what changed reaches the window through the session's change listener. The window
// implements it with Qt; tests implement it with a scripted fake that records every request.

#include <functional>
#include <optional>
#include <string>

namespace kelvaro {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Exclamation, Critical };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    std::string Text; // lines joined by CR LF, none after the last
    std::string Title;
    MessageButtons Buttons = MessageButtons::Ok;
    MessageIcon Icon = MessageIcon::None;
    MessageAnswer DefaultButton = MessageAnswer::Ok;
};

enum class FileDialogKind { Open, Save };

// Options of the shared common dialog that the core asks for.
struct FileDialogOptions {
    bool OverwritePrompt = false; // ask before replacing an existing file
    bool FileMustExist = false;   // the chosen file has to exist (open dialogs)
    bool PathMustExist = false;
    bool HideReadOnly = false;
};

struct FileDialogRequest {
    FileDialogKind Kind = FileDialogKind::Open;
    std::string Title;
    // "description|patterns|description|patterns", patterns separated by ';'
    std::string Filter;
    FileDialogOptions Options;
    std::string InitialFolder;    // empty: wherever the dialog likes
    std::string InitialFileName;  // the full path the last dialog chose, or empty
    std::string DefaultExtension; // without the dot; empty: none
};

struct FileDialogResult {
    std::string Path;      // the full path chosen
    std::string FileTitle; // the file name part alone
    // Which filter of the request was chosen when the dialog closed: 0 for the
    // first "description|patterns" pair (and for a request without filters).
    int FilterIndex = 0;
};

struct FontSpec {
    std::string Name = "ＭＳ ゴシック";
    double SizePoints = 9.0;
    bool Bold = false;
    bool Italic = false;
    bool Strikethrough = false;
    bool Underline = false;

    bool operator==(const FontSpec&) const = default;
};

struct Colour {
    int Red = 0;
    int Green = 0;
    int Blue = 0;

    bool operator==(const Colour&) const = default;
};

struct FontChoice {
    FontSpec Font;
    Colour TextColour;
    // Set once the user has picked a text colour, black included. Until then
    // the default black stands for "the desktop theme's text colour", so the
    // boxes stay readable on a dark theme and look as ever on a light one.
    bool ColourPicked = false;

    bool operator==(const FontChoice&) const = default;
};

// Whether the boxes' text is drawn in the theme's text colour: the colour is
// still the untouched default.
inline bool UsesThemeTextColour(const FontChoice& choice) {
    return !choice.ColourPicked && choice.TextColour == Colour{};
}

class Host {
public:
    virtual ~Host() = default;

    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;
    // nullopt when the user cancelled
    virtual std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) = 0;
    // Cancelling reports the preset back unchanged.
    virtual FontChoice ShowFontDialog(const FontChoice& preset) = 0;
    // Throws RuntimeError(ErrorNo::ClipboardOpen) when the clipboard cannot be used.
    virtual void SetClipboardText(const std::string& text) = 0;
    // Hands a document or web address to the desktop; does not wait, reports nothing.
    virtual void OpenDocument(const std::string& pathOrAddress,
                              const std::string& workingFolder) = 0;
    // Today's date in the user's short date format.
    virtual std::string TodayText() = 0;
    // Runs `work` and returns once it has ended, while the window keeps
    // painting and takes no input, under a busy note that says `caption`. The
    // work may run on another thread, so it touches nothing the window's
    // thread uses (no session, no widget) and throws nothing: RunBusyWork
    // (host/busy_work.h) carries its result and its failure back.
    virtual void RunBusy(const std::string& caption, const std::function<void()>& work) = 0;
};

} // namespace kelvaro

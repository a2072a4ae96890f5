#pragma once

// The state of the one window, held by the core: the form and its editor, the
// current form file, the window title, the boxes the commands fill, the font of
// the three large text boxes and the shared common dialog's remembered file
// name. Every command takes a Session; the window mirrors it into widgets and
// learns what changed through the session's one change listener.

#include "host/host.h"
#include "model/form_texts.h"
#include "model/workspace.h"
#include "platform/app_folders.h"
#include "platform/error.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The eight pages of the window, in tab order.
enum class Page { Lines = 0, LongTexts, Order, Other, Html, Preview, Options, TemplateViewer };
inline constexpr std::size_t PageCount = 8;

// What changed in the session, so the window refreshes only the controls that show it.
enum class Change {
    Form,        // any field of the form (values, names, settings, order)
    Order,       // the item order, its entries' texts or its selection
    Emphasis,    // the bold flags of the input controls
    LongText,    // the long-text editor's text or current item
    Preview,     // the preview box text or the preview mode
    Fonts,       // font and colour of the three large text boxes
    Templates,   // the template list or the template viewer
    Information, // the information box
    Title,       // the window title
};

using ChangeListener = std::function<void(Change)>;

struct Session {
    Session(Host& host, AppFolders folders);
    // Portable: everything beside the program.
    Session(Host& host, const std::string& programFolder);

    Host& host;
    Workspace ws;

    std::string ProgramFolder;     // the folder of the program, without a trailing separator
    std::string TemplateFolder;    // the template set, without a trailing separator
    std::string BrowserPageFolder; // where the browser preview page is written
    std::string GuidePath;         // the user guide

    std::string FormFilePath;  // full path of the current form file; empty: none
    std::string FormFileTitle; // its name without the folder
    std::string WindowTitle;

    Page CurrentPage = Page::Lines;
    std::string PreviewText;
    // The preview shows the Markdown instead of the form's preview mode. A view
    // of this session only: form files keep storing the form's mode (0 to 2).
    bool PreviewMarkdown = false;
    std::string TemplateText;              // the template viewer's box
    std::vector<std::string> TemplateList; // file names, in list order
    std::string InformationText;           // "OS : ..."

    // Font and text colour of PreviewText, Description and TemplateText: every
    // font command sets all three alike, so one value serves them.
    FontChoice BoxFont;

    // The shared common dialog's memory: the full path the last form or ReadMe
    // dialog chose. Each of those dialogs starts in its folder with its base
    // name, carrying the dialog's own extension.
    std::string DialogFileName;
    // What the template dialogs chose, which only they start from; until
    // they have chosen something they start from DialogFileName too.
    std::string TemplateDialogFileName;

    // The one listener (the window) told about every change a command makes.
    void SetChangeListener(ChangeListener listener) { listener_ = std::move(listener); }
    void Notify(Change what) const {
        ++EditCount;
        if (listener_) {
            listener_(what);
        }
    }

    // Counts the changes made to the session: every notice, and every edit the
    // window writes into the form directly (NoteFormEdited). Whoever needs to know
    // that something may have changed since it last looked (the recovery journal)
    // compares it with the count it saw then.
    mutable std::uint64_t EditCount = 0;

    // The form as it was last opened, saved or made new, and EditCount right
    // after: what HasUnsavedChanges (session/unsaved.h) compares with.
    Form CleanForm;
    std::uint64_t CleanEditCount = 0;
    // A form brought back from a recovery journal differs from every file
    // whatever it holds, until it is saved, opened anew or made new.
    bool ChangedRegardless = false;

private:
    ChangeListener listener_;
};

// The browser preview page, "BrowserSample.html".
std::string BrowserPagePath(const Session& s);

// What a file dialog chooses. The kind decides which memory the dialog starts
// from and keeps its choice in: every kind shares one, except that what a
// template dialog chose is remembered only by the template dialogs.
enum class FileKind { Form, TextReadMe, HtmlReadMe, Template };

// Shows a file dialog of the shared common dialog: proposes the remembered
// folder and base name with the extension of the request's first filter (after
// "krenamer.ref", a text dialog proposes "krenamer.txt"), and remembers what the
// user chose. Cancelling throws RuntimeError(ErrorNo::Cancelled).
FileDialogResult ShowSharedFileDialog(Session& s, FileKind kind, FileDialogRequest request);

// The same for a dialog with a name of its own ("README.md"): proposes
// `fileName` in the folder of the shared memory (or alone when nothing is
// remembered), and remembers what the user chose there.
FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName);

// The name a dialog proposes after `remembered` was chosen: its folder and base
// name with the extension of the first pattern of `filter` ("*.txt"); the
// remembered path itself when that pattern names no extension ("*.*").
std::string ProposedFileName(const std::string& remembered, const std::string& filter);

// The chosen file with `extension` (".ref", ".txt") added when its name does not
// already end with it, whatever the letter case. The dialog asked about the name
// as chosen, so an added name that exists is asked about here, No by default;
// nullopt when the user keeps the existing file.
std::optional<FileDialogResult> WithExtension(Session& s, FileDialogResult chosen,
                                              std::string_view extension);

// The three-line message for every failure that is not a cancelled dialog.
std::string UnexpectedErrorText(int errorNumber);

// The message of a failure: the three lines of UnexpectedErrorText and a fourth
// that names the file and the cause, "（/home/u/ReadMe.txt: ディスクの空き容量が
// 足りません）", or the cause alone when no file is concerned.
std::string FailureText(const RuntimeError& error);

// The one message box every command shows for a failure: "キャンセルされました。"
// for a cancelled dialog, FailureText otherwise.
void ReportFailure(Session& s, const RuntimeError& error);

// The number a failure that is not a RuntimeError is shown with.
int FailureNumber(const std::exception& error);
// That failure as a RuntimeError with its number and, for memory, its cause.
RuntimeError FailureFromException(const std::exception& error);

// Runs a command's work so that every failure ends in the one failure message
// and nothing escapes into the window's event loop.
template <typename Work> void RunReportingFailures(Session& s, Work&& work) {
    try {
        work();
    } catch (const RuntimeError& error) {
        ReportFailure(s, error);
    } catch (const std::exception& error) {
        ReportFailure(s, FailureFromException(error));
    }
}

// A plain information message titled with the product name and version.
void ShowInformation(Session& s, const std::string& text);

// Before writing a form file, a template or a text ReadMe in CP932: what the
// user chose about characters that CP932 would not give back unchanged.
enum class LossyWrite {
    NothingLost, // every character comes back as it is: write, nothing was asked
    Replace,     // the user agreed to write them replaced ("?", "\" for ¥, ...)
    DoNotWrite,  // the user said No (the default): write nothing
    WriteUtf8,   // the user chose to write UTF-8 instead, which keeps every character
};

// The first few such characters of the texts, a line each with its item
// ("・「作者名」の「¥」→「\」"), and "ほかにもあります。" when there are more;
// "" when every character comes back unchanged.
std::string LossyCharacterLines(const std::vector<NamedText>& texts);

// Asks, when any of the texts holds such characters, whether to write them
// replaced; the question names the first few and their items, and No is its
// default button.
LossyWrite AskBeforeLossyWrite(Session& s, const std::vector<NamedText>& texts);
// The same for a text composed of the named texts (a ReadMe): only characters
// of `written` count, and each is named by the first source that holds it.
LossyWrite AskBeforeLossyWrite(Session& s, std::string_view written,
                               const std::vector<NamedText>& sources);
// The question before a text ReadMe is written in CP932: it also offers to write
// the file as UTF-8 instead. はい replaces, いいえ writes UTF-8, キャンセル (the
// default) writes nothing.
LossyWrite AskBeforeLossyReadMe(Session& s, std::string_view written,
                                const std::vector<NamedText>& sources);

// The five-line message for a missing template folder.
void ShowTemplateFolderMissing(Session& s);

} // namespace kelvaro

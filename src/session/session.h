#pragma once

// The state of the one window, held by the core: the form and its editor, the
// current form file, the window title, the boxes the commands fill, the font of
// the three large text boxes and the shared common dialog's remembered file
// name. Every command takes a Session; the window mirrors it into widgets and
// learns what changed through the session's one change listener.

#include "host/host.h"
#include "model/workspace.h"
#include "platform/app_folders.h"
#include "platform/error.h"

#include <cstddef>
#include <exception>
#include <functional>
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

    // The shared common dialog's file name: each file dialog starts with the
    // full path the last one chose.
    std::string DialogFileName;

    // The one listener (the window) told about every change a command makes.
    void SetChangeListener(ChangeListener listener) { listener_ = std::move(listener); }
    void Notify(Change what) const {
        if (listener_) {
            listener_(what);
        }
    }

private:
    ChangeListener listener_;
};

// The browser preview page, "BrowserSample.html".
std::string BrowserPagePath(const Session& s);

// Shows a file dialog of the shared common dialog: starts it from the remembered
// file name and remembers what the user chose. Cancelling throws
// RuntimeError(ErrorNo::Cancelled).
FileDialogResult ShowSharedFileDialog(Session& s, FileDialogRequest request);

// The same, but proposing `fileName` in the folder of the remembered file (or
// alone when nothing is remembered) instead of the remembered file itself.
FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName);

// The three-line message for every failure that is not a cancelled dialog.
std::string UnexpectedErrorText(int errorNumber);

// The one message box every command shows for a failure: "キャンセルされました。"
// for a cancelled dialog, the three-line unexpected-error message otherwise.
void ReportFailure(Session& s, const RuntimeError& error);

// The number a failure that is not a RuntimeError is shown with.
int FailureNumber(const std::exception& error);

// Runs a command's work so that every failure ends in the one failure message
// and nothing escapes into the window's event loop.
template <typename Work> void RunReportingFailures(Session& s, Work&& work) {
    try {
        work();
    } catch (const RuntimeError& error) {
        ReportFailure(s, error);
    } catch (const std::exception& error) {
        ReportFailure(s, RuntimeError(FailureNumber(error)));
    }
}

// A plain information message titled with the product name and version.
void ShowInformation(Session& s, const std::string& text);

// Before writing a form file or template: when a text holds characters that
// CP932 cannot represent, asks whether to write them as "?". False: write nothing.
bool ConfirmUnrepresentable(Session& s, const std::vector<std::string_view>& texts);

// The five-line message for a missing template folder.
void ShowTemplateFolderMissing(Session& s);

} // namespace kelvaro

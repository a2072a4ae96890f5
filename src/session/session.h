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
#include "platform/file_stamp.h"

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
    // The current form file as this session last read or wrote it; nullopt
    // while there is none. 上書き保存 asks before replacing a file that changed.
    std::optional<FileStamp> FormFileStamp;
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

// A plain information message titled with the product name and version.
void ShowInformation(Session& s, const std::string& text);

// The five-line message for a missing template folder.
void ShowTemplateFolderMissing(Session& s);

} // namespace kelvaro

// The session's jobs, each in a header of its own.
#include "session/failure.h"
#include "session/file_dialog.h"
#include "session/lossy_question.h"

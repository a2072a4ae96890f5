#pragma once

// The state of the one window, held by the core: the form and its editor, the
// current form file, the window title, the boxes the commands fill, the font of
// the three large text boxes and the shared common dialog's remembered file
// name. Every command takes a Session; the window mirrors it into widgets and
// is told what changed through Host::Changed.

#include "host/host.h"
#include "model/workspace.h"
#include "platform/error.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The eight pages of the window, in tab order.
enum class Page { Lines = 0, LongTexts, Order, Other, Html, Preview, Options, TemplateViewer };

struct Session {
    Session(Host& host, std::string programFolder);

    Host& host;
    Workspace ws;

    std::string ProgramFolder;  // the folder of the program, without a trailing separator
    std::string TemplateFolder; // ProgramFolder + "/Templates", without a trailing separator

    std::string FormFilePath;  // full path of the current form file; empty: none
    std::string FormFileTitle; // its name without the folder
    std::string WindowTitle;

    Page CurrentPage = Page::Lines;
    std::string PreviewText;
    std::string TemplateText;              // the template viewer's box
    std::vector<std::string> TemplateList; // file names, in list order
    std::string InformationText;           // "OS : ..."

    // Font and text colour of PreviewText, Description and TemplateText: every
    // font command sets all three alike, so one value serves them.
    FontChoice BoxFont;

    // The shared common dialog's file name: each file dialog starts with the
    // full path the last one chose.
    std::string DialogFileName;

    void Notify(Change what) { host.Changed(what); }
};

// Shows a file dialog of the shared common dialog: starts it from the remembered
// file name and remembers what the user chose. Cancelling throws
// RuntimeError(ErrorNo::Cancelled).
FileDialogResult ShowSharedFileDialog(Session& s, FileDialogRequest request);

// The one message box every command shows for a failure: "キャンセルされました。"
// for a cancelled dialog, the three-line unexpected-error message otherwise.
void ReportFailure(Session& s, const RuntimeError& error);

// A plain information message titled with the product name and version.
void ShowInformation(Session& s, const std::string& text);

// Before writing a form file or template: when a text holds characters that
// CP932 cannot represent, asks whether to write them as "?". False: write nothing.
bool ConfirmUnrepresentable(Session& s, const std::vector<std::string_view>& texts);

// The five-line message for a missing template folder.
void ShowTemplateFolderMissing(Session& s);

} // namespace kelvaro

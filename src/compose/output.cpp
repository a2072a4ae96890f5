#include "compose/output.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"

#include <string>

namespace kelvaro {
namespace {

constexpr const char* kSaveDialogTitle = "ReadMeファイルの出力先指定";
constexpr const char* kTextFilter = "テキストファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*";
// "*htm" without its dot is how the description has always read; the pattern
// itself is right.
constexpr const char* kHtmlFilter =
    "HTMLファイル (*.html, *htm)|*.html;*.htm|すべてのファイル (*.*)|*.*";

// The save dialog of the two file modes. No default extension: a name typed
// without one is written exactly as typed.
std::string AskDestination(Session& s, bool isHtml) {
    FileDialogRequest request;
    request.Kind = FileDialogKind::Save;
    request.Title = kSaveDialogTitle;
    request.Filter = isHtml ? kHtmlFilter : kTextFilter;
    request.Options.OverwritePrompt = true;
    request.Options.HideReadOnly = true;
    return ShowSharedFileDialog(s, request).Path;
}

ReadMeFormat FormatOf(bool isHtml) {
    return isHtml ? ReadMeFormat::Html : ReadMeFormat::Text;
}

// Unknown keys are told at once, in order, while the composer walks on.
std::string Compose(Session& s, bool isHtml) {
    return ComposeReadMe(
        s.ws.form, FormatOf(isHtml), [&s](std::size_t position, const std::string& key) {
            s.host.ShowMessage(MessageRequest{
                UnknownKeyMessage(position, key), AppInfoString(AppInfo::ProductName),
                MessageButtons::Ok, MessageIcon::None, MessageAnswer::Ok});
        });
}

void WriteBrowserPage(Session& s, const std::string& composed) {
    const std::string path = BrowserPagePath(s);
    WriteFileReplacing(path, ReadMeFileBytes(composed, ReadMeFormat::Html));
    // Whether the desktop could open it is its own business: nothing is reported.
    s.host.OpenDocument(path, s.BrowserPageFolder);
}

void Produce(Session& s, OutputMode mode) {
    CommitLongText(s.ws);
    const bool isHtml = IsHtmlMode(mode);

    std::string destination;
    if (mode == OutputMode::TextFile || mode == OutputMode::HtmlFile) {
        destination = AskDestination(s, isHtml);
    }

    const std::string composed = Compose(s, isHtml);

    switch (mode) {
    case OutputMode::TextFile:
    case OutputMode::HtmlFile:
        WriteFileReplacing(destination, ReadMeFileBytes(composed, FormatOf(isHtml)));
        break;
    case OutputMode::TextPreview:
    case OutputMode::HtmlPreview:
        s.PreviewText = composed;
        s.Notify(Change::Preview);
        break;
    case OutputMode::TextClipboard:
    case OutputMode::HtmlClipboard:
        s.host.SetClipboardText(composed);
        ShowInformation(s, "クリップボードへの出力が完了しました。");
        break;
    case OutputMode::HtmlBrowser:
        WriteBrowserPage(s, composed);
        break;
    }
}

} // namespace

bool IsHtmlMode(OutputMode mode) {
    switch (mode) {
    case OutputMode::HtmlFile:
    case OutputMode::HtmlPreview:
    case OutputMode::HtmlClipboard:
    case OutputMode::HtmlBrowser:
        return true;
    case OutputMode::TextFile:
    case OutputMode::TextPreview:
    case OutputMode::TextClipboard:
        return false;
    }
    return false;
}

void GenerateReadMe(Session& s, OutputMode mode) {
    // Every step either finishes or throws before anything is delivered, so one
    // report here is all the caller needs: it never sees a failure.
    RunReportingFailures(s, [&] { Produce(s, mode); });
}

void RefreshPreview(Session& s) {
    switch (s.ws.form.PreviewMode) {
    case 0:
        GenerateReadMe(s, OutputMode::TextPreview);
        break;
    case 1:
        GenerateReadMe(s, OutputMode::HtmlPreview);
        break;
    case 2:
        // The browser shows the page; the box goes back to the source, also when
        // the page could not be written (its failure message has been shown).
        GenerateReadMe(s, OutputMode::HtmlBrowser);
        SelectPreviewMode(s, 1);
        break;
    default:
        // A form file may leave no option selected: nothing to refresh for.
        break;
    }
}

void SelectPreviewMode(Session& s, int mode) {
    if (mode < 0 || mode > 2) {
        return;
    }
    s.ws.form.PreviewMode = mode;
    s.Notify(Change::Preview);
    RefreshPreview(s);
}

} // namespace kelvaro

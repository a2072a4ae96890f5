#include "compose/output.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"

#include <string>

namespace kelvaro {
namespace {

constexpr const char* kSaveDialogTitle = "ReadMeファイルの出力先指定";
// The first filter of each dialog is the one it opens with and writes what the
// program has always written; the second is the UTF-8 variant.
constexpr const char* kTextFilter = "テキストファイル (*.txt)|*.txt|"
                                    "テキストファイル UTF-8 (*.txt)|*.txt|"
                                    "すべてのファイル (*.*)|*.*";
// "*htm" without its dot is how the description has always read; the pattern
// itself is right.
constexpr const char* kHtmlFilter = "HTMLファイル (*.html, *htm)|*.html;*.htm|"
                                    "HTMLファイル UTF-8・HTML5 (*.html)|*.html|"
                                    "すべてのファイル (*.*)|*.*";
constexpr const char* kMarkdownFilter = "Markdownファイル (*.md)|*.md|すべてのファイル (*.*)|*.*";
constexpr int kUtf8Filter = 1;

// What a mode composes, and in which encoding a file of it is written.
struct Output {
    ReadMeFormat Format = ReadMeFormat::Text;
    ReadMeEncoding Encoding = ReadMeEncoding::Cp932;
    std::string Destination; // the file modes: the path the dialog chose
};

ReadMeFormat FormatOf(OutputMode mode) {
    switch (mode) {
    case OutputMode::TextFile:
    case OutputMode::TextPreview:
    case OutputMode::TextClipboard:
        return ReadMeFormat::Text;
    case OutputMode::HtmlFile:
    case OutputMode::HtmlPreview:
    case OutputMode::HtmlClipboard:
    case OutputMode::HtmlBrowser:
        return ReadMeFormat::Html;
    case OutputMode::MarkdownFile:
    case OutputMode::MarkdownPreview:
    case OutputMode::MarkdownClipboard:
        return ReadMeFormat::Markdown;
    case OutputMode::Html5Clipboard:
    case OutputMode::Html5Browser:
        return ReadMeFormat::Html5;
    }
    return ReadMeFormat::Text;
}

bool IsFileMode(OutputMode mode) {
    return mode == OutputMode::TextFile || mode == OutputMode::HtmlFile ||
           mode == OutputMode::MarkdownFile;
}

// The save dialog of the file modes. No default extension: a name typed
// without one is written exactly as typed.
Output AskDestination(Session& s, OutputMode mode) {
    FileDialogRequest request;
    request.Kind = FileDialogKind::Save;
    request.Title = kSaveDialogTitle;
    request.Options.OverwritePrompt = true;
    request.Options.HideReadOnly = true;
    Output output{FormatOf(mode), FileEncoding(FormatOf(mode), ReadMeEncoding::Cp932), {}};
    if (mode == OutputMode::MarkdownFile) {
        request.Filter = kMarkdownFilter;
        output.Destination = ShowSharedFileDialogProposing(s, request, "README.md").Path;
        return output;
    }
    request.Filter = mode == OutputMode::HtmlFile ? kHtmlFilter : kTextFilter;
    const FileDialogResult chosen = ShowSharedFileDialog(
        s, mode == OutputMode::HtmlFile ? FileKind::HtmlReadMe : FileKind::TextReadMe, request);
    output.Destination = chosen.Path;
    if (chosen.FilterIndex == kUtf8Filter) {
        output.Format = mode == OutputMode::HtmlFile ? ReadMeFormat::Html5 : ReadMeFormat::Text;
        output.Encoding = ReadMeEncoding::Utf8;
    }
    return output;
}

// Unknown keys are told at once, in order, while the composer walks on.
std::string Compose(Session& s, ReadMeFormat format) {
    return ComposeReadMe(s.ws.form, format, [&s](std::size_t position, const std::string& key) {
        s.host.ShowMessage(MessageRequest{UnknownKeyMessage(position, key),
                                          AppInfoString(AppInfo::ProductName), MessageButtons::Ok,
                                          MessageIcon::None, MessageAnswer::Ok});
    });
}

// Both pages use the one browser page, so whatever removes it removes either.
void WriteBrowserPage(Session& s, const std::string& composed, ReadMeFormat format) {
    const std::string path = BrowserPagePath(s);
    // The program names this file itself: it is written only into a private
    // folder, and whatever stands at its name is replaced, never followed.
    WriteOwnFile(s.BrowserPageFolder, FileName(path), ReadMeFileBytes(composed, format));
    // Whether the desktop could open it is its own business: nothing is reported.
    s.host.OpenDocument(path, s.BrowserPageFolder);
}

void Produce(Session& s, OutputMode mode) {
    CommitLongText(s.ws);
    const Output output =
        IsFileMode(mode) ? AskDestination(s, mode) : Output{FormatOf(mode), {}, {}};

    const std::string composed = Compose(s, output.Format);

    switch (mode) {
    case OutputMode::TextFile:
    case OutputMode::HtmlFile:
    case OutputMode::MarkdownFile: {
        // A page in CP932 writes numeric references and loses nothing; text in
        // CP932 would write replacements, which the user is asked about first,
        // with UTF-8 offered instead.
        ReadMeEncoding encoding = output.Encoding;
        if (encoding == ReadMeEncoding::Cp932 && output.Format != ReadMeFormat::Html) {
            const LossyWrite answer = AskBeforeLossyReadMe(s, composed, NamedFormTexts(s.ws.form));
            if (answer == LossyWrite::DoNotWrite) {
                break;
            }
            if (answer == LossyWrite::WriteUtf8) {
                encoding = ReadMeEncoding::Utf8;
            }
        }
        WriteFileReplacing(output.Destination, ReadMeFileBytes(composed, output.Format, encoding));
        break;
    }
    case OutputMode::TextPreview:
    case OutputMode::HtmlPreview:
    case OutputMode::MarkdownPreview:
        s.PreviewText = composed;
        s.Notify(Change::Preview);
        break;
    case OutputMode::TextClipboard:
    case OutputMode::HtmlClipboard:
    case OutputMode::MarkdownClipboard:
    case OutputMode::Html5Clipboard:
        s.host.SetClipboardText(composed);
        ShowInformation(s, "クリップボードへの出力が完了しました。");
        break;
    case OutputMode::HtmlBrowser:
    case OutputMode::Html5Browser:
        WriteBrowserPage(s, composed, output.Format);
        break;
    }
}

} // namespace

bool IsHtmlMode(OutputMode mode) {
    return FormatOf(mode) == ReadMeFormat::Html;
}

void GenerateReadMe(Session& s, OutputMode mode) {
    // Every step either finishes or throws before anything is delivered, so one
    // report here is all the caller needs: it never sees a failure.
    RunReportingFailures(s, [&] { Produce(s, mode); });
}

int PreviewOption(const Session& s) {
    return s.PreviewMarkdown ? MarkdownPreviewOption : s.ws.form.PreviewMode;
}

void RefreshPreview(Session& s) {
    if (s.PreviewMarkdown) {
        GenerateReadMe(s, OutputMode::MarkdownPreview);
        return;
    }
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
    if (mode < 0 || mode >= static_cast<int>(PreviewOptionCount)) {
        return;
    }
    s.PreviewMarkdown = mode == MarkdownPreviewOption;
    if (!s.PreviewMarkdown) {
        s.ws.form.PreviewMode = mode;
    }
    s.Notify(Change::Preview);
    RefreshPreview(s);
}

} // namespace kelvaro

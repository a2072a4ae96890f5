#include "compose/output.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"

#include <optional>
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

// What a file output composes, and in which encoding it is written.
struct Output {
    ReadMeFormat Format = ReadMeFormat::Text;
    ReadMeEncoding Encoding = ReadMeEncoding::Cp932;
    std::string Destination; // the path the dialog chose
};

// The save dialog of each format: its filters, the kind whose folder and name
// it remembers (none: it proposes `ProposedName`), and what its UTF-8 filter
// writes.
struct SaveDialog {
    const char* Filter;
    std::optional<FileKind> Kind;
    const char* ProposedName;
    ReadMeFormat Utf8Format;
};

SaveDialog SaveDialogOf(ReadMeFormat format) {
    switch (format) {
    case ReadMeFormat::Text:
        return {kTextFilter, FileKind::TextReadMe, nullptr, ReadMeFormat::Text};
    case ReadMeFormat::Html:
    case ReadMeFormat::Html5:
        return {kHtmlFilter, FileKind::HtmlReadMe, nullptr, ReadMeFormat::Html5};
    case ReadMeFormat::Markdown:
        return {kMarkdownFilter, std::nullopt, "README.md", ReadMeFormat::Markdown};
    }
    return {kTextFilter, FileKind::TextReadMe, nullptr, ReadMeFormat::Text};
}

// The save dialog of the file outputs. No default extension: a name typed
// without one is written exactly as typed.
Output AskDestination(Session& s, ReadMeFormat format) {
    FileDialogRequest request;
    request.Kind = FileDialogKind::Save;
    request.Title = kSaveDialogTitle;
    request.Options.OverwritePrompt = true;
    request.Options.HideReadOnly = true;
    const SaveDialog dialog = SaveDialogOf(format);
    request.Filter = dialog.Filter;
    Output output{format, FileEncoding(format, ReadMeEncoding::Cp932), {}};
    if (!dialog.Kind) {
        output.Destination = ShowSharedFileDialogProposing(s, request, dialog.ProposedName).Path;
        return output;
    }
    const FileDialogResult chosen = ShowSharedFileDialog(s, *dialog.Kind, request);
    output.Destination = chosen.Path;
    if (chosen.FilterIndex == kUtf8Filter) {
        output.Format = dialog.Utf8Format;
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

// A page in CP932 writes numeric references and loses nothing; text in CP932
// would write replacements, which the user is asked about first, with UTF-8
// offered instead.
void WriteReadMeFile(Session& s, ReadMeFormat asked) {
    const Output output = AskDestination(s, asked);
    const std::string composed = Compose(s, output.Format);
    ReadMeEncoding encoding = output.Encoding;
    if (encoding == ReadMeEncoding::Cp932 && output.Format != ReadMeFormat::Html) {
        const LossyWrite answer = AskBeforeLossyReadMe(s, composed, NamedFormTexts(s.ws.form));
        if (answer == LossyWrite::DoNotWrite) {
            return;
        }
        if (answer == LossyWrite::WriteUtf8) {
            encoding = ReadMeEncoding::Utf8;
        }
    }
    WriteFileReplacing(output.Destination, ReadMeFileBytes(composed, output.Format, encoding));
}

void Produce(Session& s, OutputMode mode) {
    CommitLongText(s.ws);
    switch (mode.Destination) {
    case OutputDestination::File:
        WriteReadMeFile(s, mode.Format);
        break;
    case OutputDestination::Preview:
        s.PreviewText = Compose(s, mode.Format);
        s.Notify(Change::Preview);
        break;
    case OutputDestination::Clipboard:
        s.host.SetClipboardText(Compose(s, mode.Format));
        ShowInformation(s, "クリップボードへの出力が完了しました。");
        break;
    case OutputDestination::Browser:
        WriteBrowserPage(s, Compose(s, mode.Format), mode.Format);
        break;
    }
}

} // namespace

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
        GenerateReadMe(s, {ReadMeFormat::Markdown, OutputDestination::Preview});
        return;
    }
    switch (s.ws.form.PreviewMode) {
    case 0:
        GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Preview});
        break;
    case 1:
        GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::Preview});
        break;
    case 2:
        // The browser shows the page; the box goes back to the source, also when
        // the page could not be written (its failure message has been shown).
        GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::Browser});
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

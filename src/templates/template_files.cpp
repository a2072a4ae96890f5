#include "templates/template_files.h"

#include "platform/cp932.h"
#include "platform/file_io.h"
#include "templates/template_text_internal.h"

#include <optional>
#include <utility>

namespace kelvaro {
namespace {

// Both dialogs start in the template folder with the template last chosen:
// template dialogs remember their own choices, apart from the form and ReadMe
// dialogs, so neither proposes a file of the other's kind.
FileDialogRequest TemplateDialog(FileDialogKind kind) {
    FileDialogRequest request;
    request.Kind = kind;
    request.Filter = "テンプレート (*.txt)|*.txt|すべてのファイル (*.*)|*.*";
    request.Options.HideReadOnly = true;
    if (kind == FileDialogKind::Open) {
        request.Title = "読み込むテンプレートの指定";
        request.Options.FileMustExist = true;
    } else {
        request.Title = "テンプレートの出力先指定";
        request.Options.OverwritePrompt = true;
    }
    return request;
}

bool EndsWithLineEnd(const std::string& text) {
    return text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

} // namespace

void LoadTemplate(Session& s) {
    RunReportingFailures(s, [&] {
        // A file named Templates passes too: only a missing name is refused here,
        // and the dialog deals with the rest.
        if (!PathExists(s.TemplateFolder)) {
            ShowTemplateFolderMissing(s);
            return;
        }
        FileDialogRequest request = TemplateDialog(FileDialogKind::Open);
        request.InitialFolder = s.TemplateFolder;
        FileDialogResult chosen = ShowSharedFileDialog(s, FileKind::Template, std::move(request));
        // The editor is replaced only once the file has been read whole, so a
        // template that cannot be read does not cost the user the text in hand.
        std::string text = WithLineEnds(Cp932ToUtf8(ReadWholeFile(chosen.Path)));
        s.ws.EditorText = std::move(text);
        s.Notify(Change::LongText);
    });
}

void SaveTemplate(Session& s) {
    RunReportingFailures(s, [&] {
        if (!PathExists(s.TemplateFolder)) {
            ShowTemplateFolderMissing(s);
            return;
        }
        FileDialogRequest request = TemplateDialog(FileDialogKind::Save);
        request.InitialFolder = s.TemplateFolder;
        // Any folder will do; a name without ".txt" gets it, as the template list
        // shows only those.
        std::optional<FileDialogResult> chosen = WithExtension(
            s, ShowSharedFileDialog(s, FileKind::Template, std::move(request)), ".txt");
        if (!chosen) {
            return;
        }
        std::string text = s.ws.EditorText;
        if (AskBeforeLossyWrite(s, {NamedText{"テンプレート", text, false}},
                                Unmappable::Question) == LossyWrite::DoNotWrite) {
            return;
        }
        // Loading ends every line with CR LF, so adding one unconditionally would
        // make a template one empty line longer each time it is saved again.
        // An empty editor gives an empty file, which loads back as empty.
        if (!text.empty() && !EndsWithLineEnd(text)) {
            text += "\r\n";
        }
        WriteFileReplacing(chosen->Path, Utf8ToCp932(text, Unmappable::Question));
    });
}

} // namespace kelvaro

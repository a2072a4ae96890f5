#include "templates/template_files.h"

#include "platform/cp932.h"
#include "platform/file_io.h"
#include "templates/template_text_internal.h"

#include <utility>

namespace kelvaro {
namespace {

// Both dialogs start in the template folder; the file name is the shared
// dialog's, so the user comes back to whatever the last file dialog chose.
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
        FileDialogResult chosen = ShowSharedFileDialog(s, std::move(request));
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
        // The name is taken as chosen: no extension is added, any folder will do.
        FileDialogResult chosen = ShowSharedFileDialog(s, std::move(request));
        std::string text = s.ws.EditorText;
        if (!ConfirmUnrepresentable(s, {text})) {
            return;
        }
        // Loading ends every line with CR LF, so adding one unconditionally would
        // make a template one empty line longer each time it is saved again.
        // An empty editor gives an empty file, which loads back as empty.
        if (!text.empty() && !EndsWithLineEnd(text)) {
            text += "\r\n";
        }
        WriteFileReplacing(chosen.Path, Utf8ToCp932(text, Unmappable::Question));
    });
}

} // namespace kelvaro

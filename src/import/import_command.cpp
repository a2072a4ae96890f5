#include "import/import_command.h"

#include "files/lifecycle.h"
#include "host/busy_work.h"
#include "import/readme_import.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "session/unsaved.h"

namespace kelvaro {
namespace {

FileDialogRequest ImportDialog() {
    FileDialogRequest request;
    request.Kind = FileDialogKind::Open;
    request.Title = AppInfoString(AppInfo::ProductName) + "ReadMeファイルの読み込み元指定";
    request.Filter = "ReadMeファイル (*.txt;*.md;*.html;*.htm)|*.txt;*.md;*.html;*.htm|"
                     "すべてのファイル (*.*)|*.*";
    request.Options.HideReadOnly = true;
    request.Options.FileMustExist = true;
    return request;
}

// Replaces the form with the ReadMe read back. The imported form is in no
// form file yet, so it stays marked as unsaved work (and is journaled as such).
void ReplaceWithImport(Session& s, const std::string& path) {
    // Read whole first: a failure leaves the form in hand untouched. Reading
    // and parsing a large file takes seconds, so they run while the window
    // waits; the session is touched only afterwards, on the window's thread.
    ImportResult imported = RunBusyWork(s.host, "ReadMeを読み込んでいます...",
                                        [&path] { return ImportReadMeFile(path); });
    s.ws.form = std::move(imported.form);
    s.ws.Selected = -1;
    s.ws.CurrentLongItem = 0;
    s.ws.EditorText = s.ws.form.LongTexts[0];
    SelectEmphasisOption(s.ws, s.ws.EmphasisEnabled);
    s.CurrentPage = Page::Lines;
    s.FormFilePath.clear();
    s.FormFileTitle.clear();
    s.FormFileStamp.reset();
    s.InformationText = imported.report.Text();
    s.Notify(Change::Form);
    s.Notify(Change::Order);
    s.Notify(Change::Emphasis);
    s.Notify(Change::LongText);
    s.Notify(Change::Information);
    UpdateWindowTitle(s);
    ShowInformation(s, imported.report.Summary());
}

} // namespace

void ImportReadMePath(Session& s, const std::string& path) {
    RunReportingFailures(s, [&] {
        if (ConfirmDiscardChanges(s)) {
            ReplaceWithImport(s, path);
        }
    });
}

void ImportReadMe(Session& s) {
    RunReportingFailures(s, [&] {
        if (!ConfirmDiscardChanges(s)) {
            return;
        }
        const FileDialogResult chosen =
            ShowSharedFileDialog(s, FileKind::TextReadMe, ImportDialog());
        ReplaceWithImport(s, chosen.Path);
    });
}

} // namespace kelvaro

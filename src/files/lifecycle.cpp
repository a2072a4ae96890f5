#include "files/lifecycle.h"

#include "files/form_file.h"
#include "model/catalogue.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "platform/paths.h"
#include "session/options.h"
#include "session/unsaved.h"

#include <optional>
#include <utility>

namespace kelvaro {
namespace {

FileDialogRequest FormDialog(FileDialogKind kind) {
    FileDialogRequest request;
    request.Kind = kind;
    request.Title = AppInfoString(AppInfo::ProductName) + "フォームの出力先指定";
    request.Filter =
        AppInfoString(AppInfo::ProductName) + "フォーム (*.ref)|*.ref|すべてのファイル (*.*)|*.*";
    request.Options.HideReadOnly = true;
    if (kind == FileDialogKind::Open) {
        request.Options.FileMustExist = true;
    } else {
        request.Options.OverwritePrompt = true;
    }
    return request;
}

bool AskDiscardingWork(Session& s, const std::string& firstLines) {
    MessageRequest question{firstLines + "\r\n(作業中のデータを保存したい場合は\r\n"
                                         "[いいえ]を押してください。)",
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

void ApplyFormDefaults(Workspace& ws) {
    DefaultTopicsLine(ws);
    BuildDefaultOrder(ws);
    DefaultTopicsHTML(ws);
    DefaultTopicsOther(ws);
}

// Checks what a form file cannot hold before anything is written: a text that
// would not read back as it is (a long-text line beginning with a block marker,
// a line break in a single-line value) refuses the save with a message naming
// its item, and characters that CP932 would not give back are asked about.
// False: write nothing.
bool ReadyToWrite(Session& s) {
    CommitLongText(s.ws);
    if (auto unwritable = FindUnwritableItem(s.ws.form)) {
        s.host.ShowMessage(MessageRequest{
            UnwritableMessage(*unwritable), AppInfoString(AppInfo::ProductAndVersion),
            MessageButtons::Ok, MessageIcon::Exclamation, MessageAnswer::Ok});
        return false;
    }
    return AskBeforeLossyWrite(s, NamedFormTexts(s.ws.form), FormFileUnmappable) !=
           LossyWrite::DoNotWrite;
}

// 上書き保存 writes without a dialog, so it is the one write that could throw
// away, unseen, what another program or another Kelvaro window saved into the
// current file since this session read or wrote it. A file that is gone is
// simply written again: nothing of anyone's is lost by that.
bool MayReplaceCurrentFile(Session& s) {
    const std::optional<FileStamp> now = StampOf(s.FormFilePath);
    if (!now || !s.FormFileStamp || *now == *s.FormFileStamp) {
        return true;
    }
    MessageRequest question{
        s.FormFilePath +
            " は、開いた後にほかのプログラムによって変更されています。上書きしますか？",
        AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo, MessageIcon::Exclamation,
        MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

void NotifyWholeForm(const Session& s) {
    s.Notify(Change::Form);
    s.Notify(Change::Order);
    s.Notify(Change::Emphasis);
    s.Notify(Change::LongText);
}

// What an open reads into: the session's workspace with the form and editor of
// a new form, so that the window's own state (the emphasis option, the
// selection, the bold of items the file does not list) carries over while no
// value of the form in hand can.
Workspace NewFormWorkspace(const Session& s) {
    Workspace ws = s.ws;
    ApplyFormDefaults(ws);
    ws.ItemEmphasis = s.ws.ItemEmphasis;
    return ws;
}

// The opened form's preview mode is what the preview shows from now on, also
// when the Markdown was chosen before.
void ShowFormsPreviewMode(Session& s) {
    if (s.PreviewMarkdown) {
        s.PreviewMarkdown = false;
        s.Notify(Change::Preview);
    }
}

// The failures that happen inside a file that did open: it ends early, holds a
// value a control cannot take, or a number outside 32 bits. What was read
// before them may still be worth having.
bool FailedPartWay(int number) {
    return number == ErrorNo::InputPastEnd || number == ErrorNo::InvalidProperty ||
           number == ErrorNo::Overflow;
}

bool AskShowingWhatWasRead(Session& s) {
    MessageRequest question{"読み込めたところまでを、名前のない新しいフォームとして表示しますか？",
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

// A form file an editor converted to UTF-8 would fill the form with nonsense
// read as CP932; the user says how to read it. いいえ reads it as ever.
bool AskReadingAsUtf8(Session& s, const std::string& path) {
    MessageRequest question{path +
                                " は UTF-8 で保存されているようです。UTF-8 として読み込みますか？",
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

// Reads the form file whole before anything changes: a failure leaves the
// form, the editor, the current file and the title as they were, so a later
// save cannot write a mix of two forms over a good file.
void LoadForm(Session& s, const std::string& path, const std::string& title) {
    bool asUtf8 = false;
    const std::string text = [&] {
        const std::string bytes = ReadWholeFile(path);
        asUtf8 = LooksLikeUtf8FormFile(bytes) && AskReadingAsUtf8(s, path);
        return DecodeFormFile(bytes, asUtf8 ? FormFileEncoding::Utf8 : FormFileEncoding::Cp932);
    }();
    Workspace read = NewFormWorkspace(s);
    try {
        ReadFormFileText(read, text);
    } catch (RuntimeError& error) {
        if (!FailedPartWay(error.Number())) {
            throw;
        }
        error.SetPathIfMissing(path);
        ReportFailure(s, error);
        // Only a file that starts as a form has parts worth showing; the lines
        // of any other file would fill the fields with what is no value.
        if (!BeginsWithFormHeader(text) || !AskShowingWhatWasRead(s)) {
            return;
        }
        // What was read, on top of a new form's defaults, as a form of its
        // own: saving it asks for a name instead of overwriting the file. A
        // read that stopped in the long texts has not shown one yet.
        read.EditorText = read.form.LongTexts[static_cast<std::size_t>(read.CurrentLongItem)];
        s.ws = std::move(read);
        s.FormFilePath.clear();
        s.FormFileTitle.clear();
        s.FormFileStamp.reset();
        NotifyWholeForm(s);
        ShowFormsPreviewMode(s);
        UpdateWindowTitle(s);
        return;
    }
    s.ws = std::move(read);
    s.FormFilePath = path;
    s.FormFileTitle = title;
    s.FormFileStamp = StampOf(path);
    NotifyWholeForm(s);
    ShowFormsPreviewMode(s);
    UpdateWindowTitle(s);
    MarkFormClean(s);
    // The file is not what a save writes (a save writes CP932): until then the
    // form counts as unsaved, so that nothing takes the file for its copy.
    s.ChangedRegardless = asUtf8;
}

} // namespace

void UpdateWindowTitle(Session& s) {
    s.WindowTitle = AppInfoString(AppInfo::ProductAndVersion) + " --- " + s.FormFileTitle;
    s.Notify(Change::Title);
}

void StartUp(Session& s) {
    s.WindowTitle = AppInfoString(AppInfo::ProductAndVersion);
    s.Notify(Change::Title);
    s.CurrentPage = Page::Lines;
    s.ws.EmphasisEnabled = true;
    ApplyFormDefaults(s.ws);
    DefaultTopicsOption(s);
    s.FormFilePath.clear();
    s.FormFileTitle.clear();
    NotifyWholeForm(s);
    MarkFormClean(s);
}

void NewForm(Session& s) {
    if (!AskDiscardingWork(s, "現在作業中のデータはすべて初期化されます。\r\n"
                              "フォームを新規作成しますか？")) {
        return;
    }
    s.CurrentPage = Page::Lines;
    ApplyFormDefaults(s.ws);
    s.FormFilePath.clear();
    s.FormFileTitle.clear();
    s.FormFileStamp.reset();
    NotifyWholeForm(s);
    UpdateWindowTitle(s);
    MarkFormClean(s);
}

void OpenForm(Session& s) {
    if (!ConfirmDiscardChanges(s)) {
        return;
    }
    RunReportingFailures(s, [&] {
        FileDialogResult chosen =
            ShowSharedFileDialog(s, FileKind::Form, FormDialog(FileDialogKind::Open));
        LoadForm(s, chosen.Path, chosen.FileTitle);
    });
}

void OpenFormPath(Session& s, const std::string& path) {
    if (!ConfirmDiscardChanges(s)) {
        return;
    }
    RunReportingFailures(s, [&] { LoadForm(s, path, FileName(path)); });
}

void SaveForm(Session& s) {
    if (s.FormFilePath.empty()) {
        SaveFormAs(s);
        return;
    }
    RunReportingFailures(s, [&] {
        if (!MayReplaceCurrentFile(s) || !ReadyToWrite(s)) {
            return;
        }
        WriteFormFile(s.ws, s.FormFilePath);
        s.FormFileStamp = StampOf(s.FormFilePath);
        UpdateWindowTitle(s);
        MarkFormClean(s);
    });
}

void SaveFormAs(Session& s) {
    RunReportingFailures(s, [&] {
        std::optional<FileDialogResult> chosen = WithExtension(
            s, ShowSharedFileDialog(s, FileKind::Form, FormDialog(FileDialogKind::Save)), ".ref");
        if (!chosen || !ReadyToWrite(s)) {
            return;
        }
        WriteFormFile(s.ws, chosen->Path);
        // Only a file that was written becomes current: after a failed save the
        // title and 上書き保存 still name the file the form came from.
        s.FormFilePath = chosen->Path;
        s.FormFileTitle = chosen->FileTitle;
        s.FormFileStamp = StampOf(chosen->Path);
        UpdateWindowTitle(s);
        MarkFormClean(s);
    });
}

bool ConfirmClose(Session& s) {
    const bool close = AskDiscardingWork(s, "終了しますか？");
    // The browser page goes whatever the answer; if it cannot be removed it is
    // left alone without a message, and the close goes on.
    const std::string page = BrowserPagePath(s);
    if (IsRegularFile(page)) {
        RemoveFile(page);
    }
    return close;
}

} // namespace kelvaro

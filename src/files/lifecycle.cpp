#include "files/lifecycle.h"

#include "files/form_file.h"
#include "model/catalogue.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "platform/file_io.h"
#include "session/options.h"

#include <algorithm>

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

void ApplyFormDefaults(Session& s) {
    DefaultTopicsLine(s.ws);
    BuildDefaultOrder(s.ws);
    DefaultTopicsHTML(s.ws);
    DefaultTopicsOther(s.ws);
}

bool EndsWithRef(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) {
        return static_cast<char>(c | (c >= 'A' && c <= 'Z' ? 0x20 : 0));
    });
    return tail == ".ref";
}

// Checks what a form file cannot hold before anything is written: a long-text
// line beginning with a block marker would corrupt the file, and characters
// without a CP932 form would come back as "?". False: write nothing.
bool ReadyToWrite(Session& s) {
    CommitLongText(s.ws);
    int slot = FindMarkerLine(s.ws.form);
    if (slot >= 0) {
        const std::string name = LongTextName(s.ws.form, slot);
        s.host.ShowMessage(MessageRequest{
            "「" + name +
                "」の文章に、行頭が「#%!」または「!%#」の行があります。\r\n"
                "この行はフォームファイルに保存できないため、保存を中止しました。\r\n"
                "行頭の文字を変えてから、もう一度保存してください。",
            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::Ok, MessageIcon::Exclamation,
            MessageAnswer::Ok});
        return false;
    }
    return ConfirmUnrepresentable(s, FormFileTexts(s.ws.form));
}

void LoadForm(Session& s, const std::string& path, const std::string& title) {
    struct Refresh {
        Session& s;
        ~Refresh() {
            // Whatever was read before a failure is in the form: show it.
            s.Notify(Change::Form);
            s.Notify(Change::Order);
            s.Notify(Change::Emphasis);
            s.Notify(Change::LongText);
        }
    } refresh{s};
    ReadFormFile(s.ws, path);
    // Only a file that was read whole becomes current, so a later save
    // cannot overwrite a file that failed to read with a half-read form.
    s.FormFilePath = path;
    s.FormFileTitle = title;
    UpdateWindowTitle(s);
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
    ApplyFormDefaults(s);
    DefaultTopicsOption(s);
    s.FormFilePath.clear();
    s.FormFileTitle.clear();
    s.Notify(Change::Form);
    s.Notify(Change::Order);
    s.Notify(Change::Emphasis);
    s.Notify(Change::LongText);
}

void NewForm(Session& s) {
    if (!AskDiscardingWork(s, "現在作業中のデータはすべて初期化されます。\r\n"
                              "フォームを新規作成しますか？")) {
        return;
    }
    s.CurrentPage = Page::Lines;
    ApplyFormDefaults(s);
    s.FormFilePath.clear();
    s.FormFileTitle.clear();
    s.Notify(Change::Form);
    s.Notify(Change::Order);
    s.Notify(Change::Emphasis);
    s.Notify(Change::LongText);
    UpdateWindowTitle(s);
}

void OpenForm(Session& s) {
    RunReportingFailures(s, [&] {
        FileDialogResult chosen = ShowSharedFileDialog(s, FormDialog(FileDialogKind::Open));
        LoadForm(s, chosen.Path, chosen.FileTitle);
    });
}

void OpenFormPath(Session& s, const std::string& path) {
    RunReportingFailures(s, [&] {
        const std::size_t slash = path.rfind('/');
        LoadForm(s, path, slash == std::string::npos ? path : path.substr(slash + 1));
    });
}

void SaveForm(Session& s) {
    if (s.FormFilePath.empty()) {
        SaveFormAs(s);
        return;
    }
    RunReportingFailures(s, [&] {
        if (!ReadyToWrite(s)) {
            return;
        }
        WriteFormFile(s.ws, s.FormFilePath);
        UpdateWindowTitle(s);
    });
}

void SaveFormAs(Session& s) {
    RunReportingFailures(s, [&] {
        FileDialogResult chosen = ShowSharedFileDialog(s, FormDialog(FileDialogKind::Save));
        std::string path = chosen.Path;
        std::string title = chosen.FileTitle;
        if (!EndsWithRef(title)) {
            path += ".ref";
            title += ".ref";
            // The dialog asked about the name as chosen, not about this one.
            if (PathExists(path)) {
                MessageRequest question{path + " は既に存在します。\r\n上書きしますか？",
                                        AppInfoString(AppInfo::ProductAndVersion),
                                        MessageButtons::YesNo, MessageIcon::Exclamation,
                                        MessageAnswer::No};
                if (s.host.ShowMessage(question) != MessageAnswer::Yes) {
                    return;
                }
            }
        }
        if (!ReadyToWrite(s)) {
            return;
        }
        s.FormFilePath = path;
        s.FormFileTitle = title;
        UpdateWindowTitle(s);
        WriteFormFile(s.ws, s.FormFilePath);
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

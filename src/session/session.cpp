#include "session/session.h"

#include "platform/app_info.h"
#include "platform/cp932.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace kelvaro {

Session::Session(Host& h, AppFolders folders)
    : host(h), ProgramFolder(std::move(folders.Program)),
      TemplateFolder(std::move(folders.Templates)),
      BrowserPageFolder(std::move(folders.BrowserPage)), GuidePath(std::move(folders.Guide)) {}

Session::Session(Host& h, const std::string& programFolder)
    : Session(h, PortableFolders(programFolder)) {}

std::string BrowserPagePath(const Session& s) {
    return WithTrailingBackslash(s.BrowserPageFolder) + "BrowserSample.html";
}

namespace {

// Shows the dialog and remembers what the user chose; cancelling throws.
FileDialogResult ShowRemembering(Session& s, const FileDialogRequest& request) {
    auto chosen = s.host.ShowFileDialog(request);
    if (!chosen) {
        throw RuntimeError(ErrorNo::Cancelled);
    }
    s.DialogFileName = chosen->Path;
    return *chosen;
}

} // namespace

FileDialogResult ShowSharedFileDialog(Session& s, FileDialogRequest request) {
    request.InitialFileName = s.DialogFileName;
    return ShowRemembering(s, request);
}

FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName) {
    const std::size_t slash = s.DialogFileName.rfind('/');
    request.InitialFileName =
        slash == std::string::npos ? fileName : s.DialogFileName.substr(0, slash + 1) + fileName;
    return ShowRemembering(s, request);
}

std::string UnexpectedErrorText(int errorNumber) {
    return "Error No." + std::to_string(errorNumber) +
           "\r\n予期しないエラーです。\r\n製作者にErrorNumberを知らせてください。";
}

int FailureNumber(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr ||
        dynamic_cast<const std::length_error*>(&error) != nullptr) {
        return ErrorNo::OutOfMemory;
    }
    return ErrorNo::PathFileAccess;
}

void ReportFailure(Session& s, const RuntimeError& error) {
    MessageRequest message;
    message.Buttons = MessageButtons::Ok;
    message.DefaultButton = MessageAnswer::Ok;
    if (error.Number() == ErrorNo::Cancelled) {
        message.Text = "キャンセルされました。";
        message.Title = AppInfoString(AppInfo::ProductAndVersion);
        message.Icon = MessageIcon::Information;
    } else {
        message.Text = UnexpectedErrorText(error.Number());
        message.Title = AppInfoString(AppInfo::ProductName);
        message.Icon = MessageIcon::Critical;
    }
    s.host.ShowMessage(message);
}

void ShowInformation(Session& s, const std::string& text) {
    s.host.ShowMessage(MessageRequest{text, AppInfoString(AppInfo::ProductAndVersion),
                                      MessageButtons::Ok, MessageIcon::Information,
                                      MessageAnswer::Ok});
}

bool ConfirmUnrepresentable(Session& s, const std::vector<std::string_view>& texts) {
    bool clean = true;
    for (auto text : texts) {
        if (!IsCp932Representable(text)) {
            clean = false;
            break;
        }
    }
    if (clean) {
        return true;
    }
    MessageRequest question{"Shift_JISで表せない文字が含まれています。\r\n"
                            "それらの文字を「?」に置き換えて保存しますか？",
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::Yes};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

void ShowTemplateFolderMissing(Session& s) {
    s.host.ShowMessage(MessageRequest{"テンプレートフォルダ\r\n" + s.TemplateFolder +
                                          "\r\nは、存在しません。\r\n開発元ホームページから、\r\n"
                                          "最新版のテンプレートをダウンロードしてください。",
                                      AppInfoString(AppInfo::ProductAndVersion), MessageButtons::Ok,
                                      MessageIcon::Exclamation, MessageAnswer::Ok});
}

} // namespace kelvaro

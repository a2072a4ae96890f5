#include "app/session.h"

#include "compose/readme_file.h"
#include "files/app_info.h"
#include "platform/cp932.h"

#include <utility>

namespace kelvaro {

Session::Session(Host& h, std::string programFolder)
    : host(h), ProgramFolder(std::move(programFolder)),
      TemplateFolder(WithTrailingBackslash(ProgramFolder) + "Templates") {}

FileDialogResult ShowSharedFileDialog(Session& s, FileDialogRequest request) {
    request.InitialFileName = s.DialogFileName;
    auto chosen = s.host.ShowFileDialog(request);
    if (!chosen) {
        throw RuntimeError(ErrorNo::Cancelled);
    }
    s.DialogFileName = chosen->Path;
    return *chosen;
}

void ReportFailure(Session& s, const RuntimeError& error) {
    MessageRequest message;
    message.Buttons = MessageButtons::Ok;
    message.DefaultButton = MessageAnswer::Ok;
    if (error.Number() == ErrorNo::Cancelled) {
        message.Text = "キャンセルされました。";
        message.Title = AppInfoString(2);
        message.Icon = MessageIcon::Information;
    } else {
        message.Text = UnexpectedErrorText(error.Number());
        message.Title = AppInfoString(0);
        message.Icon = MessageIcon::Critical;
    }
    s.host.ShowMessage(message);
}

void ShowInformation(Session& s, const std::string& text) {
    s.host.ShowMessage(MessageRequest{text, AppInfoString(2), MessageButtons::Ok,
                                      MessageIcon::Information, MessageAnswer::Ok});
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
                            AppInfoString(2), MessageButtons::YesNo, MessageIcon::Exclamation,
                            MessageAnswer::Yes};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

void ShowTemplateFolderMissing(Session& s) {
    s.host.ShowMessage(MessageRequest{"テンプレートフォルダ\r\n" + s.TemplateFolder +
                                          "\r\nは、存在しません。\r\n開発元ホームページから、\r\n"
                                          "最新版のテンプレートをダウンロードしてください。",
                                      AppInfoString(2), MessageButtons::Ok,
                                      MessageIcon::Exclamation, MessageAnswer::Ok});
}

} // namespace kelvaro

#include "session/failure.h"

#include "platform/app_info.h"
#include "platform/error_causes.h"
#include "session/session.h"

#include <new>
#include <stdexcept>

namespace kelvaro {

std::string UnexpectedErrorText(int errorNumber) {
    return "Error No." + std::to_string(errorNumber) +
           "\r\n予期しないエラーです。\r\n製作者にErrorNumberを知らせてください。";
}

namespace {

// The cause a failure is told with when the code that failed gave none.
} // namespace

std::string FailureText(const RuntimeError& error) {
    const std::string cause =
        error.Cause().empty() ? CauseOfErrorNumber(error.Number()) : error.Cause();
    std::string where = error.Path().empty() ? cause : error.Path() + ": " + cause;
    return UnexpectedErrorText(error.Number()) + "\r\n（" + where + "）";
}

int FailureNumber(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr ||
        dynamic_cast<const std::length_error*>(&error) != nullptr) {
        return ErrorNo::OutOfMemory;
    }
    return ErrorNo::PathFileAccess;
}

RuntimeError FailureFromException(const std::exception& error) {
    const int number = FailureNumber(error);
    if (number == ErrorNo::OutOfMemory) {
        return RuntimeError(number, FailurePlace{{}, "メモリが足りません"}, error.what());
    }
    return RuntimeError(
        number, FailurePlace{{}, std::string("処理を続けられません（") + error.what() + "）"},
        error.what());
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
        message.Text = FailureText(error);
        message.Title = AppInfoString(AppInfo::ProductName);
        message.Icon = MessageIcon::Critical;
    }
    s.host.ShowMessage(message);
}

} // namespace kelvaro

namespace kelvaro {

std::string ResumedWriteText(const ResumedWrite& resumed) {
    if (resumed.Completed) {
        return "前回中断されたファイルの書き込みを完了しました。\r\n" + resumed.Path;
    }
    std::string text =
        "前回中断されたファイルの書き込みを完了できませんでした。\r\n" + resumed.Path;
    if (!resumed.KeptAt.empty()) {
        text += "\r\n書き込む内容は次のファイルに残してあります。\r\n" + resumed.KeptAt;
    }
    return text;
}

} // namespace kelvaro

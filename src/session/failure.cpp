#include "session/failure.h"

#include "platform/app_info.h"
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
std::string DefaultCause(int number) {
    switch (number) {
    case ErrorNo::Overflow:
        return "数値が大きすぎます";
    case ErrorNo::OutOfMemory:
        return "メモリが足りません";
    case ErrorNo::BadFileName:
        return "ファイル名が正しくありません";
    case ErrorNo::FileNotFound:
        return "ファイルが見つかりません";
    case ErrorNo::DeviceIo:
        return "ディスクの読み書きに失敗しました";
    case ErrorNo::DiskFull:
        return "ディスクの空き容量が足りません";
    case ErrorNo::InputPastEnd:
        return "ファイルが途中で終わっています（フォームファイルではないか、壊れています）";
    case ErrorNo::PermissionDenied:
        return "権限がないか、ほかのプログラムが使用中です";
    case ErrorNo::PathFileAccess:
        return "ファイルを扱えませんでした";
    case ErrorNo::PathNotFound:
        return "フォルダが見つかりません";
    case ErrorNo::InvalidProperty:
        return "読み込めない値があります";
    case ErrorNo::ClipboardOpen:
        return "クリップボードを使えません";
    default:
        return "原因がわかりません";
    }
}

} // namespace

std::string FailureText(const RuntimeError& error) {
    const std::string cause = error.Cause().empty() ? DefaultCause(error.Number()) : error.Cause();
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

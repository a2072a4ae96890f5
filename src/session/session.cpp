#include "session/session.h"

#include "platform/app_info.h"
#include "platform/cp932.h"
#include "platform/file_io.h"

#include <algorithm>
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

// Where a dialog of this kind keeps what the user chose.
std::string& DialogMemory(Session& s, FileKind kind) {
    return kind == FileKind::Template ? s.TemplateDialogFileName : s.DialogFileName;
}

// What it starts from: its own memory, and for a template dialog that has
// chosen nothing yet the shared one.
const std::string& DialogStart(const Session& s, FileKind kind) {
    return kind == FileKind::Template && !s.TemplateDialogFileName.empty()
               ? s.TemplateDialogFileName
               : s.DialogFileName;
}

// ".txt" for a filter whose first patterns are "*.txt" or "*.html;*.htm"; ""
// when the first pattern is no plain extension ("*.*", "*").
std::string FirstFilterExtension(const std::string& filter) {
    const std::size_t bar = filter.find('|');
    if (bar == std::string::npos) {
        return {};
    }
    std::string patterns = filter.substr(bar + 1, filter.find('|', bar + 1) - bar - 1);
    const std::string first = patterns.substr(0, patterns.find(';'));
    if (!first.starts_with("*.")) {
        return {};
    }
    std::string extension = first.substr(1);
    if (extension.size() < 2 || extension.find_first_of("*?") != std::string::npos) {
        return {};
    }
    return extension;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithIgnoringCase(std::string_view name, std::string_view tail) {
    if (name.size() < tail.size()) {
        return false;
    }
    const std::string_view end = name.substr(name.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (AsciiLower(end[i]) != AsciiLower(tail[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ProposedFileName(const std::string& remembered, const std::string& filter) {
    const std::string extension = FirstFilterExtension(filter);
    if (remembered.empty() || extension.empty()) {
        return remembered;
    }
    const std::size_t slash = remembered.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = remembered.find_last_of('.');
    // A leading dot starts a hidden name, not an extension.
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    const std::string base = hasExtension ? remembered.substr(0, dot) : remembered;
    if (base.size() == nameStart) {
        return remembered; // a folder alone: no name to give an extension
    }
    return base + extension;
}

namespace {

// Shows the dialog and remembers what the user chose; cancelling throws.
FileDialogResult ShowRemembering(Session& s, const FileDialogRequest& request, FileKind kind) {
    auto chosen = s.host.ShowFileDialog(request);
    if (!chosen) {
        throw RuntimeError(ErrorNo::Cancelled);
    }
    DialogMemory(s, kind) = chosen->Path;
    return *chosen;
}

} // namespace

FileDialogResult ShowSharedFileDialog(Session& s, FileKind kind, FileDialogRequest request) {
    request.InitialFileName = ProposedFileName(DialogStart(s, kind), request.Filter);
    return ShowRemembering(s, request, kind);
}

std::optional<FileDialogResult> WithExtension(Session& s, FileDialogResult chosen,
                                              std::string_view extension) {
    if (EndsWithIgnoringCase(chosen.FileTitle, extension)) {
        return chosen;
    }
    chosen.Path += extension;
    chosen.FileTitle += extension;
    if (PathExists(chosen.Path)) {
        MessageRequest question{chosen.Path + " は既に存在します。\r\n上書きしますか？",
                                AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                                MessageIcon::Exclamation, MessageAnswer::No};
        if (s.host.ShowMessage(question) != MessageAnswer::Yes) {
            return std::nullopt;
        }
    }
    return chosen;
}

FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName) {
    const std::size_t slash = s.DialogFileName.rfind('/');
    request.InitialFileName =
        slash == std::string::npos ? fileName : s.DialogFileName.substr(0, slash + 1) + fileName;
    return ShowRemembering(s, request, FileKind::Form); // the shared memory
}

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

void ShowInformation(Session& s, const std::string& text) {
    s.host.ShowMessage(MessageRequest{text, AppInfoString(AppInfo::ProductAndVersion),
                                      MessageButtons::Ok, MessageIcon::Information,
                                      MessageAnswer::Ok});
}

namespace {

// The question names this many characters; the rest are "ほかにもあります".
constexpr std::size_t kLossyShown = 5;

struct LossyPlace {
    std::string Item;
    LossyCharacter Character;
};

std::string LinesOf(const std::vector<LossyPlace>& places, bool more) {
    std::string lines;
    for (const LossyPlace& place : places) {
        if (!lines.empty()) {
            lines += "\r\n";
        }
        lines += "・";
        if (!place.Item.empty()) {
            lines += "「" + place.Item + "」の";
        }
        lines += "「" + place.Character.Character + "」→「" + place.Character.WrittenAs + "」";
    }
    if (more) {
        lines += "\r\nほかにもあります。";
    }
    return lines;
}

LossyWrite AskAbout(Session& s, const std::string& lines) {
    if (lines.empty()) {
        return LossyWrite::NothingLost;
    }
    MessageRequest question{"Shift_JISで表せない文字が含まれています。\r\n" + lines +
                                "\r\nそれらの文字を置き換えて保存しますか？",
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::No};
    return s.host.ShowMessage(question) == MessageAnswer::Yes ? LossyWrite::Replace
                                                              : LossyWrite::DoNotWrite;
}

} // namespace

std::string LossyCharacterLines(const std::vector<NamedText>& texts) {
    std::vector<LossyPlace> places;
    bool more = false;
    for (const NamedText& text : texts) {
        // One more than is shown, to know whether there are more.
        for (LossyCharacter& c : FindLossyCharacters(text.Text, kLossyShown + 1)) {
            if (places.size() == kLossyShown) {
                more = true;
                break;
            }
            places.push_back(LossyPlace{text.Item, std::move(c)});
        }
        if (more) {
            break;
        }
    }
    return LinesOf(places, more);
}

LossyWrite AskBeforeLossyWrite(Session& s, const std::vector<NamedText>& texts) {
    return AskAbout(s, LossyCharacterLines(texts));
}

namespace {

// The lines naming the characters of a composed ReadMe that would change, each
// with the first item that holds it.
std::string LossyReadMeLines(std::string_view written, const std::vector<NamedText>& sources) {
    std::vector<LossyCharacter> found = FindLossyCharacters(written, kLossyShown + 1);
    const bool more = found.size() > kLossyShown;
    found.resize(std::min(found.size(), kLossyShown));
    std::vector<LossyPlace> places;
    for (LossyCharacter& c : found) {
        std::string item;
        for (const NamedText& source : sources) {
            if (source.Text.find(c.Character) != std::string_view::npos) {
                item = source.Item;
                break;
            }
        }
        places.push_back(LossyPlace{std::move(item), std::move(c)});
    }
    return LinesOf(places, more);
}

} // namespace

LossyWrite AskBeforeLossyWrite(Session& s, std::string_view written,
                               const std::vector<NamedText>& sources) {
    return AskAbout(s, LossyReadMeLines(written, sources));
}

LossyWrite AskBeforeLossyReadMe(Session& s, std::string_view written,
                                const std::vector<NamedText>& sources) {
    const std::string lines = LossyReadMeLines(written, sources);
    if (lines.empty()) {
        return LossyWrite::NothingLost;
    }
    MessageRequest question{"Shift_JISで表せない文字が含まれています。\r\n" + lines +
                                "\r\n\r\n"
                                "はい：それらの文字を置き換えて、Shift_JISで保存します。\r\n"
                                "いいえ：UTF-8で保存します（文字は変わりません）。\r\n"
                                "キャンセル：保存しません。",
                            AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNoCancel,
                            MessageIcon::Exclamation, MessageAnswer::Cancel};
    switch (s.host.ShowMessage(question)) {
    case MessageAnswer::Yes:
        return LossyWrite::Replace;
    case MessageAnswer::No:
        return LossyWrite::WriteUtf8;
    default:
        return LossyWrite::DoNotWrite;
    }
}

void ShowTemplateFolderMissing(Session& s) {
    s.host.ShowMessage(MessageRequest{"テンプレートフォルダ\r\n" + s.TemplateFolder +
                                          "\r\nは、存在しません。\r\n開発元ホームページから、\r\n"
                                          "最新版のテンプレートをダウンロードしてください。",
                                      AppInfoString(AppInfo::ProductAndVersion), MessageButtons::Ok,
                                      MessageIcon::Exclamation, MessageAnswer::Ok});
}

} // namespace kelvaro

#include "cli/messages.h"

#include "platform/error_causes.h"
#include "platform/standard_output.h"
#include "session/failure.h"

#include <array>
#include <ostream>
#include <string_view>

namespace kelvaro::cli {
namespace {

struct CauseWords {
    std::string_view Ja;
    std::string_view En;
};

// The causes the core tells, in English. A cause that is not here is told by
// its error number's English words, so that no Japanese slips into English.
constexpr std::array<CauseWords, 24> kCauses{{
    {Cause::FileNotFound, "file not found"},
    {Cause::FolderMissing, "folder not found"},
    {Cause::NotAFolderOnTheWay, "a folder on the way is no folder"},
    {Cause::CannotRead, "no permission to read the file"},
    {Cause::CannotWrite, "no permission to write the file"},
    {Cause::CannotWriteFolder, "no permission to write into the folder"},
    {Cause::CannotListFolder, "no permission to read the folder"},
    {Cause::ReadOnlyDisk, "the disk is read-only"},
    {Cause::InUse, "another program is using the file"},
    {Cause::DiskFull, "the disk is full"},
    {Cause::QuotaExceeded, "the disk quota is exceeded"},
    {Cause::NotAFile, "a folder, not a file"},
    {Cause::NotARegularFile, "not a regular file"},
    {Cause::DiskIo, "the disk could not be read or written"},
    {Cause::DiskWrite, "the disk could not be written"},
    {Cause::NameTooLong, "the file name is too long"},
    {Cause::BadFileName, "the file name is empty or holds a character it cannot"},
    {Cause::OutOfMemory, "out of memory"},
    {Cause::LinkLoop, "symbolic links loop or are too many"},
    {Cause::TooManyOpen, "too many open files"},
    {"テキストの ReadMe ではありません", "not a text ReadMe"},
    {"フォームファイルです（「フォームを開く」で開いてください）", // kFormFileCause
     "a form file, not a ReadMe (name it without --import)"},
    {"ファイルが途中で終わっています（フォームファイルではないか、壊れています）",
     "the file ends early (not a form file, or a damaged one)"},
    {"数値が大きすぎます（フォームファイルが壊れています）",
     "a number is too large (the form file is damaged)"},
}};
constexpr std::size_t kFormFileCause = 21;

std::string_view EnglishOfNumber(int number) {
    switch (number) {
    case ErrorNo::Overflow:
        return "a number is too large";
    case ErrorNo::OutOfMemory:
        return "out of memory";
    case ErrorNo::BadFileName:
        return "the file name is not valid";
    case ErrorNo::FileNotFound:
        return "file not found";
    case ErrorNo::DiskFull:
        return "the disk is full";
    case ErrorNo::InputPastEnd:
        return "the file ends early (not a form file, or a damaged one)";
    case ErrorNo::PermissionDenied:
        return "no permission, or another program is using the file";
    case ErrorNo::BadFileFormat:
        return "the file is not of the kind expected";
    case ErrorNo::PathNotFound:
        return "folder not found";
    case ErrorNo::InvalidProperty:
        return "the file holds a value that cannot be read";
    default:
        return "the file could not be handled";
    }
}

std::string EnglishCause(const RuntimeError& failure) {
    // The system's own words, which are English already.
    constexpr std::string_view kSystem = "システムのエラーです（";
    const std::string& cause = failure.Cause();
    if (cause.starts_with(kSystem) && cause.ends_with("）")) {
        return "system error (" + cause.substr(kSystem.size(), cause.size() - kSystem.size() - 3) +
               ")";
    }
    for (const CauseWords& words : kCauses) {
        if (cause == words.Ja) {
            return std::string(words.En);
        }
    }
    return std::string(EnglishOfNumber(failure.Number()));
}

// The window's words where the command line has its own way.
std::string JapaneseCause(const RuntimeError& failure) {
    if (failure.Cause().empty()) {
        return CauseOfErrorNumber(failure.Number());
    }
    if (failure.Cause() == kCauses[kFormFileCause].Ja) {
        return "フォームファイルです（--import を付けずに指定してください）";
    }
    return failure.Cause();
}

} // namespace

std::string FailureLine(const RuntimeError& failure, Language language) {
    std::string cause =
        language == Language::Japanese ? JapaneseCause(failure) : EnglishCause(failure);
    if (failure.Path() == StandardOutputName && language == Language::English) {
        cause += ": standard output";
    } else if (!failure.Path().empty()) {
        cause += ": " + failure.Path();
    }
    return cause;
}

Words ResumedWriteWords(const ResumedWrite& resumed) {
    if (resumed.Completed) {
        return Words{"finished the write an earlier run left unfinished: " + resumed.Path,
                     ResumedWriteText(resumed)};
    }
    return Words{"could not finish the write an earlier run left unfinished: " + resumed.Path +
                     (resumed.KeptAt.empty() ? "" : "; its new content is in " + resumed.KeptAt),
                 ResumedWriteText(resumed)};
}

void Messages::Say(const std::string& text) const {
    err_ << "kelvaro-compose: ";
    for (char c : text) {
        if (c != '\r') {
            err_ << c;
        }
    }
    err_ << "\n";
}

int Messages::Usage(const Words& problem) const {
    Say(problem.In(language_) +
        (Japanese() ? "。使い方: kelvaro-compose --help" : " (see kelvaro-compose --help)"));
    return 2;
}

int Messages::Failure(const RuntimeError& failure) const {
    Say(FailureLine(failure, language_));
    return 1;
}

} // namespace kelvaro::cli

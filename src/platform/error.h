#pragma once

// Every failure the user sees as "Error No.N" is one RuntimeError carrying N.
// It is thrown where the failure happens and caught by the command that started
// the work. The numbers follow the classic runtime numbering so that they stay
// stable across releases and users can quote them. Beside the number a failure
// carries, where it knows them, the file it concerns and its cause in plain
// Japanese, so the message can tell the user what went wrong and where.

#include <stdexcept>
#include <string>
#include <utility>

namespace kelvaro {

namespace ErrorNo {
inline constexpr int Overflow = 6;     // a number outside the 32-bit range
inline constexpr int OutOfMemory = 7;  // a separator line longer than the bound
inline constexpr int BadFileName = 52; // empty, or holding a NUL
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;         // ENOSPC, EDQUOT
inline constexpr int InputPastEnd = 62;     // a form file that ends early
inline constexpr int PermissionDenied = 70; // EACCES, EPERM, EROFS, or a foreign lock
inline constexpr int BadFileFormat = 321;   // bytes that are no text of any kind read
inline constexpr int PathFileAccess = 75;   // a folder where a file was expected, ...
inline constexpr int PathNotFound = 76;     // a missing folder on the way
inline constexpr int InvalidProperty = 380; // a value a control cannot take
inline constexpr int ClipboardOpen = 521;
inline constexpr int Cancelled = 32755; // the user cancelled a file dialog
} // namespace ErrorNo

// What the user is told beside the number: the file (empty when the failure
// concerns none) and the cause, in plain Japanese.
struct FailurePlace {
    std::string Path;
    std::string Cause;
};

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number, const std::string& detail = {})
        : std::runtime_error(detail.empty() ? "Error No." + std::to_string(number) : detail),
          number_(number) {}

    RuntimeError(int number, FailurePlace place, const std::string& detail = {})
        : RuntimeError(number, detail) {
        place_ = std::move(place);
    }

    int Number() const noexcept { return number_; }
    const std::string& Path() const noexcept { return place_.Path; }
    const std::string& Cause() const noexcept { return place_.Cause; }

    // Code that reads a text does not know which file it came from; the code
    // that opened the file names it on the way out.
    void SetPathIfMissing(const std::string& path) {
        if (place_.Path.empty()) {
            place_.Path = path;
        }
    }
    void SetCauseIfMissing(const std::string& cause) {
        if (place_.Cause.empty()) {
            place_.Cause = cause;
        }
    }
    // Adds what happened afterwards, e.g. where the new content was kept.
    void AppendToCause(const std::string& more) { place_.Cause += more; }

private:
    int number_;
    FailurePlace place_;
};

} // namespace kelvaro

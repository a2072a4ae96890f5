#pragma once

// Every failure the user sees as "Error No.N" is one RuntimeError carrying N.
// It is thrown where the failure happens and caught by the command that started
// the work. The numbers follow the classic runtime numbering so that they stay
// stable across releases and users can quote them.

#include <stdexcept>
#include <string>

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
inline constexpr int PathFileAccess = 75;   // a folder where a file was expected, ...
inline constexpr int PathNotFound = 76;     // a missing folder on the way
inline constexpr int InvalidProperty = 380; // a value a control cannot take
inline constexpr int ClipboardOpen = 521;
inline constexpr int Cancelled = 32755; // the user cancelled a file dialog
} // namespace ErrorNo

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(int number, const std::string& detail = {})
        : std::runtime_error(detail.empty() ? "Error No." + std::to_string(number) : detail),
          number_(number) {}

    int Number() const noexcept { return number_; }

private:
    int number_;
};

} // namespace kelvaro

#include "platform/error_causes.h"

#include "platform/error.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace kelvaro {
namespace {

// A refusal says whose permission was missing, as EACCES does.
std::string AccessCause(FileAccess access) {
    switch (access) {
    case FileAccess::Read:
        return Cause::CannotRead;
    case FileAccess::Write:
        return Cause::CannotWrite;
    case FileAccess::Create:
        return Cause::CannotWriteFolder;
    case FileAccess::List:
        return Cause::CannotListFolder;
    }
    return Cause::CannotWrite;
}

} // namespace

int ErrorNumberFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ErrorNo::FileNotFound;
    case ENOTDIR:
        return ErrorNo::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EWOULDBLOCK: // also EAGAIN: what a non-blocking flock reports for a held lock
        return ErrorNo::PermissionDenied;
    case ENOSPC:
#ifdef EDQUOT // Windows' C library has no quotas
    case EDQUOT:
#endif
        return ErrorNo::DiskFull;
    case EISDIR:
        return ErrorNo::PathFileAccess;
    case EIO:
        return ErrorNo::DeviceIo;
    case ENAMETOOLONG:
        return ErrorNo::BadFileName;
    case ENOMEM:
        return ErrorNo::OutOfMemory;
    default:
        return ErrorNo::PathFileAccess;
    }
}

std::string FileErrorCause(int error, FileAccess access) {
    switch (error) {
    case ENOENT:
        return access == FileAccess::List ? Cause::FolderMissing : Cause::FileNotFound;
    case ENOTDIR:
        return Cause::NotAFolderOnTheWay;
    case EACCES:
    case EPERM:
        return AccessCause(access);
    case EROFS:
        return Cause::ReadOnlyDisk;
    case EWOULDBLOCK:
        return Cause::InUse;
    case ENOSPC:
        return Cause::DiskFull;
#ifdef EDQUOT
    case EDQUOT:
        return Cause::QuotaExceeded;
#endif
    case EISDIR:
        return Cause::NotAFile;
    // A FIFO without a reader, a socket, a device without its driver: none of
    // them is a file a ReadMe can be written to.
    case ENXIO:
    case ENODEV:
        return Cause::NotARegularFile;
    case EIO:
        return Cause::DiskIo;
    case ENAMETOOLONG:
        return Cause::NameTooLong;
    case ENOMEM:
        return Cause::OutOfMemory;
    case ELOOP:
        return Cause::LinkLoop;
    case EMFILE:
    case ENFILE:
        return Cause::TooManyOpen;
    default:
        break;
    }
    return std::string("システムのエラーです（") + std::strerror(error) + "）";
}

namespace {

struct WindowsError {
    std::uint32_t Code;
    int Number;
    const char* Cause; // nullptr: told by what the program was doing
};

// Windows' codes by their documented numbers (winerror.h), so that the table
// needs no Windows header and reads the same on every build.
constexpr std::array<WindowsError, 28> kWindowsErrors{{
    {2, ErrorNo::FileNotFound, Cause::FileNotFound},         // ERROR_FILE_NOT_FOUND
    {3, ErrorNo::PathNotFound, Cause::FolderMissing},        // ERROR_PATH_NOT_FOUND
    {4, ErrorNo::PathFileAccess, Cause::TooManyOpen},        // ERROR_TOO_MANY_OPEN_FILES
    {5, ErrorNo::PermissionDenied, nullptr},                 // ERROR_ACCESS_DENIED
    {8, ErrorNo::OutOfMemory, Cause::OutOfMemory},           // ERROR_NOT_ENOUGH_MEMORY
    {14, ErrorNo::OutOfMemory, Cause::OutOfMemory},          // ERROR_OUTOFMEMORY
    {15, ErrorNo::PathNotFound, Cause::FolderMissing},       // ERROR_INVALID_DRIVE
    {19, ErrorNo::PermissionDenied, Cause::ReadOnlyDisk},    // ERROR_WRITE_PROTECT
    {21, ErrorNo::DeviceIo, Cause::DriveNotReady},           // ERROR_NOT_READY
    {23, ErrorNo::DeviceIo, Cause::DiskIo},                  // ERROR_CRC
    {29, ErrorNo::DeviceIo, Cause::DiskWrite},               // ERROR_WRITE_FAULT
    {30, ErrorNo::DeviceIo, Cause::DiskIo},                  // ERROR_READ_FAULT
    {32, ErrorNo::PermissionDenied, Cause::InUse},           // ERROR_SHARING_VIOLATION
    {33, ErrorNo::PermissionDenied, Cause::InUse},           // ERROR_LOCK_VIOLATION
    {39, ErrorNo::DiskFull, Cause::DiskFull},                // ERROR_HANDLE_DISK_FULL
    {53, ErrorNo::PathNotFound, Cause::NetworkPathMissing},  // ERROR_BAD_NETPATH
    {67, ErrorNo::PathNotFound, Cause::NetworkPathMissing},  // ERROR_BAD_NET_NAME
    {80, ErrorNo::PathFileAccess, Cause::AlreadyExists},     // ERROR_FILE_EXISTS
    {112, ErrorNo::DiskFull, Cause::DiskFull},               // ERROR_DISK_FULL
    {123, ErrorNo::BadFileName, Cause::BadFileName},         // ERROR_INVALID_NAME
    {161, ErrorNo::BadFileName, Cause::BadFileName},         // ERROR_BAD_PATHNAME
    {183, ErrorNo::PathFileAccess, Cause::AlreadyExists},    // ERROR_ALREADY_EXISTS
    {206, ErrorNo::BadFileName, Cause::NameTooLong},         // ERROR_FILENAME_EXCED_RANGE
    {267, ErrorNo::PathNotFound, Cause::NotAFolderOnTheWay}, // ERROR_DIRECTORY
    {1117, ErrorNo::DeviceIo, Cause::DiskIo},                // ERROR_IO_DEVICE
    {1295, ErrorNo::DiskFull, Cause::QuotaExceeded},         // ERROR_DISK_QUOTA_EXCEEDED
    {1920, ErrorNo::PathFileAccess, Cause::NotARegularFile}, // ERROR_CANT_ACCESS_FILE
    {1921, ErrorNo::PathFileAccess, Cause::LinkLoop},        // ERROR_CANT_RESOLVE_FILENAME
}};

const WindowsError* FindWindowsError(std::uint32_t code) {
    for (const WindowsError& known : kWindowsErrors) {
        if (known.Code == code) {
            return &known;
        }
    }
    return nullptr;
}

} // namespace

int ErrorNumberFromWindowsError(std::uint32_t code) {
    const WindowsError* known = FindWindowsError(code);
    return known != nullptr ? known->Number : ErrorNo::PathFileAccess;
}

std::string WindowsErrorCause(std::uint32_t code, FileAccess access) {
    if (const WindowsError* known = FindWindowsError(code)) {
        if (known->Cause == nullptr) {
            return AccessCause(access);
        }
        if (code == 2 && access == FileAccess::List) {
            return Cause::FolderMissing;
        }
        return known->Cause;
    }
    return "システムのエラーです（Windows のエラー " + std::to_string(code) + "）";
}

bool IsKnownWindowsError(std::uint32_t code) {
    return FindWindowsError(code) != nullptr;
}

std::string CauseOfErrorNumber(int number) {
    switch (number) {
    case ErrorNo::Overflow:
        return "数値が大きすぎます";
    case ErrorNo::OutOfMemory:
        return Cause::OutOfMemory;
    case ErrorNo::BadFileName:
        return "ファイル名が正しくありません";
    case ErrorNo::FileNotFound:
        return Cause::FileNotFound;
    case ErrorNo::DeviceIo:
        return Cause::DiskIo;
    case ErrorNo::DiskFull:
        return Cause::DiskFull;
    case ErrorNo::InputPastEnd:
        return "ファイルが途中で終わっています（フォームファイルではないか、壊れています）";
    case ErrorNo::PermissionDenied:
        return "権限がないか、ほかのプログラムが使用中です";
    case ErrorNo::PathFileAccess:
        return "ファイルを扱えませんでした";
    case ErrorNo::PathNotFound:
        return Cause::FolderMissing;
    case ErrorNo::InvalidProperty:
        return "読み込めない値があります";
    case ErrorNo::ClipboardOpen:
        return "クリップボードを使えません";
    default:
        return "原因がわかりません";
    }
}

} // namespace kelvaro

#include "platform/error_causes.h"

#include "platform/error.h"

#include <cerrno>
#include <cstring>

namespace kelvaro {

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
    case EDQUOT:
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
        break;
    case EROFS:
        return Cause::ReadOnlyDisk;
    case EWOULDBLOCK:
        return Cause::InUse;
    case ENOSPC:
        return Cause::DiskFull;
    case EDQUOT:
        return Cause::QuotaExceeded;
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

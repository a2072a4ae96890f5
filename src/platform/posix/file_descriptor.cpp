#include "platform/posix/file_descriptor.h"

#include "platform/error.h"
#include "platform/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kelvaro::fileio {

int FileDescriptor::Close() {
    if (fd_ < 0) {
        return 0;
    }
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0 || errno == EINTR ? 0 : errno;
}

bool HoldsNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
}

void CheckFileName(const std::string& path) {
    if (path.empty() || HoldsNul(path)) {
        throw RuntimeError(ErrorNo::BadFileName,
                           FailurePlace{path, "ファイル名が空か、使えない文字を含んでいます"},
                           "bad file name");
    }
}

std::string Describe(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

std::string OpenableFolder(const std::string& path) {
    const std::string folder = kelvaro::ParentFolder(path);
    return folder.empty() ? "." : folder;
}

void ThrowErrno(const std::string& what, const std::string& path, int error, FileAccess access) {
    throw RuntimeError(ErrorNumberFromErrno(error),
                       FailurePlace{path, FileErrorCause(error, access)},
                       Describe(what, path, error));
}

void ThrowOpenError(const std::string& what, const std::string& path, int error,
                    FileAccess access) {
    if (error == ENOENT && !IsDirectory(OpenableFolder(path))) {
        throw RuntimeError(ErrorNo::PathNotFound, FailurePlace{path, Cause::FolderMissing},
                           Describe(what, path, error));
    }
    ThrowErrno(what, path, error, access);
}

void ThrowNotRegular(const std::string& path, const struct stat& info) {
    throw RuntimeError(
        ErrorNo::PathFileAccess,
        FailurePlace{path, S_ISDIR(info.st_mode) ? Cause::NotAFile : Cause::NotARegularFile},
        "not a regular file: " + path);
}

std::size_t ReadSome(int fd, char* buffer, std::size_t size, const std::string& path) {
    for (;;) {
        ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            ThrowErrno("cannot read", path, errno, FileAccess::Read);
        }
    }
}

void WriteAll(int fd, std::string_view bytes, const std::string& path, off_t offset) {
    while (!bytes.empty()) {
        ssize_t done = offset < 0 ? ::write(fd, bytes.data(), bytes.size())
                                  : ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("cannot write", path, errno, FileAccess::Write);
        }
        if (done == 0) {
            // A regular file that accepts nothing and reports no error: treat it as a
            // device failure rather than spinning.
            throw RuntimeError(ErrorNo::DeviceIo,
                               FailurePlace{path, "ディスクに書き込めませんでした"},
                               "no progress writing " + path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
        if (offset >= 0) {
            offset += static_cast<off_t>(done);
        }
    }
}

void SyncFile(int fd, const std::string& path) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            ThrowErrno("cannot sync", path, errno, FileAccess::Write);
        }
    }
}

void SyncFolderBestEffort(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace kelvaro::fileio

#include "platform/private_folder.h"

#include "platform/error.h"
#include "platform/file_io.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace kelvaro {
namespace {

[[noreturn]] void Refuse(int number, const std::string& path, const std::string& cause) {
    throw RuntimeError(number, FailurePlace{path, cause}, "not a private folder: " + path);
}

// The folder's own metadata, read through a descriptor so that the folder
// checked is the folder opened; a link is accepted only when its owner is the user.
struct stat ExamineFolder(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        throw RuntimeError(ErrorNumberFromErrno(errno), FailurePlace{path, FileErrorCause(errno)},
                           "cannot examine " + path);
    }
    if (S_ISLNK(link.st_mode) && link.st_uid != ::geteuid()) {
        Refuse(ErrorNo::PermissionDenied, path, "ほかのユーザーが作ったシンボリックリンクです");
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOTDIR) {
            Refuse(ErrorNo::PathFileAccess, path, "フォルダではありません");
        }
        throw RuntimeError(ErrorNumberFromErrno(error), FailurePlace{path, FileErrorCause(error)},
                           "cannot open " + path);
    }
    struct stat info {};
    const int result = ::fstat(fd, &info);
    const int error = errno;
    ::close(fd);
    if (result != 0) {
        throw RuntimeError(ErrorNumberFromErrno(error), FailurePlace{path, FileErrorCause(error)},
                           "cannot examine " + path);
    }
    return info;
}

} // namespace

void MakePrivateFolder(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        Refuse(ErrorNo::BadFileName, path, "フォルダ名が空か、使えない文字を含んでいます");
    }
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    bool createdLast = false;
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end != folder.size() && folder[end] != '/') {
            continue;
        }
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0700) == 0) {
            createdLast = end == folder.size();
        } else if (errno != EEXIST) {
            const int error = errno;
            throw RuntimeError(ErrorNumberFromErrno(error),
                               FailurePlace{part, FileErrorCause(error)}, "cannot make " + part);
        }
    }
    if (createdLast) {
        // The umask may have taken bits from the owner too; the folder is ours.
        ::chmod(folder.c_str(), 0700);
    }
    const struct stat info = ExamineFolder(folder);
    if (!S_ISDIR(info.st_mode)) {
        Refuse(ErrorNo::PathFileAccess, folder, "フォルダではありません");
    }
    if (info.st_uid != ::geteuid()) {
        Refuse(ErrorNo::PermissionDenied, folder, "ほかのユーザーが所有するフォルダです");
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        Refuse(ErrorNo::PermissionDenied, folder, "ほかのユーザーも書き込めるフォルダです");
    }
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    return found != nullptr && found->pw_dir != nullptr ? std::string(found->pw_dir)
                                                        : std::string();
}

} // namespace kelvaro

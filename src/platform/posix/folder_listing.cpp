#include "platform/file_io.h"
#include "platform/posix/file_descriptor.h"

#include "platform/error.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {

using namespace fileio;

namespace {

bool StatPath(const std::string& path, struct stat& info) {
    return !path.empty() && !HoldsNul(path) && ::stat(path.c_str(), &info) == 0;
}

} // namespace

bool PathExists(const std::string& path) {
    struct stat info {};
    return StatPath(path, info);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return StatPath(path, info) && S_ISREG(info.st_mode);
}

std::vector<std::string> ListFileNames(const std::string& folder) {
    if (HoldsNul(folder)) {
        throw RuntimeError(ErrorNo::BadFileName,
                           FailurePlace{folder, "フォルダ名に使えない文字が含まれています"},
                           "bad folder name");
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        int error = errno;
        int number = error == ENOENT ? ErrorNo::PathNotFound : ErrorNumberFromErrno(error);
        throw RuntimeError(number, FailurePlace{folder, FileErrorCause(error, FileAccess::List)},
                           Describe("cannot list", folder, error));
    }
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            int error = errno;
            ::closedir(dir);
            if (error != 0) {
                ThrowErrno("cannot list", folder, error, FileAccess::List);
            }
            return names;
        }
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // Some file systems do not fill in d_type, and a link counts as what it
            // points to.
            struct stat info {};
            regular =
                ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) {
            names.emplace_back(name);
        }
    }
}

bool RemoveFile(const std::string& path) {
    return !path.empty() && !HoldsNul(path) && ::unlink(path.c_str()) == 0;
}

std::string ProgramFolder() {
    std::string target(256, '\0');
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0) {
            // No /proc: the working folder is the best remaining guess.
            return ".";
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    return OpenableFolder(target);
}

std::vector<std::string> ListOtherEntryNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = HoldsNul(folder) ? nullptr : ::opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat info {};
        if (name != "." && name != ".." &&
            ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            !S_ISREG(info.st_mode)) {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

} // namespace kelvaro

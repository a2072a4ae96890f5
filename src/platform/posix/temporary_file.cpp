#include "platform/posix/temporary_file.h"

#include <array>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvaro::fileio {
namespace {

constexpr std::string_view kPrefix = ".kelvaro-";
constexpr std::size_t kRandomLength = 6;
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string RandomName() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomLength; ++i) {
        name += kLetters[pick(generator)];
    }
    return name;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `name` in the folder is still the file open at `fd`.
bool StillNamed(int folder, const std::string& name, int fd) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 &&
           ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           SameFile(open, named);
}

std::vector<std::string> TemporaryNamesIn(int folder) {
    std::vector<std::string> names;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return names;
    }
    DIR* dir = ::fdopendir(listing);
    if (dir == nullptr) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTemporaryName(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    return names;
}

} // namespace

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kPrefix.size() + kRandomLength ||
        name.substr(0, kPrefix.size()) != kPrefix) {
        return false;
    }
    return name.find_first_not_of(kLetters, kPrefix.size()) == std::string_view::npos;
}

int CreateTemporaryFile(int folder, TemporaryFile& made) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string name = RandomName();
        made.File.Reset(::openat(folder, name.c_str(),
                                 O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!made.File.IsOpen()) {
            if (errno == EEXIST) {
                continue;
            }
            return errno;
        }
        // Another save may have found the file in the moment before the lock
        // and taken it for a leftover: it holds the lock, or has removed the
        // name. That one is its to remove; this save makes another.
        if (::flock(made.File.Get(), LOCK_EX | LOCK_NB) != 0 ||
            !StillNamed(folder, name, made.File.Get())) {
            made.File.Close();
            continue;
        }
        made.Lock.Reset(::fcntl(made.File.Get(), F_DUPFD_CLOEXEC, 0));
        if (!made.Lock.IsOpen()) {
            const int error = errno;
            made.File.Close();
            ::unlinkat(folder, name.c_str(), 0);
            return error;
        }
        made.Name = std::move(name);
        return 0;
    }
    return EEXIST;
}

void RemoveStaleTemporaryFiles(int folder) {
    for (const std::string& name : TemporaryNamesIn(folder)) {
        const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
        FileDescriptor file(::openat(folder, name.c_str(), O_RDONLY | flags));
        if (!file.IsOpen()) {
            // A save had given it the target's mode, which may deny reading.
            file.Reset(::openat(folder, name.c_str(), O_WRONLY | flags));
        }
        struct stat info {};
        if (!file.IsOpen() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid() || info.st_nlink != 1) {
            continue;
        }
        if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
            continue; // a running save holds it
        }
        if (StillNamed(folder, name, file.Get())) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
}

} // namespace kelvaro::fileio

#include "platform/held_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {

std::optional<HeldLock> HeldLock::TryTake(const std::string& path) {
    // Whoever holds a lock may remove its file: a lock taken on a file that
    // was removed meanwhile holds nothing, so the file is opened again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            return std::nullopt;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return std::nullopt;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            return HeldLock(path, fd);
        }
        ::close(fd);
    }
    return std::nullopt;
}

void HeldLock::RemoveAndRelease() {
    if (held_ >= 0) {
        ::unlink(path_.c_str());
    }
    Release();
}

void HeldLock::Release() {
    if (held_ >= 0) {
        ::close(static_cast<int>(held_));
        held_ = -1;
    }
}

} // namespace kelvaro

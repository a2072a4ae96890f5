#include "platform/held_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <utility>

namespace kelvaro {

std::optional<HeldLock> HeldLock::TryTake(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return HeldLock(path, fd);
}

HeldLock::HeldLock(HeldLock&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

HeldLock& HeldLock::operator=(HeldLock&& other) noexcept {
    if (this != &other) {
        Release();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

HeldLock::~HeldLock() {
    Release();
}

void HeldLock::RemoveAndRelease() {
    if (fd_ >= 0) {
        ::unlink(path_.c_str());
    }
    Release();
}

void HeldLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace kelvaro

#include "platform/held_lock.h"

#include <utility>

namespace kelvaro {

// Taking, removing and letting go of the lock are the system's
// (posix/held_lock.cpp, win32/held_lock.cpp); owning it is the same everywhere.

HeldLock::HeldLock(HeldLock&& other) noexcept
    : path_(std::move(other.path_)), held_(std::exchange(other.held_, -1)) {}

HeldLock& HeldLock::operator=(HeldLock&& other) noexcept {
    if (this != &other) {
        Release();
        path_ = std::move(other.path_);
        held_ = std::exchange(other.held_, -1);
    }
    return *this;
}

HeldLock::~HeldLock() {
    Release();
}

} // namespace kelvaro

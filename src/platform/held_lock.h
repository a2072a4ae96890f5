#pragma once

// An exclusive lock on a small file of its own, held for as long as the object
// lives (a running program holds the lock on its recovery journal for its whole
// life). The kernel lets go of it when the process dies, however it dies, so a
// lock that can be taken means its holder is gone.

#include <cstdint>
#include <optional>
#include <string>

namespace kelvaro {

class HeldLock {
public:
    // Creates the lock file when missing (mode 0600) and takes its lock without
    // waiting; nullopt when another open file holds it.
    static std::optional<HeldLock> TryTake(const std::string& path);

    HeldLock(HeldLock&& other) noexcept;
    HeldLock& operator=(HeldLock&& other) noexcept;
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    ~HeldLock();

    const std::string& Path() const { return path_; }
    // Removes the lock file, then lets go of the lock.
    void RemoveAndRelease();

private:
    // A descriptor on POSIX, a HANDLE on Windows; -1 is none on both.
    HeldLock(std::string path, std::intptr_t held) : path_(std::move(path)), held_(held) {}
    void Release();

    std::string path_;
    std::intptr_t held_ = -1;
};

} // namespace kelvaro

#include "platform/held_lock.h"

#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace kelvaro {
namespace {

using FileId = std::pair<std::uint64_t, std::uint64_t>; // volume, index

std::optional<FileId> IdOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The files this process holds a lock on. Windows refuses a second lock on a
// file even to the process that holds the first, as flock does on Linux, but
// Wine lets the holder's own process take it again; the program asks whether
// its own journal is held, so that answer is kept here the same everywhere.
std::mutex& HeldMutex() {
    static std::mutex mutex;
    return mutex;
}
// By the handle that holds each, so that letting go needs nothing of a file
// that may be gone by then.
std::map<std::intptr_t, FileId>& HeldHere() {
    static std::map<std::intptr_t, FileId> held;
    return held;
}

} // namespace

std::optional<HeldLock> HeldLock::TryTake(const std::string& path) {
    // Whoever holds a lock may remove its file (everyone opens it sharing
    // deletion): a lock taken on a file that was removed meanwhile holds
    // nothing, so the file is opened again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        win32::Handle file(win32::OpenFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_HIDDEN));
        if (!file.IsOpen() || win32::LockWhole(file.Get(), true) != 0) {
            return std::nullopt;
        }
        const win32::Handle named(win32::OpenFile(path, 0, OPEN_EXISTING));
        const std::optional<FileId> id = IdOf(file.Get());
        if (id && named.IsOpen() && IdOf(named.Get()) == id) {
            std::lock_guard<std::mutex> hold(HeldMutex());
            if (std::any_of(HeldHere().begin(), HeldHere().end(),
                            [&](const auto& entry) { return entry.second == *id; })) {
                return std::nullopt;
            }
            const auto held = reinterpret_cast<std::intptr_t>(file.Release());
            HeldHere().emplace(held, *id);
            return HeldLock(path, held);
        }
    }
    return std::nullopt;
}

void HeldLock::RemoveAndRelease() {
    if (held_ >= 0) {
        ::DeleteFileW(win32::WidePath(path_).c_str());
    }
    Release();
}

void HeldLock::Release() {
    if (held_ >= 0) {
        {
            std::lock_guard<std::mutex> hold(HeldMutex());
            HeldHere().erase(held_);
        }
        // Closing the last handle lets go of its locks.
        ::CloseHandle(reinterpret_cast<HANDLE>(held_));
        held_ = -1;
    }
}

} // namespace kelvaro

#include "platform/held_lock.h"

#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

namespace kelvaro {
namespace {

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return ::GetFileInformationByHandle(a, &first) && ::GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
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
        if (named.IsOpen() && SameFile(file.Get(), named.Get())) {
            HANDLE held = file.Get();
            file.Reset(INVALID_HANDLE_VALUE);
            return HeldLock(path, reinterpret_cast<std::intptr_t>(held));
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
        // Closing the last handle lets go of its locks.
        ::CloseHandle(reinterpret_cast<HANDLE>(held_));
        held_ = -1;
    }
}

} // namespace kelvaro

#pragma once

// The pieces every file job of the Windows platform layer shares: an owned
// handle, whole-file locks, reads and writes that report against the file the
// user named, and the failures they throw. Internal to platform/.

#include "platform/error_causes.h"
#include "platform/file_replace_internal.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace kelvaro::win32 {

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return handle_; }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }
    // Gives the handle up to the caller, who closes it.
    HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
    void Close() {
        if (IsOpen()) {
            ::CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

// Every other Kelvaro and program may open the file too; the locks, not the
// sharing mode, keep writers apart, as on Linux. Sharing deletion lets a save
// replace a file another run is reading.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Refuses an empty name, one holding a NUL, and one Windows would take for a
// device or change (BadFileName).
using fileio::CheckFileName;

// The attributes of whatever `path` names, following reparse points, or
// INVALID_FILE_ATTRIBUTES with the reason in GetLastError().
DWORD AttributesOf(const std::string& path);

// Opens `path` with `access`, sharing everything, as CreateFileW's
// `disposition` says; INVALID_HANDLE_VALUE with GetLastError() on failure.
HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition, DWORD flags = 0);

// Takes a lock on the whole file (and all it may grow to) without waiting.
// Returns 0, or the Windows error: ERROR_LOCK_VIOLATION when another holds it.
DWORD LockWhole(HANDLE file, bool exclusive);

std::string Describe(const std::string& what, const std::string& path, DWORD code);
[[noreturn]] void ThrowWindowsError(const std::string& what, const std::string& path, DWORD code,
                                    FileAccess access);
// Throws for a handle that is no regular file: a folder, a device, a pipe.
void CheckRegularFile(HANDLE file, const std::string& path);

std::size_t ReadSome(HANDLE file, char* buffer, std::size_t size, const std::string& path);
std::string ReadToEnd(HANDLE file, const std::string& path);
// Writes the bytes at `offset`, or where the file pointer stands when negative.
void WriteAll(HANDLE file, std::string_view bytes, const std::string& path,
              std::int64_t offset = -1);
void Truncate(HANDLE file, std::int64_t size, const std::string& path);
void SyncFile(HANDLE file, const std::string& path);

} // namespace kelvaro::win32

#pragma once

// The pieces every file job of the platform shares: an owned descriptor, reads
// and writes that retry and report against the file the user named, syncing,
// and the failures they throw. Internal to platform/: callers use file_io.h.

#include "platform/error_causes.h"
#include "platform/file_replace_internal.h"
#include "platform/paths.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace kelvaro::fileio {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Gives the descriptor up to the caller, who closes it.
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    // Returns close()'s errno, or 0. On Linux the descriptor is gone even when
    // close() reports EINTR, so it is never retried.
    int Close();

private:
    int fd_;
};

bool HoldsNul(const std::string& path);

// The folder part of a path as open() takes it: "." for a bare name.
std::string OpenableFolder(const std::string& path);

std::string Describe(const std::string& what, const std::string& path, int error);
[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path, int error,
                             FileAccess access);
// ENOENT alone cannot tell a missing file from a missing folder on the way; the
// user is told which of the two it was.
[[noreturn]] void ThrowOpenError(const std::string& what, const std::string& path, int error,
                                 FileAccess access);
[[noreturn]] void ThrowNotRegular(const std::string& path, const struct stat& info);

// Reads once, retrying on interruption; returns the byte count (0 at the end).
std::size_t ReadSome(int fd, char* buffer, std::size_t size, const std::string& path);

// Writes the bytes at `offset`, or where the file position stands when `offset`
// is negative. Failures are reported against `path`, the file the user chose:
// a temporary file is no name the user knows.
void WriteAll(int fd, std::string_view bytes, const std::string& path, off_t offset = -1);

void SyncFile(int fd, const std::string& path);

// Without this a rename may not survive a power cut; a folder that cannot be
// synced (some network file systems) does not make the save fail.
void SyncFolderBestEffort(const std::string& folder);

} // namespace kelvaro::fileio

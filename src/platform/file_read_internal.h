#pragma once

// A file opened for reading, as every system opens it: an existing regular
// file (never a folder, a device or a pipe) under a shared lock, so no save
// of this program replaces it half-read. Internal to platform/.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvaro::fileio {

class OpenedFile {
public:
    // Throws the failure the user is told (the file is missing, locked, a
    // folder, ...).
    explicit OpenedFile(const std::string& path);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    // The size the file had when it was opened.
    std::size_t Size() const { return size_; }
    // Reads up to `count` bytes; 0 at the end of the file.
    std::size_t Read(char* into, std::size_t count);

private:
    const std::string& path_;
    // The system's own handle of the file.
    std::intptr_t handle_ = -1;
    std::size_t size_ = 0;
};

} // namespace kelvaro::fileio

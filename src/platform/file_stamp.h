#pragma once

// What a file was when Kelvaro last read or wrote it: which file (device and
// inode), how long, and when it last changed. A save compares it with the file
// as it is now, so that what another program (or another Kelvaro) saved into the
// file meanwhile is not thrown away without a word.

#include <cstdint>
#include <optional>
#include <string>

namespace kelvaro {

struct FileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedSeconds = 0;
    std::int64_t ModifiedNanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a path names (a symbolic link is followed, as a write
// follows it); nullopt when there is no such file or it cannot be looked at.
std::optional<FileStamp> StampOf(const std::string& path);

} // namespace kelvaro

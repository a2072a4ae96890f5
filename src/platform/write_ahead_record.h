#pragma once

// The write-ahead file's content, the same on every system: a first line that
// names the format, then "<device> <file id> <old size> <path length> <new
// size>", the target's path, a line end and the new content. A file that does
// not add up was cut while it was written, before the target was touched.
// Internal to platform/.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro::fileio {

inline constexpr std::string_view kWriteAheadPrefix = "write-ahead-";
// The name a write-ahead file has while it is being written.
inline constexpr std::string_view kUnfinishedWriteAheadPrefix = ".write-ahead-";

struct WriteAheadRecord {
    std::uint64_t Device = 0; // the volume
    std::uint64_t Inode = 0;  // the file on it
    std::string Target;
    std::string_view Bytes; // in the text it was parsed from
};

// Everything before the new content.
std::string WriteAheadHeader(std::uint64_t device, std::uint64_t inode, std::uint64_t oldSize,
                             const std::string& target, std::size_t newSize);

// False for a text that is not a whole write-ahead file.
bool ParseWriteAhead(std::string_view text, WriteAheadRecord& record);

// The folder set at start for write-ahead files ("" while none is).
void SetConfiguredWriteAheadFolder(const std::string& folder);
std::string ConfiguredWriteAheadFolder();

} // namespace kelvaro::fileio

#pragma once

// The write-ahead file's content, the same on every system: a first line that
// names the format, then "<device> <file id> <old size> <path length> <new
// size>", the target's path, a line end and the new content. A file that does
// not add up was cut while it was written, before the target was touched.
// Also what every system does alike with the files left by a killed run.
// Internal to platform/.

#include "platform/file_io.h"

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

// The private folders write-ahead files go to, in the order they are tried:
// the state folder set at start (or the program's own when none was set), then
// the user's own in the temporary folder.
std::vector<std::string> WriteAheadFolders();

// Each system's own:
// The user's own folder for write-ahead files in the temporary folder, or ""
// when the system names none.
std::string TemporaryWriteAheadFolder();
// Takes the write-ahead file left at `path` unless a running write holds it.
// A `named` one (whole when it was left) is finished: its target gets the
// content it records, which `done` then names. The file goes once nothing is
// left to do; one whose target is busy stays for a later run.
void TakeLeftWriteAhead(const std::string& folder, const std::string& path, bool named,
                        std::vector<ResumedWrite>& done);

} // namespace kelvaro::fileio

#pragma once

// The write-ahead file that makes a write in place survive a kill. Before the
// target is touched its new content is written whole and synced to a file of
// the program's own, with the target's path and identity; only then is the
// target written, truncated and synced, and the write-ahead file removed. A run
// killed in between leaves the write-ahead file, and the next run finishes the
// write from it (file_io.h: FinishInterruptedWrites). Internal to platform/.

#include "platform/posix/file_descriptor.h"
#include "platform/write_ahead_record.h"

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace kelvaro::fileio {

class WriteAhead {
public:
    // Writes, syncs and names the write-ahead file for writing `bytes` over
    // `target` (whose metadata is `info`), and holds its lock so that no other
    // run takes it for a leftover. Throws when no folder could take it.
    WriteAhead(const std::string& target, const struct stat& info, std::string_view bytes);
    // Removes the file: the write is done, or was undone.
    ~WriteAhead();
    WriteAhead(const WriteAhead&) = delete;
    WriteAhead& operator=(const WriteAhead&) = delete;

    const std::string& Path() const { return path_; }

private:
    FileDescriptor file_;
    std::string path_;
};

} // namespace kelvaro::fileio

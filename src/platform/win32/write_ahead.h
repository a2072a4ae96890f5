#pragma once

// The write-ahead file that makes a write in place survive a kill (the same
// scheme and content as on POSIX: platform/write_ahead_record.h). Internal to
// platform/.

#include "platform/win32/file_handle.h"
#include "platform/write_ahead_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvaro::win32 {

using fileio::WriteAheadFolders;

// A new file named `stem` and six random letters or digits, open for reading,
// writing and renaming, shared for reading only; `made` is its path. On
// failure INVALID_HANDLE_VALUE, with the reason in GetLastError().
HANDLE CreateUniqueFile(const std::string& stem, std::string& made);

// A file of its own that keeps bytes the target could not take: in `folder`,
// named after `target`; its path, or "" when none could be made.
std::string KeepBytes(const std::string& folder, const std::string& target, std::string_view bytes);

class WriteAhead {
public:
    // Writes, flushes and names the write-ahead file for writing `bytes` over
    // `target`, open at `file`, and holds its lock so that no other run takes
    // it for a leftover. Throws when no folder could take it.
    WriteAhead(const std::string& target, HANDLE file, std::string_view bytes);
    // Removes the file: the write is done, or was undone.
    ~WriteAhead();
    WriteAhead(const WriteAhead&) = delete;
    WriteAhead& operator=(const WriteAhead&) = delete;

private:
    Handle file_;
    std::string path_;
};

} // namespace kelvaro::win32

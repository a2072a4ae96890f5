#pragma once

// Whole files, read and written under locks. A write normally goes to a
// temporary file in the target's folder which is renamed over the target at the
// end, so a failure at any step leaves the previous file byte for byte as it was.
// Failures are RuntimeErrors with the numbers of platform/error.h, each naming
// the file and its cause.

#include "platform/error_causes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// Locks the target against other processes (non-blocking; a lock held elsewhere
// is PermissionDenied), writes `bytes` to a temporary file beside it, syncs it and
// renames it over the target.
//
// A symbolic link is followed to the file it points to, which is written (and
// created when missing) while the link stays; in a shared sticky folder only a
// link of the user's or of the folder's owner is followed, as the kernel's
// protected_symlinks rule has it, and any other is refused with its cause. A file with other hard
// links, and a writable file in a folder where no temporary file can be made or renamed over it,
// are written in place with their own mode, owner and links; should that write fail, the previous
// bytes are put back, or else the new bytes are kept in a file of their own whose path the
// failure's cause gives.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

// Writes a file the program names itself (the browser page, say) into `folder`,
// which is made private first (MakePrivateFolder; a folder others may write is
// refused), as WriteFileReplacing does but without following any link: a link
// at `name` is refused.
void WriteOwnFile(const std::string& folder, const std::string& name, std::string_view bytes);

// Opens the file, takes a shared lock (non-blocking), reads it whole, closes it.
std::string ReadWholeFile(const std::string& path);

// Opens the file under a shared lock and reads up to the first line end (CR LF
// or a lone CR; the end of the file also ends it). `hadLine` tells whether the
// file held anything at all.
std::string ReadFirstLine(const std::string& path, bool& hadLine);

bool PathExists(const std::string& path); // anything: folder, file, ...
bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);

// Names (not paths) of the regular files directly in `folder`, unsorted.
// Throws when the folder cannot be read.
std::vector<std::string> ListFileNames(const std::string& folder);
// Names of the entries directly in `folder` that are not plain files: links
// (whatever they point to), folders, FIFOs, devices, sockets. None when the
// folder cannot be read.
std::vector<std::string> ListOtherEntryNames(const std::string& folder);

// Removes a file; false when it could not be removed (no message is due).
bool RemoveFile(const std::string& path);

// The folder of the running executable, without a trailing separator.
std::string ProgramFolder();

// A write in place (see WriteFileReplacing) first keeps its new content whole
// in a write-ahead file in the state folder, so that a run killed part way
// leaves the target's new content behind. This finishes what such runs left:
// each target that is still the same file (device and inode) gets its new
// content; for any other the content is kept in a file beside the write-ahead
// file. It also makes `stateFolder` (when not empty) the folder later writes
// use. Called once at start; returns what it did, for the caller to tell.
struct ResumedWrite {
    std::string Path;   // the file that was being written
    bool Completed;     // its new content is in it now
    std::string KeptAt; // when not: where the new content was kept ("" if nowhere)
};
std::vector<ResumedWrite> FinishInterruptedWrites(const std::string& stateFolder);

// Fault injection for tests: called before each step of WriteFileReplacing with
// the step's name ("open", "lock", "write", "fsync", "rename"; a write in place
// has no "rename" but "write-ahead" before the write-ahead file, "truncate"
// before cutting the target to its new size and "forget" before the write-ahead
// file is removed, and calls "restore" before it puts the previous bytes back).
// A hook that throws makes that step fail. Empty in the product.
using WriteFaultHook = std::function<void(std::string_view step)>;
void SetWriteFaultHook(WriteFaultHook hook);

} // namespace kelvaro

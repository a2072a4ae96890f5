#pragma once

// What writing a whole file shares on every system: the fault hook the tests
// set, the words a failed in-place write ends in, and the two steps each
// system supplies for itself. Internal to platform/.

#include "platform/error.h"
#include "platform/file_links.h"

#include <string>
#include <string_view>

namespace kelvaro::fileio {

// Refuses an empty name, one holding a NUL, and (on Windows) one the system
// would take for a device or change (BadFileName).
void CheckFileName(const std::string& path);

// Runs the fault hook at a named step of a write, when one is set.
void RunFaultHook(std::string_view step);

// Gives `target` the content `bytes` as one step: a reader, a kill or a full
// disk leaves the old content or the new one whole, never a mix.
void ReplaceContents(const std::string& target, std::string_view bytes);

// A write in place failed after it had touched the file, and the old content
// could not be put back: the failure says so, and names `kept`, the file the
// new content was saved in instead (empty when it could be saved nowhere).
void SayUnrestoredWrite(RuntimeError& error, const std::string& path, const std::string& kept);

} // namespace kelvaro::fileio

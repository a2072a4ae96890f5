#pragma once

// The temporary file a save writes beside its target before renaming it over
// the target. Internal to platform/.
//
// Its name is short and fixed in length (".kelvaro-" and six letters or
// digits), and it is made relative to the folder's descriptor, so that any
// target that can be opened leaves room for it whatever the length of its path.
// The save holds a lock on it from the moment it exists until it is renamed or
// removed; a file of that name that nobody holds is what a save killed part way
// left, and the next save in the folder removes it.

#include "platform/posix/file_descriptor.h"

#include <string>
#include <string_view>

namespace kelvaro::fileio {

// Whether a name is one a temporary file of a save is given.
bool IsTemporaryName(std::string_view name);

struct TemporaryFile {
    FileDescriptor File; // open for writing, mode 0600
    FileDescriptor Lock; // the same open file: holds the lock when File is closed
    std::string Name;    // in the folder it was made in
};

// Makes a temporary file in the folder open at `folder`, locked. Returns 0, or
// the errno of the failure.
int CreateTemporaryFile(int folder, TemporaryFile& made);

// Removes from the folder open at `folder` every regular file of this user with
// a temporary name whose lock is free. Removes what it can and never fails.
void RemoveStaleTemporaryFiles(int folder);

} // namespace kelvaro::fileio

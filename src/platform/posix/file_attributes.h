#pragma once

// What a file replaced through a temporary file must keep besides its bytes.
// Internal to platform/.

#include <string>
#include <sys/stat.h>

namespace kelvaro::fileio {

// Gives the file open at `to` (a temporary file, written but not yet renamed)
// the owner, mode, access ACL and extended attributes of the file open at `from`
// (the target, whose metadata is `info`), as `cp --preserve=all` would, so that
// the file that replaces the target grants nobody more than the target did:
// an ACL a folder's default ACL gave the temporary file is taken away again when
// the target has none. An attribute this user may not set (security.* or
// trusted.* without the power to) is left out without failing the save; any
// other failure throws against `path`, the file the user chose.
void CopyFileAttributes(int from, const struct stat& info, int to, const std::string& path);

} // namespace kelvaro::fileio

#pragma once

// Following a symbolic link the user chose as a target, each system as it
// follows links (the rules below are POSIX's). Internal to platform/.

#include <string>

namespace kelvaro::fileio {

// The file a path finally names: a symbolic link is followed, link after link,
// to the file it points to, which need not exist yet. Saving through a link then
// writes the file behind it and keeps the link. A link, or a folder on the way
// that is a link, is followed only where the kernel's protected_symlinks rule
// would follow it; otherwise the save is refused (PermissionDenied) with a cause
// that says why. The caller opens the result with O_NOFOLLOW, so a link put
// there after this check is not followed either.
std::string FollowLinks(const std::string& path);

} // namespace kelvaro::fileio

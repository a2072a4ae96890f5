#pragma once

// Following a symbolic link the user chose as a target. Internal to platform/.

#include <string>

namespace kelvaro::fileio {

// The file a path finally names: a symbolic link is followed, link after link,
// to the file it points to, which need not exist yet. Saving through a link then
// writes the file behind it and keeps the link.
std::string FollowLinks(const std::string& path);

} // namespace kelvaro::fileio

#include "platform/file_links.h"

#include "platform/file_descriptor.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvaro::fileio {

std::string FollowLinks(const std::string& path) {
    constexpr int MaxLinks = 40; // as the kernel's own limit
    std::string current = path;
    for (int hops = 0; hops < MaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string target(256, '\0');
        for (;;) {
            ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length < 0) {
                ThrowErrno("cannot follow the link", current, errno, FileAccess::Read);
            }
            if (static_cast<std::size_t>(length) < target.size()) {
                target.resize(static_cast<std::size_t>(length));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty()) {
            return current;
        }
        if (target.front() == '/') {
            current = std::move(target);
        } else {
            // Relative to the folder the link is in.
            current = WithSlash(ParentFolder(current)).append(target);
        }
    }
    ThrowErrno("too many links at", path, ELOOP, FileAccess::Write);
}

} // namespace kelvaro::fileio

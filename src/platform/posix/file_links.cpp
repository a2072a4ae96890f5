#include "platform/file_links.h"

#include "platform/error.h"
#include "platform/posix/file_descriptor.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvaro::fileio {

namespace {

// The kernel's protected_symlinks rule, applied whether or not the system has
// it switched on: in a sticky folder anyone may write, such as /tmp, a link is
// followed only when it belongs to the user or to the folder's owner. Anyone
// else could have planted it to make the user's save overwrite a file of the
// user's choosing.
void CheckLinkMayBeFollowed(const std::string& link, const struct stat& info,
                            const std::string& chosen) {
    struct stat folder {};
    if (::stat(OpenableFolder(link).c_str(), &folder) != 0) {
        return; // nothing to follow into: the open reports it
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (shared && info.st_uid != ::geteuid() && info.st_uid != folder.st_uid) {
        throw RuntimeError(ErrorNo::PermissionDenied,
                           FailurePlace{chosen, Cause::ForeignLinkInSharedFolder},
                           "a link planted by another user: " + link);
    }
}

// Every folder on the way that is a link is held to the same rule as the file's
// own link.
void CheckFoldersOnTheWay(const std::string& path, const std::string& chosen) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        struct stat info {};
        if (::lstat(prefix.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            CheckLinkMayBeFollowed(prefix, info, chosen);
        }
    }
}

} // namespace

std::string FollowLinks(const std::string& path) {
    constexpr int MaxLinks = 40; // as the kernel's own limit
    std::string current = path;
    for (int hops = 0; hops < MaxLinks; ++hops) {
        CheckFoldersOnTheWay(current, path);
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        CheckLinkMayBeFollowed(current, info, path);
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
            current = WithTrailingBackslash(OpenableFolder(current)).append(target);
        }
    }
    ThrowErrno("too many links at", path, ELOOP, FileAccess::Write);
}

} // namespace kelvaro::fileio

#include "platform/posix/file_attributes.h"

#include "platform/posix/file_descriptor.h"

#include <cerrno>
#include <optional>
#include <string_view>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace kelvaro::fileio {
namespace {

// The ACL is an extended attribute like any other, but setting it also sets the
// mode's permission bits (the group bits become its mask).
constexpr const char* kAccessAcl = "system.posix_acl_access";

// What the file system or this user's powers allow not to be copied: the
// target keeps it, the new file goes without.
bool NotForThisUser(int error) {
    return error == ENOTSUP || error == EPERM || error == EACCES;
}

std::vector<std::string> AttributeNames(int fd, const std::string& path) {
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0 && NotForThisUser(errno)) {
            return {};
        }
        if (size < 0) {
            ThrowErrno("cannot list the attributes of", path, errno, FileAccess::Read);
        }
        std::string list(static_cast<std::size_t>(size), '\0');
        const ssize_t got = size == 0 ? 0 : ::flistxattr(fd, list.data(), list.size());
        if (got < 0 && errno == ERANGE) {
            continue; // one was added in between
        }
        if (got < 0) {
            ThrowErrno("cannot list the attributes of", path, errno, FileAccess::Read);
        }
        list.resize(static_cast<std::size_t>(got));
        std::vector<std::string> names;
        for (std::size_t start = 0; start < list.size();) {
            const std::size_t end = list.find('\0', start);
            const std::size_t stop = end == std::string::npos ? list.size() : end;
            if (stop > start) {
                names.push_back(list.substr(start, stop - start));
            }
            start = stop + 1;
        }
        return names;
    }
}

// nullopt: the file has no such attribute (any more), or this user may not read it.
std::optional<std::string> AttributeValue(int fd, const std::string& name,
                                          const std::string& path) {
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        if (size < 0 && (errno == ENODATA || NotForThisUser(errno))) {
            return std::nullopt;
        }
        if (size < 0) {
            ThrowErrno("cannot read the attributes of", path, errno, FileAccess::Read);
        }
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got =
            size == 0 ? 0 : ::fgetxattr(fd, name.c_str(), value.data(), value.size());
        if (got < 0 && errno == ERANGE) {
            continue;
        }
        if (got < 0 && (errno == ENODATA || NotForThisUser(errno))) {
            return std::nullopt;
        }
        if (got < 0) {
            ThrowErrno("cannot read the attributes of", path, errno, FileAccess::Read);
        }
        value.resize(static_cast<std::size_t>(got));
        return value;
    }
}

} // namespace

void CopyFileAttributes(int from, const struct stat& info, int to, const std::string& path) {
    // The owner first: a change of owner clears the set-user-ID bit and
    // security.capability, which are set again below. Only root may give the
    // file another owner; anyone may give it another group they belong to, and
    // the group matters, since the group's permissions are given to it. What
    // cannot be kept leaves the file the saving user's.
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
        if (::fchown(to, info.st_uid, info.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(to, static_cast<uid_t>(-1), info.st_gid);
        }
    }

    const std::vector<std::string> names = AttributeNames(from, path);
    bool hasAcl = false;
    for (const std::string& name : names) {
        hasAcl = hasAcl || name == kAccessAcl;
    }
    if (!hasAcl && ::fremovexattr(to, kAccessAcl) != 0 && errno != ENODATA &&
        !NotForThisUser(errno)) {
        ThrowErrno("cannot set the permissions of", path, errno, FileAccess::Write);
    }
    for (const std::string& name : names) {
        const std::optional<std::string> value = AttributeValue(from, name, path);
        if (!value) {
            continue;
        }
        if (::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0 &&
            !NotForThisUser(errno)) {
            ThrowErrno("cannot copy the attributes of", path, errno, FileAccess::Write);
        }
    }
    // Last: with an ACL the mode's group bits are its mask, which the ACL has
    // just set to the same value; without one they are the group's own. The
    // set-ID and sticky bits come only from here.
    if (::fchmod(to, info.st_mode & 07777) != 0) {
        ThrowErrno("cannot set the permissions of", path, errno, FileAccess::Write);
    }
}

} // namespace kelvaro::fileio

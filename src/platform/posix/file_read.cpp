#include "platform/file_read_internal.h"
#include "platform/posix/file_descriptor.h"

#include "platform/error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro::fileio {

// O_NONBLOCK keeps a FIFO from hanging the program; anything but a regular
// file is refused.
OpenedFile::OpenedFile(const std::string& path) : path_(path) {
    CheckFileName(path);
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsOpen()) {
        ThrowOpenError("cannot open", path, errno, FileAccess::Read);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        ThrowErrno("cannot examine", path, errno, FileAccess::Read);
    }
    if (!S_ISREG(info.st_mode)) {
        ThrowNotRegular(path, info);
    }
    if (::flock(file.Get(), LOCK_SH | LOCK_NB) != 0) {
        ThrowErrno("cannot lock", path, errno, FileAccess::Read);
    }
    size_ = static_cast<std::size_t>(info.st_size);
    handle_ = file.Release();
}

OpenedFile::~OpenedFile() {
    FileDescriptor(static_cast<int>(handle_)).Close();
}

std::size_t OpenedFile::Read(char* into, std::size_t count) {
    return ReadSome(static_cast<int>(handle_), into, count, path_);
}

} // namespace kelvaro::fileio

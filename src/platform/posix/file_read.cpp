#include "platform/file_io.h"
#include "platform/posix/file_descriptor.h"

#include "platform/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {

using namespace fileio;

namespace {

// Opens an existing regular file for reading under a shared lock and returns its
// size. O_NONBLOCK keeps a FIFO from hanging the program; anything but a regular
// file is refused.
std::size_t OpenForReading(const std::string& path, FileDescriptor& file) {
    CheckFileName(path);
    file.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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
    return static_cast<std::size_t>(info.st_size);
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    FileDescriptor file;
    const std::size_t size = OpenForReading(path, file);
    // Straight into a string of the file's size: a large form file is then
    // neither copied each time the string outgrows itself nor held twice while
    // that happens. A file that is longer than it said is read on to its end.
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t got = ReadSome(file.Get(), bytes.data() + done, bytes.size() - done, path);
        if (got == 0) {
            break;
        }
        done += got;
    }
    bytes.resize(done);
    if (done < size) {
        return bytes;
    }
    char buffer[65536];
    for (;;) {
        std::size_t got = ReadSome(file.Get(), buffer, sizeof buffer, path);
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    return bytes;
}

std::string ReadFirstLine(const std::string& path, bool& hadLine) {
    hadLine = false;
    FileDescriptor file;
    OpenForReading(path, file);
    // Every line end starts with CR, so the first CR ends the line; the LF that may
    // follow it is never needed, and nothing past it is read.
    std::string line;
    char buffer[4096];
    for (;;) {
        std::size_t got = ReadSome(file.Get(), buffer, sizeof buffer, path);
        if (got == 0) {
            break;
        }
        hadLine = true;
        const char* end = static_cast<const char*>(std::memchr(buffer, '\r', got));
        if (end != nullptr) {
            line.append(buffer, static_cast<std::size_t>(end - buffer));
            break;
        }
        line.append(buffer, got);
    }
    return line;
}

} // namespace kelvaro

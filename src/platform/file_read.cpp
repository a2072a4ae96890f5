// Reading a whole file, or its first line, on every system alike; opening it
// is the system's own (platform/<system>/file_read.cpp).

#include "platform/file_io.h"
#include "platform/file_read_internal.h"

#include <cstring>

namespace kelvaro {

std::string ReadWholeFile(const std::string& path) {
    fileio::OpenedFile file(path);
    // Straight into a string of the file's size: a large form file is then
    // neither copied each time the string outgrows itself nor held twice while
    // that happens. A file that is longer than it said is read on to its end.
    std::string bytes(file.Size(), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t got = file.Read(bytes.data() + done, bytes.size() - done);
        if (got == 0) {
            break;
        }
        done += got;
    }
    bytes.resize(done);
    if (done < file.Size()) {
        return bytes;
    }
    char buffer[65536];
    while (const std::size_t got = file.Read(buffer, sizeof buffer)) {
        bytes.append(buffer, got);
    }
    return bytes;
}

std::string ReadFirstLine(const std::string& path, bool& hadLine) {
    hadLine = false;
    fileio::OpenedFile file(path);
    // Every line end starts with CR, so the first CR ends the line; the LF that may
    // follow it is never needed, and nothing past it is read.
    std::string line;
    char buffer[4096];
    while (const std::size_t got = file.Read(buffer, sizeof buffer)) {
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

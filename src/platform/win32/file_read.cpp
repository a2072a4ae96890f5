#include "platform/file_io.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/win32/file_handle.h"

#include <cstring>

namespace kelvaro {

using namespace win32;

namespace {

// Opens an existing regular file for reading under a shared lock and returns its
// size. Anything but a file on a disk (a folder, a device, a pipe) is refused.
std::size_t OpenForReading(const std::string& path, Handle& file) {
    CheckFileName(path);
    file.Reset(OpenFile(path, GENERIC_READ, OPEN_EXISTING));
    if (!file.IsOpen()) {
        const DWORD code = ::GetLastError();
        const DWORD attributes = AttributesOf(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            throw RuntimeError(ErrorNo::PathFileAccess, FailurePlace{path, Cause::NotAFile},
                               "a folder: " + path);
        }
        ThrowWindowsError("cannot open", path, code, FileAccess::Read);
    }
    CheckRegularFile(file.Get(), path);
    if (const DWORD code = LockWhole(file.Get(), false); code != 0) {
        ThrowWindowsError("cannot lock", path, code, FileAccess::Read);
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        ThrowWindowsError("cannot examine", path, ::GetLastError(), FileAccess::Read);
    }
    return static_cast<std::size_t>(size.QuadPart);
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    Handle file;
    const std::size_t size = OpenForReading(path, file);
    // Straight into a string of the file's size, read on should the file have
    // grown since.
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t got = ReadSome(file.Get(), bytes.data() + done, size - done, path);
        if (got == 0) {
            break;
        }
        done += got;
    }
    bytes.resize(done);
    if (done == size) {
        bytes += ReadToEnd(file.Get(), path);
    }
    return bytes;
}

std::string ReadFirstLine(const std::string& path, bool& hadLine) {
    hadLine = false;
    Handle file;
    OpenForReading(path, file);
    // Every line end starts with CR, so the first CR ends the line.
    std::string line;
    char buffer[4096];
    while (const std::size_t got = ReadSome(file.Get(), buffer, sizeof buffer, path)) {
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

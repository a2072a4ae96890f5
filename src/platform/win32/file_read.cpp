#include "platform/file_read_internal.h"
#include "platform/win32/file_handle.h"

#include "platform/error.h"
#include "platform/paths.h"

namespace kelvaro::fileio {

namespace {

HANDLE HandleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle); // NOLINT(performance-no-int-to-ptr)
}

} // namespace

// Anything but a file on a disk (a folder, a device, a pipe) is refused.
OpenedFile::OpenedFile(const std::string& path) : path_(path) {
    using namespace win32;
    CheckFileName(path);
    Handle file(OpenFile(path, GENERIC_READ, OPEN_EXISTING));
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
    size_ = static_cast<std::size_t>(size.QuadPart);
    handle_ = reinterpret_cast<std::intptr_t>(file.Release());
}

OpenedFile::~OpenedFile() {
    win32::Handle(HandleOf(handle_)).Close();
}

std::size_t OpenedFile::Read(char* into, std::size_t count) {
    return win32::ReadSome(HandleOf(handle_), into, count, path_);
}

} // namespace kelvaro::fileio

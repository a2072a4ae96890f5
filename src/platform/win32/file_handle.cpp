#include "platform/win32/file_handle.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/win32/wide.h"
#include "platform/windows_names.h"

#include <algorithm>

namespace kelvaro {

void fileio::CheckFileName(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos || !IsUsableWindowsPath(path)) {
        throw RuntimeError(ErrorNo::BadFileName, FailurePlace{path, Cause::BadFileName},
                           "bad file name: " + path);
    }
}

namespace win32 {

DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesW(WidePath(path).c_str());
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
    return ::CreateFileW(WidePath(path).c_str(), access, kShareAll, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL | flags, nullptr);
}

DWORD LockWhole(HANDLE file, bool exclusive) {
    OVERLAPPED from{};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return ::LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &from) ? 0 : ::GetLastError();
}

std::string Describe(const std::string& what, const std::string& path, DWORD code) {
    return what + " " + path + ": Windows error " + std::to_string(code);
}

namespace {

// Windows' own words for a code the table does not know, in the user's language.
std::string SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return {};
    }
    std::wstring_view words(text, length);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' ||
                              words.back() == L' ' || words.back() == L'.')) {
        words.remove_suffix(1);
    }
    std::string utf8 = Utf8FromWide(words);
    ::LocalFree(text);
    return utf8;
}

} // namespace

void ThrowWindowsError(const std::string& what, const std::string& path, DWORD code,
                       FileAccess access) {
    std::string cause = WindowsErrorCause(code, access);
    if (!IsKnownWindowsError(code)) {
        if (const std::string text = SystemText(code); !text.empty()) {
            cause = "システムのエラーです（" + text + "）";
        }
    }
    throw RuntimeError(ErrorNumberFromWindowsError(code), FailurePlace{path, cause},
                       Describe(what, path, code));
}

void CheckRegularFile(HANDLE file, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info)) {
        throw RuntimeError(ErrorNo::PathFileAccess, FailurePlace{path, Cause::NotARegularFile},
                           "not a regular file: " + path);
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(ErrorNo::PathFileAccess, FailurePlace{path, Cause::NotAFile},
                           "a folder: " + path);
    }
}

std::size_t ReadSome(HANDLE file, char* buffer, std::size_t size, const std::string& path) {
    DWORD got = 0;
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
    if (!::ReadFile(file, buffer, ask, &got, nullptr)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_HANDLE_EOF || code == ERROR_BROKEN_PIPE) {
            return 0;
        }
        ThrowWindowsError("cannot read", path, code, FileAccess::Read);
    }
    return got;
}

std::string ReadToEnd(HANDLE file, const std::string& path) {
    std::string bytes;
    char buffer[65536];
    while (const std::size_t got = ReadSome(file, buffer, sizeof buffer, path)) {
        bytes.append(buffer, got);
    }
    return bytes;
}

void WriteAll(HANDLE file, std::string_view bytes, const std::string& path, std::int64_t offset) {
    if (offset >= 0) {
        LARGE_INTEGER at{};
        at.QuadPart = offset;
        if (!::SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
            ThrowWindowsError("cannot seek", path, ::GetLastError(), FileAccess::Write);
        }
    }
    while (!bytes.empty()) {
        DWORD done = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
        if (!::WriteFile(file, bytes.data(), ask, &done, nullptr)) {
            ThrowWindowsError("cannot write", path, ::GetLastError(), FileAccess::Write);
        }
        bytes.remove_prefix(done);
    }
}

void Truncate(HANDLE file, std::int64_t size, const std::string& path) {
    LARGE_INTEGER at{};
    at.QuadPart = size;
    if (!::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !::SetEndOfFile(file)) {
        ThrowWindowsError("cannot truncate", path, ::GetLastError(), FileAccess::Write);
    }
}

void SyncFile(HANDLE file, const std::string& path) {
    if (!::FlushFileBuffers(file)) {
        ThrowWindowsError("cannot flush", path, ::GetLastError(), FileAccess::Write);
    }
}

} // namespace win32
} // namespace kelvaro

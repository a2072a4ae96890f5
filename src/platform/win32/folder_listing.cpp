#include "platform/file_io.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

#include <string_view>
#include <utility>

namespace kelvaro {

using namespace win32;

namespace {

DWORD Attributes(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return INVALID_FILE_ATTRIBUTES;
    }
    try {
        return AttributesOf(path);
    } catch (const RuntimeError&) {
        return INVALID_FILE_ATTRIBUTES; // not UTF-8: names nothing
    }
}

} // namespace

bool PathExists(const std::string& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsRegularFile(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

namespace {

// Calls `take` with each entry of `folder` but "." and "..": its name and its
// attributes, as the folder's own listing has them (a link is not followed).
template <typename Take> void ForEachEntry(const std::string& folder, Take take) {
    if (folder.find('\0') != std::string::npos) {
        throw RuntimeError(ErrorNo::BadFileName,
                           FailurePlace{folder, "フォルダ名に使えない文字が含まれています"},
                           "bad folder name");
    }
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = WidePath(JoinPath(folder, "*"));
    HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND && IsDirectory(folder)) {
            return; // an empty root has not even "." to list
        }
        if (code == ERROR_FILE_NOT_FOUND) {
            code = ERROR_PATH_NOT_FOUND;
        }
        ThrowWindowsError("cannot list", folder, code, FileAccess::List);
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            take(Utf8FromWide(found.cFileName), found.dwFileAttributes);
        }
    } while (::FindNextFileW(search, &found));
    const DWORD code = ::GetLastError();
    ::FindClose(search);
    if (code != ERROR_NO_MORE_FILES) {
        ThrowWindowsError("cannot list", folder, code, FileAccess::List);
    }
}

// A folder, a device or a link (a reparse point) is not a plain file.
bool IsPlainFile(DWORD attributes) {
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

} // namespace

std::vector<std::string> ListFileNames(const std::string& folder) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](std::string name, DWORD attributes) {
        if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0) {
            names.push_back(std::move(name));
        }
    });
    return names;
}

std::vector<std::string> ListOtherEntryNames(const std::string& folder) {
    std::vector<std::string> names;
    try {
        ForEachEntry(folder, [&](std::string name, DWORD attributes) {
            if (!IsPlainFile(attributes)) {
                names.push_back(std::move(name));
            }
        });
    } catch (const RuntimeError&) {
        return {}; // as on POSIX: a folder that cannot be listed has nothing to name
    }
    return names;
}

bool RemoveFile(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    try {
        return ::DeleteFileW(WidePath(path).c_str()) != 0;
    } catch (const RuntimeError&) {
        return false;
    }
}

std::string ProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return "."; // the working folder is the best remaining guess
        }
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2); // cut off: a longer path than MAX_PATH
    }
    // A path the system gave with the long-path prefix keeps it: the folder is
    // handed to Windows calls again, which need it.
    return ParentFolder(Utf8FromWide(name));
}

} // namespace kelvaro

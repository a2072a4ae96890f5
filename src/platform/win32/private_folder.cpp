#include "platform/private_folder.h"

#include "platform/error.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

#include <shlobj.h>

#include <cstdlib>

namespace kelvaro {

using namespace win32;

namespace {

[[noreturn]] void Refuse(int number, const std::string& path, const std::string& cause) {
    throw RuntimeError(number, FailurePlace{path, cause}, "not a private folder: " + path);
}

// Where the folders on the way start: after "C:\", "\\server\share\" or the
// long-path prefix, none of which can be made.
std::size_t FirstMadePart(const std::string& path) {
    std::size_t start = 0;
    if (path.rfind(R"(\\?\)", 0) == 0) {
        start = 4;
    }
    if (path.size() >= start + 2 && path[start + 1] == ':') {
        return start + 3;
    }
    if (path.rfind(R"(\\)", 0) == 0 && start == 0) {
        const std::size_t share = path.find_first_of("\\/", 2);
        const std::size_t end =
            share == std::string::npos ? std::string::npos : path.find_first_of("\\/", share + 1);
        return end == std::string::npos ? path.size() : end + 1;
    }
    return start + 1;
}

} // namespace

void MakePrivateFolder(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        Refuse(ErrorNo::BadFileName, path, "フォルダ名が空か、使えない文字を含んでいます");
    }
    std::string folder = path;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    CheckFileName(folder);
    // A folder made here takes the ACL its parent passes on: in the user's
    // profile, where the program's own folders are, that is the user's alone.
    for (std::size_t end = FirstMadePart(folder); end <= folder.size(); ++end) {
        if (end != folder.size() && folder[end] != '\\' && folder[end] != '/') {
            continue;
        }
        const std::string part = folder.substr(0, end);
        if (!::CreateDirectoryW(WidePath(part).c_str(), nullptr)) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_ALREADY_EXISTS && code != ERROR_ACCESS_DENIED) {
                ThrowWindowsError("cannot make", part, code, FileAccess::Create);
            }
        }
    }
    const DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ThrowWindowsError("cannot make", folder, ::GetLastError(), FileAccess::Create);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        Refuse(ErrorNo::PathFileAccess, folder, "フォルダではありません");
    }
}

std::string HomeFolder() {
    PWSTR profile = nullptr;
    std::string home;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &profile))) {
        home = Utf8FromWide(profile);
    }
    ::CoTaskMemFree(profile);
    if (home.empty()) {
        const wchar_t* variable = ::_wgetenv(L"USERPROFILE");
        home = variable != nullptr ? Utf8FromWide(variable) : std::string();
    }
    return home;
}

} // namespace kelvaro

#include "platform/app_folders.h"

#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/private_folder.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

#include <shlobj.h>

namespace kelvaro {

using namespace win32;

namespace {

std::string KnownFolder(REFKNOWNFOLDERID which) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(which, KF_FLAG_DEFAULT, nullptr, &path))) {
        folder = Utf8FromWide(path);
    }
    ::CoTaskMemFree(path);
    return folder;
}

// Whether a new file can be made in the folder. The read-only attribute of a
// folder means nothing to Windows and its ACLs are not read easily, so the
// folder is asked the one way that counts: a file that deletes itself on close.
bool TakesNewFiles(const std::string& folder) {
    const std::string probe =
        JoinPath(folder, ".kelvaro-probe-" + std::to_string(::GetCurrentProcessId()));
    HANDLE file = ::CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

bool StateBesideWritable(const std::string& programFolder) {
    const std::string state = JoinPath(programFolder, "State");
    return IsDirectory(state) ? TakesNewFiles(state) : TakesNewFiles(programFolder);
}

} // namespace

std::string HomeFolder() {
    return KnownFolder(FOLDERID_Profile);
}

FolderEnvironment CurrentFolderEnvironment() {
    const std::string local = KnownFolder(FOLDERID_LocalAppData);
    FolderEnvironment env;
    env.Home = HomeFolder();
    env.DataHome = KnownFolder(FOLDERID_RoamingAppData);
    env.CacheHome = local;
    env.StateHome = local;
    return env;
}

AppFolders PortableFolders(const std::string& programFolder, const FolderEnvironment& env) {
    return WindowsAppFolders(programFolder, true, StateBesideWritable(programFolder), env);
}

AppFolders PortableFolders(const std::string& programFolder) {
    return PortableFolders(programFolder, CurrentFolderEnvironment());
}

AppFolders LocateAppFolders(const std::string& programFolder, const FolderEnvironment& env) {
    return WindowsAppFolders(programFolder, TakesNewFiles(programFolder),
                             StateBesideWritable(programFolder), env);
}

void MakeFolders(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    CheckFileName(folder);
    // Each part from the root on; one that exists, or is a drive or a share
    // that cannot be made, is passed over, and the folder itself must be there
    // at the end.
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end != folder.size() && folder[end] != '\\' && folder[end] != '/') {
            continue;
        }
        ::CreateDirectoryW(WidePath(folder.substr(0, end)).c_str(), nullptr);
    }
    if (!IsDirectory(folder)) {
        const DWORD attributes = AttributesOf(folder);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            throw RuntimeError(ErrorNo::PathFileAccess,
                               FailurePlace{folder, "フォルダではありません"},
                               "not a folder: " + folder);
        }
        ThrowWindowsError("cannot make", folder, ::GetLastError(), FileAccess::Create);
    }
}

} // namespace kelvaro

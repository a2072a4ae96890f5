#include "platform/app_folders.h"

#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kelvaro {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// XDG base directories must be absolute; a relative value is to be ignored.
std::string Absolute(const std::string& path) {
    return !path.empty() && path.front() == '/' ? path : std::string();
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// Creates the folder and every missing folder on its way, with `mode` for the
// ones it creates.
void MakeFoldersWithMode(const std::string& path, mode_t mode) {
    for (std::size_t end = 1; end <= path.size(); ++end) {
        if (end != path.size() && path[end] != '/') {
            continue;
        }
        const std::string part = path.substr(0, end);
        if (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST) {
            const int error = errno;
            throw RuntimeError(ErrorNumberFromErrno(error),
                               FailurePlace{part, FileErrorCause(error, FileAccess::Create)},
                               "cannot make " + part);
        }
    }
    if (!IsDirectory(path)) {
        throw RuntimeError(ErrorNo::PathFileAccess, FailurePlace{path, "フォルダではありません"},
                           "not a folder: " + path);
    }
}

std::string HomeOf(const FolderEnvironment& env) {
    return WithoutTrailingSeparator(env.Home.empty() ? "/" : env.Home);
}

std::string UsersStateFolder(const FolderEnvironment& env) {
    std::string stateHome = WithoutTrailingSeparator(Absolute(env.StateHome));
    if (stateHome.empty()) {
        stateHome = WithTrailingBackslash(HomeOf(env)) + ".local/state";
    }
    return stateHome + "/kelvaro";
}

bool Writable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

} // namespace

FolderEnvironment CurrentFolderEnvironment() {
    return FolderEnvironment{HomeFolder(), Variable("XDG_DATA_HOME"), Variable("XDG_RUNTIME_DIR"),
                             Variable("XDG_CACHE_HOME"), Variable("XDG_STATE_HOME")};
}

AppFolders PortableFolders(const std::string& programFolder, const FolderEnvironment& env) {
    const std::string beside = WithTrailingBackslash(programFolder);
    const std::string state = beside + "State";
    const bool keepBeside = IsDirectory(state) ? Writable(state) : Writable(programFolder);
    return AppFolders{programFolder,
                      beside + "Templates",
                      programFolder,
                      beside + "guide.html",
                      {},
                      keepBeside ? state : UsersStateFolder(env)};
}

AppFolders PortableFolders(const std::string& programFolder) {
    return PortableFolders(programFolder, CurrentFolderEnvironment());
}

AppFolders LocateAppFolders(const std::string& programFolder, const FolderEnvironment& env) {
    // bin/kelvaro beside share/: the installation's prefix is the program's parent.
    const std::string prefix = WithTrailingBackslash(programFolder) + "../";
    AppFolders portable = PortableFolders(programFolder, env);
    if (IsDirectory(portable.Templates) || !IsDirectory(prefix + "share/kelvaro")) {
        return portable;
    }
    const std::string home = HomeOf(env);

    std::string dataHome = WithoutTrailingSeparator(Absolute(env.DataHome));
    if (dataHome.empty()) {
        dataHome = WithTrailingBackslash(home) + ".local/share";
    }
    std::string pageFolder = WithoutTrailingSeparator(Absolute(env.RuntimeDir));
    if (pageFolder.empty()) {
        pageFolder = WithoutTrailingSeparator(Absolute(env.CacheHome));
        if (pageFolder.empty()) {
            pageFolder = WithTrailingBackslash(home) + ".cache";
        }
    }

    AppFolders installed;
    installed.Program = programFolder;
    installed.Templates = dataHome + "/kelvaro/Templates";
    installed.BrowserPage = pageFolder + "/kelvaro";
    installed.Guide = prefix + "share/doc/kelvaro/guide.html";
    installed.InstalledTemplates = prefix + "share/kelvaro/Templates";
    installed.StateFolder = UsersStateFolder(env);
    return installed;
}

void MakeFolders(const std::string& path) {
    MakeFoldersWithMode(path, 0755);
}

} // namespace kelvaro

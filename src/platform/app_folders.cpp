#include "platform/app_folders.h"

#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/private_folder.h"

#include <algorithm>
#include <set>

namespace kelvaro {

namespace {

// The names of the installed templates copied into the user's folder so far,
// one a line, kept in the state folder: a template the user deleted is not
// copied again, while one that a later version brings still is.
constexpr const char* kCopiedTemplates = "copied-templates";

std::set<std::string> CopiedTemplates(const AppFolders& folders) {
    std::set<std::string> names;
    const std::string list = WithTrailingBackslash(folders.StateFolder) + kCopiedTemplates;
    if (!IsRegularFile(list)) {
        return names;
    }
    const std::string text = ReadWholeFile(list);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            names.insert(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

// `fresh`: the template folder was just made, so every installed template is
// copied, as at the first start, whatever the list says.
int CopyNewTemplates(const AppFolders& folders, bool fresh) {
    std::set<std::string> copied = fresh ? std::set<std::string>() : CopiedTemplates(folders);
    const std::size_t known = copied.size();
    int count = 0;
    const std::string from = WithTrailingBackslash(folders.InstalledTemplates);
    const std::string to = WithTrailingBackslash(folders.Templates);
    for (const std::string& name : ListFileNames(folders.InstalledTemplates)) {
        if (name.find('\n') != std::string::npos || !copied.insert(name).second) {
            continue;
        }
        // One the user has already, made or changed, stays the user's; it is
        // listed all the same, so that deleting it later is for good too.
        if (!PathExists(to + name)) {
            WriteFileReplacing(to + name, ReadWholeFile(from + name));
            ++count;
        }
    }
    if (fresh || copied.size() != known) {
        std::string text;
        for (const std::string& name : copied) {
            text += name + "\n";
        }
        WriteOwnFile(folders.StateFolder, kCopiedTemplates, text);
    }
    return count;
}

} // namespace

namespace {

// Windows paths are joined with its own separator whatever the build, so that
// the layout reads the same where it is tested.
std::string InWindowsFolder(std::string folder, const std::string& name) {
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
        folder += '\\';
    }
    return folder + name;
}

} // namespace

AppFolders WindowsAppFolders(const std::string& programFolder, bool programWritable,
                             bool stateBesideWritable, const FolderEnvironment& env) {
    const std::string own = InWindowsFolder(env.StateHome, "Kelvaro");
    AppFolders folders{programFolder,
                       InWindowsFolder(programFolder, "Templates"),
                       programFolder,
                       InWindowsFolder(programFolder, "guide.html"),
                       {},
                       stateBesideWritable ? InWindowsFolder(programFolder, "State") : own};
    if (programWritable) {
        return folders;
    }
    folders.InstalledTemplates = folders.Templates;
    folders.Templates = InWindowsFolder(InWindowsFolder(env.DataHome, "Kelvaro"), "Templates");
    folders.BrowserPage = own;
    folders.StateFolder = own;
    return folders;
}

int PrepareAppFolders(const AppFolders& folders) {
    if (folders.InstalledTemplates.empty()) {
        return 0;
    }
    const bool fresh = !IsDirectory(folders.Templates);
    MakeFolders(folders.Templates);
    int copied = 0;
    if (IsDirectory(folders.InstalledTemplates)) {
        copied = CopyNewTemplates(folders, fresh);
    }
    // Last, so that a page folder that cannot be had leaves the templates ready.
    MakePrivateFolder(folders.BrowserPage);
    return copied;
}

} // namespace kelvaro

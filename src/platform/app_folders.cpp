#include "platform/app_folders.h"

#include "platform/app_info.h"

namespace kelvaro {

AppFolders PortableFolders(const std::string& programFolder) {
    const std::string beside = WithTrailingBackslash(programFolder);
    return AppFolders{programFolder, beside + "Templates", programFolder, beside + "guide.html"};
}

} // namespace kelvaro

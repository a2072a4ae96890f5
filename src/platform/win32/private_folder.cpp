#include "platform/private_folder.h"

#include "platform/app_folders.h"
#include "platform/error.h"

namespace kelvaro {

namespace {

[[noreturn]] void Refuse(int number, const std::string& path, const std::string& cause) {
    throw RuntimeError(number, FailurePlace{path, cause}, "not a private folder: " + path);
}

} // namespace

void MakePrivateFolder(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        Refuse(ErrorNo::BadFileName, path, "フォルダ名が空か、使えない文字を含んでいます");
    }
    // A folder made here takes the ACL its parent passes on: in the user's
    // profile, where the program's own folders are, that is the user's alone.
    MakeFolders(path);
}

} // namespace kelvaro

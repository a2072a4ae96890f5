#include "files/app_info.h"

#include "platform/cp932.h"
#include "platform/file_io.h"

#ifndef KELVARO_VERSION_MAJOR
#define KELVARO_VERSION_MAJOR 1
#define KELVARO_VERSION_MINOR 0
#define KELVARO_VERSION_PATCH 0
#endif

namespace kelvaro {
namespace {

constexpr const char* kProductName = "Kelvaro";
constexpr char kFolderSeparator = '/';

std::string VersionText() {
    return "Ver " + std::to_string(KELVARO_VERSION_MAJOR) + "." +
           std::to_string(KELVARO_VERSION_MINOR) + "." + std::to_string(KELVARO_VERSION_PATCH);
}

std::string TemplateSetVersion(const std::string& templateFolder) {
    if (templateFolder.empty() || !PathExists(templateFolder)) {
        return "テンプレートなし";
    }
    const std::string file = WithTrailingBackslash(templateFolder) + "Version.txt";
    if (!IsRegularFile(file)) {
        return "バージョン不明";
    }
    bool hadLine = false;
    std::string line = ReadFirstLine(file, hadLine);
    if (!hadLine) {
        return "バージョン不明";
    }
    return Cp932ToUtf8(line);
}

} // namespace

std::string AppInfoString(unsigned mode, const std::string& templateFolder) {
    switch (mode) {
    case 0:
        return kProductName;
    case 1:
        return VersionText();
    case 2:
        return std::string(kProductName) + " " + VersionText();
    case 3:
        return TemplateSetVersion(templateFolder);
    default:
        return {};
    }
}

std::string WithTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == kFolderSeparator) {
        return path;
    }
    return path + kFolderSeparator;
}

} // namespace kelvaro

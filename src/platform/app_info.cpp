#include "platform/app_info.h"

#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/version.h"

namespace kelvaro {
namespace {

constexpr const char* kProductName = "Kelvaro";

std::string VersionText() {
    return std::string("Ver ") + ProgramVersion;
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

std::string AppInfoString(AppInfo mode, const std::string& templateFolder) {
    switch (mode) {
    case AppInfo::ProductName:
        return kProductName;
    case AppInfo::Version:
        return VersionText();
    case AppInfo::ProductAndVersion:
        return std::string(kProductName) + " " + VersionText();
    case AppInfo::TemplateSetVersion:
        return TemplateSetVersion(templateFolder);
    }
    return {};
}

std::string TemplateSetVersionOrUnknown(const std::string& templateFolder) {
    try {
        return TemplateSetVersion(templateFolder);
    } catch (const RuntimeError&) {
        return "バージョン不明";
    }
}

} // namespace kelvaro

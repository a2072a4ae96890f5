#include "templates/template_viewer.h"

#include "platform/app_info.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "templates/template_text_internal.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

// The set was made for a file system that ignores letter case, where the folder
// lists its names in that order; ties (names differing only in case) keep a
// fixed order so the list does not change from scan to scan.
bool ListedBefore(const std::string& a, const std::string& b) {
    const auto byLowerByte = [](char x, char y) {
        return static_cast<unsigned char>(AsciiLower(x)) <
               static_cast<unsigned char>(AsciiLower(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byLowerByte)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byLowerByte)) {
        return false;
    }
    return a < b;
}

bool IsTemplateName(const std::string& name) {
    // A leading dot is this platform's hidden file, which the listing leaves out.
    if (name.empty() || name.front() == '.') {
        return false;
    }
    const std::string lower = AsciiLowered(name);
    if (lower == "version.txt") {
        return false;
    }
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".txt") == 0;
}

std::vector<std::string> TemplateNames(const std::string& folder) {
    std::vector<std::string> names;
    try {
        names = ListFileNames(folder);
    } catch (const RuntimeError&) {
        // The scan reports only a missing folder; a folder that cannot be read
        // simply lists nothing.
        return {};
    }
    std::erase_if(names, [](const std::string& name) { return !IsTemplateName(name); });
    std::sort(names.begin(), names.end(), ListedBefore);
    return names;
}

bool MeansMissing(int number) {
    return number == ErrorNo::FileNotFound || number == ErrorNo::PathFileAccess ||
           number == ErrorNo::PathNotFound;
}

void ShowTemplateMissing(Session& s, const std::string& path) {
    s.host.ShowMessage(MessageRequest{"テンプレートファイル\r\n" + path +
                                          "\r\nが存在しません\r\n"
                                          "もう一度テンプレートを読み込んでみてください。",
                                      AppInfoString(AppInfo::ProductAndVersion), MessageButtons::Ok,
                                      MessageIcon::Critical, MessageAnswer::Ok});
}

} // namespace

void ScanTemplateFolder(Session& s) {
    s.TemplateList.clear();
    RunReportingFailures(s, [&] {
        if (!PathExists(s.TemplateFolder)) {
            // The box keeps what it showed; only the list goes.
            ShowTemplateFolderMissing(s);
            return;
        }
        std::string summary = "テンプレート集：" + TemplateSetVersionOrUnknown(s.TemplateFolder);
        std::vector<std::string> names = TemplateNames(s.TemplateFolder);
        summary += "\r\nテンプレート数： " + std::to_string(names.size()) + " ファイル";
        s.TemplateText = std::move(summary);
        s.TemplateList = std::move(names);
    });
    s.Notify(Change::Templates);
}

void ShowTemplate(Session& s, const std::string& fileName) {
    RunReportingFailures(s, [&] {
        const std::string path = WithTrailingBackslash(s.TemplateFolder) + fileName;
        std::string bytes;
        try {
            bytes = ReadWholeFile(path);
        } catch (const RuntimeError& error) {
            // The list is not refreshed when files change, so a vanished file is
            // an expected case with its own advice: scan again.
            if (!MeansMissing(error.Number())) {
                throw;
            }
            ShowTemplateMissing(s, path);
            return;
        }
        s.TemplateText = WithLineEnds(Cp932ToUtf8(bytes));
        s.Notify(Change::Templates);
    });
}

} // namespace kelvaro

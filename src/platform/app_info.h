#pragma once

// The strings in which the program names itself, and the template set's version.

#include <string>

namespace kelvaro {

enum class AppInfo {
    ProductName,        // "Kelvaro"
    Version,            // "Ver 1.0.0"
    ProductAndVersion,  // "Kelvaro Ver 1.0.0"
    TemplateSetVersion, // the first line of Version.txt in the template folder
};

// TemplateSetVersion reads `templateFolder`: "テンプレートなし" without the
// folder, "バージョン不明" without the file or when it is empty; read failures
// pass on as RuntimeError. A value outside the enumeration gives "".
std::string AppInfoString(AppInfo mode, const std::string& templateFolder = {});

// The template set's version as the version dialog and the template viewer
// show it: an unreadable Version.txt reads as "バージョン不明" instead of failing.
std::string TemplateSetVersionOrUnknown(const std::string& templateFolder);

} // namespace kelvaro

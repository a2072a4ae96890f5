#pragma once

// The strings in which the program names itself.

#include <string>

namespace kelvaro {

// 0 product name, 1 "Ver 1.0.0", 2 "Kelvaro Ver 1.0.0", 3 the template set's
// version from the first line of Version.txt in `templateFolder` ("テンプレートなし"
// without the folder, "バージョン不明" without the file or when it is empty);
// any other mode gives "". Mode 3 passes read failures on as RuntimeError.
std::string AppInfoString(unsigned mode, const std::string& templateFolder = {});

// The path with the platform's folder separator at its end, ready for a file name.
std::string WithTrailingBackslash(const std::string& path);

} // namespace kelvaro

#pragma once

// The names Windows refuses or treats as something other than a file: a device
// name (CON, NUL, COM1, ...) with or without an extension, a name that ends in a
// dot or a blank (Windows drops them, so another file is meant than the one
// asked for), and the characters < > : " | ? * and control characters. Plain
// rules over a UTF-8 path, so that they are the same on every build; the
// Windows build refuses such a path as a bad file name before it asks Windows.

#include <string_view>

namespace kelvaro {

// Whether every part of `path` is a name Windows gives a file of that name. A
// drive ("C:"), the long-path prefix "\\?\", a server share ("\\server\share"),
// "." and ".." are accepted; both "\" and "/" separate the parts.
bool IsUsableWindowsPath(std::string_view path);

// The same rule for one name (no separators).
bool IsUsableWindowsName(std::string_view name);

} // namespace kelvaro

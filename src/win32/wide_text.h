#pragma once

// Text crosses into Windows as UTF-16 and comes back as UTF-8, the core's
// encoding for every string and path. Both directions are lossless for valid
// text; an invalid UTF-8 sequence becomes U+FFFD rather than cutting the text.

#include <string>
#include <string_view>

namespace kelvaro::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A path as Windows' dialogs want it: forward slashes become backslashes.
std::wstring WidenPath(std::string_view utf8Path);

} // namespace kelvaro::win32

#include "win32/wide_text.h"

#include "platform/win32/wide.h"

#include <algorithm>

namespace kelvaro::win32 {

// The platform's own converter: the window and the files convert alike.
std::wstring Widen(std::string_view utf8) {
    return WideFromUtf8(utf8);
}

std::string Narrow(std::wstring_view utf16) {
    return Utf8FromWide(utf16);
}

std::wstring WidenPath(std::string_view utf8Path) {
    std::wstring path = Widen(utf8Path);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace kelvaro::win32

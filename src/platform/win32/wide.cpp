#include "platform/win32/wide.h"

#include "platform/error.h"
#include "platform/error_causes.h"
#include "platform/text.h"

#include <windows.h>

namespace kelvaro::win32 {
namespace {

// Room left under MAX_PATH for the temporary and backup names a save adds
// beside a file, so that those get the prefix when the file itself needs it.
constexpr std::size_t kRoomForSiblings = 24;

} // namespace

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::wstring WidePath(const std::string& path) {
    if (!IsUtf8(path)) {
        throw RuntimeError(ErrorNo::BadFileName, FailurePlace{path, Cause::BadFileName},
                           "not UTF-8: " + path);
    }
    std::wstring wide = WideFromUtf8(path);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    if (wide.size() + kRoomForSiblings < MAX_PATH || wide.rfind(LR"(\\?\)", 0) == 0) {
        return wide;
    }
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    full.resize(length);
    if (full.rfind(LR"(\\)", 0) == 0) {
        return LR"(\\?\UNC\)" + full.substr(2); // \\server\share\...
    }
    return LR"(\\?\)" + full;
}

} // namespace kelvaro::win32

#include "platform/windows_names.h"

#include "platform/text.h"

namespace kelvaro {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The device names, compared without case. COM and LPT take a digit from 1 to
// 9 or a superscript one, two or three (which Windows also counts as a digit).
bool IsDeviceName(std::string_view stem) {
    const std::string upper = AsciiUppered(stem);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (upper == device) {
            return true;
        }
    }
    if (upper.size() < 4 || (upper.substr(0, 3) != "COM" && upper.substr(0, 3) != "LPT")) {
        return false;
    }
    const std::string_view number = std::string_view(upper).substr(3);
    if (number.size() == 1) {
        return number[0] >= '1' && number[0] <= '9';
    }
    // U+00B9, U+00B2 and U+00B3 in UTF-8.
    return number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

} // namespace

bool IsUsableWindowsName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    if (name == "." || name == "..") {
        return true;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos ||
            IsSeparator(c)) {
            return false;
        }
    }
    if (name.back() == '.' || name.back() == ' ') {
        return false;
    }
    // "NUL.txt" and "CON .log" still name the device: what counts is the part
    // before the first dot, without the blanks that end it.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    return !IsDeviceName(stem);
}

bool IsUsableWindowsPath(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    if (path.substr(0, 4) == "\\\\?\\") {
        path.remove_prefix(4);
        if (path.substr(0, 4) == "UNC\\") {
            path.remove_prefix(4);
        }
    } else if (path.substr(0, 4) == "\\\\.\\") {
        return false; // the device namespace: never a file of ours
    }
    if (path.size() >= 2 && path[1] == ':' && AsciiUpper(path[0]) >= 'A' &&
        AsciiUpper(path[0]) <= 'Z') {
        path.remove_prefix(2);
    }
    bool any = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) {
            continue;
        }
        // Doubled separators and those that start a share or end a folder name
        // leave an empty part, which Windows ignores.
        if (i > start) {
            if (!IsUsableWindowsName(path.substr(start, i - start))) {
                return false;
            }
            any = true;
        }
        start = i + 1;
    }
    return any || !path.empty();
}

} // namespace kelvaro

#include "compose/readme_layout_internal.h"
#include "platform/text.h"

#include <array>

namespace kelvaro {
namespace {

// Characters an address may hold as they are: letters, digits and the marks
// RFC 3986 gives a meaning ("%" included, so an address typed already encoded
// stays as it was).
bool KeepsInAddress(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    constexpr std::string_view marks = "-._~:/?#[]@!$&'()*+,;=%";
    return marks.find(c) != std::string_view::npos;
}

bool NamesUnsafeScheme(std::string_view value) {
    std::string scheme;
    for (char c : value) {
        if (c == ':') {
            break;
        }
        if (c == ' ' || c == '\t' || scheme.size() > 16) {
            return false;
        }
        scheme += AsciiLower(c);
    }
    if (scheme.size() == value.size()) {
        return false; // no scheme at all
    }
    constexpr std::array<std::string_view, 4> unsafe{"javascript", "vbscript", "data", "file"};
    for (std::string_view s : unsafe) {
        if (scheme == s) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string LinkAddress(LinkKind kind, std::string_view value) {
    if (value.empty() || NamesUnsafeScheme(value)) {
        return {};
    }
    std::string address = kind == LinkKind::Mail ? "mailto:" : "";
    address.reserve(address.size() + value.size());
    constexpr std::string_view hex = "0123456789ABCDEF";
    for (char c : value) {
        if (KeepsInAddress(c)) {
            address += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            address += '%';
            address += hex[byte >> 4];
            address += hex[byte & 0x0F];
        }
    }
    return address;
}

} // namespace kelvaro

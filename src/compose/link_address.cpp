#include "compose/readme_layout_internal.h"
#include "platform/text.h"

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

// Whether a home page is an address a reader may follow: only the web's own
// schemes. Anything else ("javascript:", "data:", a scheme spelt with an entity
// such as "javascript&#58;", a bare "example.jp") stays text. The address is
// checked as it is written into the page, and the layouts write it so that no
// renderer decodes anything in it (an "&" is written as "&amp;"), so what is
// checked here is what the reader's browser would follow.
bool IsWebAddress(std::string_view value) {
    for (std::string_view scheme : {std::string_view("http:"), std::string_view("https:")}) {
        if (value.size() < scheme.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < scheme.size() && same; ++i) {
            same = AsciiLower(value[i]) == scheme[i];
        }
        if (same) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string LinkAddress(LinkKind kind, std::string_view value) {
    if (value.empty() || (kind == LinkKind::HomePage && !IsWebAddress(value))) {
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

// The bytes of a file to import, before they are text: telling text from
// binary data, and UTF-8 with a few broken bytes from CP932.

#include "import/import_internal.h"

#include "platform/text.h"

#include <algorithm>

namespace kelvaro {
namespace {

// The bytes one broken piece of UTF-8 takes at bytes[i]: a lead byte and the
// continuation bytes of its cut-short character, or the one stray byte. Each
// such piece reads as one U+FFFD, as browsers read it.
std::size_t BrokenLength(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t wanted = lead >= 0xF0 && lead <= 0xF4   ? 3
                               : lead >= 0xE0 && lead <= 0xEF ? 2
                               : lead >= 0xC2 && lead <= 0xDF ? 1
                                                              : 0;
    std::size_t length = 1;
    while (length <= wanted && i + length < bytes.size() &&
           (static_cast<unsigned char>(bytes[i + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

} // namespace

bool IsPureAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A text file holds no NUL and few other controls; binary data holds many.
bool LooksLikeText(std::string_view bytes) {
    const std::size_t sample = std::min<std::size_t>(bytes.size(), 65536);
    std::size_t controls = 0;
    for (std::size_t i = 0; i < sample; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0) {
            return false;
        }
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != 0x1A) {
            ++controls;
        }
    }
    return controls * 20 <= sample;
}

// Bytes that are UTF-8 but for a few broken ones: a file saved as UTF-8 and
// damaged, not CP932 (whose two-byte characters are seldom UTF-8 at all).
// Counts the broken bytes; false when the well-formed characters beyond ASCII
// are not at least eight times as many.
bool MostlyUtf8(std::string_view bytes, std::size_t& broken) {
    std::size_t wide = 0;
    broken = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Utf8Char c = DecodeUtf8At(bytes, i);
        if (c.Form == Utf8Form::Scalar) {
            ++wide;
            i += c.Length;
        } else {
            ++broken;
            i += BrokenLength(bytes, i);
            if (broken >= 64 && broken * 8 > wide) {
                return false; // CP932, told early: no need to walk the rest
            }
        }
    }
    return wide > 0 && broken * 8 <= wide;
}

// The text with each broken piece as U+FFFD; `broken` counts them.
std::string WithReplacements(std::string_view bytes, std::size_t& broken) {
    broken = 0;
    std::string text;
    text.reserve(bytes.size() + 16);
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Char c = DecodeUtf8At(bytes, i);
        if (c.Form == Utf8Form::Scalar || static_cast<unsigned char>(bytes[i]) < 0x80) {
            text += bytes.substr(i, c.Length);
            i += c.Length;
        } else {
            text += "\xEF\xBF\xBD";
            i += BrokenLength(bytes, i);
            ++broken;
        }
    }
    return text;
}

} // namespace kelvaro

#include "platform/text.h"

namespace kelvaro {

Utf8Char DecodeUtf8At(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {1, lead, Utf8Form::Scalar};
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1Fu;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0Fu;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07u;
        least = 0x10000;
    } else {
        return {};
    }
    if (length > text.size() - i) {
        return {};
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return {};
        }
        codePoint = (codePoint << 6) | (byte(k) & 0x3Fu);
    }
    const bool scalar = codePoint >= least && codePoint <= 0x10FFFF &&
                        !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
    return {length, codePoint, scalar ? Utf8Form::Scalar : Utf8Form::NotScalar};
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = DecodeUtf8At(text, i);
        if (c.Form != Utf8Form::Scalar) {
            return false;
        }
        i += c.Length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    const auto byte = [&out](char32_t bits) { out += static_cast<char>(bits); };
    if (cp < 0x80) {
        byte(cp);
    } else if (cp < 0x800) {
        byte(0xC0 | (cp >> 6));
        byte(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        byte(0xE0 | (cp >> 12));
        byte(0x80 | ((cp >> 6) & 0x3F));
        byte(0x80 | (cp & 0x3F));
    } else {
        byte(0xF0 | (cp >> 18));
        byte(0x80 | ((cp >> 12) & 0x3F));
        byte(0x80 | ((cp >> 6) & 0x3F));
        byte(0x80 | (cp & 0x3F));
    }
}

std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = AsciiLower(c);
    }
    return lowered;
}

std::string AsciiUppered(std::string_view text) {
    std::string uppered(text);
    for (char& c : uppered) {
        c = AsciiUpper(c);
    }
    return uppered;
}

} // namespace kelvaro

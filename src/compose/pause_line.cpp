#include "compose/pause_line.h"

#include "platform/error.h"

#include <cmath>
#include <cstdlib>

namespace kelvaro {
namespace {

bool IsIgnoredBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigitOfBase(char c, int base) {
    if (base == 8) {
        return c >= '0' && c <= '7';
    }
    if (base == 16) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }
    return c >= '0' && c <= '9';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

} // namespace

double ReadLeadingNumber(std::string_view text) {
    // Blanks, tabs and line feeds do not count anywhere, so "7 8" reads as 78.
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!IsIgnoredBlank(c)) {
            s += c;
        }
    }
    std::size_t i = 0;
    if (s.size() >= 2 && s[0] == '&' &&
        (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        double value = 0;
        for (i = 2; i < s.size() && IsDigitOfBase(s[i], base); ++i) {
            value = value * base + DigitValue(s[i]);
        }
        return value;
    }

    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        number += s[i++];
    }
    bool digits = false;
    while (i < s.size() && IsDigitOfBase(s[i], 10)) {
        number += s[i++];
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && IsDigitOfBase(s[i], 10)) {
            number += s[i++];
            digits = true;
        }
    }
    if (!digits) {
        return 0;
    }
    // An exponent counts only when digits follow its letter (and optional sign).
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponent += s[j++];
        }
        if (j < s.size() && IsDigitOfBase(s[j], 10)) {
            while (j < s.size() && IsDigitOfBase(s[j], 10)) {
                exponent += s[j++];
            }
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::int32_t ReadRepeatCount(std::string_view text) {
    // nearbyint rounds in the default mode, to nearest with halves to even: 2.5 gives 2.
    double rounded = std::nearbyint(ReadLeadingNumber(text));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        throw RuntimeError(ErrorNo::Overflow, FailurePlace{{}, "区切り線の回数が大きすぎます"},
                           "separator count outside the 32-bit range");
    }
    return static_cast<std::int32_t>(rounded);
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::string BuildPauseLine(std::string_view chars, std::string_view count) {
    const std::int32_t n = ReadRepeatCount(count);
    if (n <= 0 || chars.empty()) {
        return {};
    }
    const std::size_t unit = CharacterCount(chars);
    if (unit > MaxPauseLineLength / static_cast<std::size_t>(n)) {
        throw RuntimeError(ErrorNo::OutOfMemory,
                           FailurePlace{{},
                                        "区切り線が長すぎます（" +
                                            std::to_string(MaxPauseLineLength) + " 文字まで）"},
                           "separator line too long");
    }
    std::string line;
    line.reserve(chars.size() * static_cast<std::size_t>(n));
    for (std::int32_t k = 0; k < n; ++k) {
        line.append(chars);
    }
    return line;
}

} // namespace kelvaro

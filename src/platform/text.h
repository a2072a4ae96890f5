#pragma once

// Small text rules every area shares: reading UTF-8 a character at a time,
// ASCII letter case, and splitting a text into lines. Each line splitter is
// named after the line ends it knows, since the form file, the ReadMe formats
// and the system's files each have their own.

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

namespace kelvaro {

// How the bytes at a position read as UTF-8.
enum class Utf8Form {
    Scalar,    // a well-formed character
    NotScalar, // shaped like a character, but overlong, a surrogate or past U+10FFFF
    Broken,    // a stray or missing continuation byte, a lead no character has, or cut off
};

struct Utf8Char {
    std::size_t Length = 1; // the bytes it takes; 1 when Broken
    char32_t CodePoint = 0xFFFD;
    Utf8Form Form = Utf8Form::Broken;
};

// The character that starts at text[i] (i < text.size()).
Utf8Char DecodeUtf8At(std::string_view text, std::size_t i);

// Well-formed UTF-8 throughout.
bool IsUtf8(std::string_view text);

// For code that walks a text a character at a time: the character at text[i],
// with `i` moved past it; anything that is not a well-formed character reads as
// one byte of U+FFFD.
inline char32_t ReadUtf8At(std::string_view text, std::size_t& i) {
    const Utf8Char c = DecodeUtf8At(text, i);
    if (c.Form != Utf8Form::Scalar) {
        ++i;
        return 0xFFFD;
    }
    i += c.Length;
    return c.CodePoint;
}

// `cp` (a Unicode scalar value) written as UTF-8 at the end of `out`.
void AppendUtf8(std::string& out, char32_t cp);

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiLowered(std::string_view text);
std::string AsciiUppered(std::string_view text);

namespace text_detail {
// Calls `each(line)`; true when a visitor that answers bool asked to stop.
template <typename Each> bool Stops(Each& each, std::string_view line) {
    if constexpr (std::is_same_v<std::invoke_result_t<Each&, std::string_view>, bool>) {
        return each(line);
    } else {
        each(line);
        return false;
    }
}

template <typename Ends, typename Each>
void ForEachLineEndedBy(std::string_view text, Ends ends, Each&& each) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t length = ends(text, i)) {
            if (Stops(each, text.substr(start, i - start))) {
                return;
            }
            i += length - 1;
            start = i + 1;
        }
    }
    Stops(each, text.substr(start));
}

// The length of the line end at text[i], 0 for none.
inline std::size_t CrOrCrLf(std::string_view text, std::size_t i) {
    if (text[i] != '\r') {
        return 0;
    }
    return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}
inline std::size_t AnyBreak(std::string_view text, std::size_t i) {
    return text[i] == '\n' ? 1 : CrOrCrLf(text, i);
}
} // namespace text_detail

// Every line of `text`, the last one (empty after a final line end) included,
// to `each(line)`; a visitor that returns bool stops the walk with true.

// Lines end at CR LF or a lone CR; a lone LF is an ordinary character.
template <typename Each> void ForEachLineEndedByCr(std::string_view text, Each&& each) {
    text_detail::ForEachLineEndedBy(text, text_detail::CrOrCrLf, each);
}

// Lines end at CR LF, a lone CR or a lone LF.
template <typename Each> void ForEachLineEndedByAnyBreak(std::string_view text, Each&& each) {
    text_detail::ForEachLineEndedBy(text, text_detail::AnyBreak, each);
}

// Lines end at LF; a CR just before it is not part of the line.
template <typename Each> void ForEachLineEndedByLf(std::string_view text, Each&& each) {
    text_detail::ForEachLineEndedBy(
        text, [](std::string_view t, std::size_t i) -> std::size_t { return t[i] == '\n' ? 1 : 0; },
        [&](std::string_view line) {
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            return text_detail::Stops(each, line);
        });
}

} // namespace kelvaro

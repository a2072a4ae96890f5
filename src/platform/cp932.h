#pragma once

// Conversion between the core's UTF-8 strings and Windows code page 932, the
// encoding of every file the program reads or writes. CP932 is Shift_JIS as
// Windows has it, with the NEC and IBM extensions (～ ① Ⅰ ㈱ ...).

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvaro {

// What to write for a character that CP932 has no code for.
enum class Unmappable {
    Question,         // "?" - plain text files
    NumericReference, // "&#128512;" - HTML pages, so the browser still shows it
};

// UTF-8 to CP932 bytes. Invalid UTF-8 input counts as unmappable characters.
std::string Utf8ToCp932(std::string_view utf8, Unmappable mode = Unmappable::Question);

// CP932 bytes to UTF-8; bytes that are no CP932 character become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// The length in bytes the text has in CP932: a half-width character counts 1,
// a full-width one 2. Unmappable characters count as the one "?" written for them.
std::size_t Cp932ByteLength(std::string_view utf8);

// True when every character of the text has a CP932 form.
bool IsCp932Representable(std::string_view utf8);

} // namespace kelvaro

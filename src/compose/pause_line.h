#pragma once

// The separator line: the separator characters repeated a counted number of
// times. The count is typed by the user as text and read leniently, the way
// the program always has: the number the text begins with, blanks anywhere
// ignored, "&H"/"&O" prefixes, decimals and exponents, rounded half to even.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvaro {

// The longest separator line the program builds, in characters.
inline constexpr std::size_t MaxPauseLineLength = 1048576;

// Reads the number the text begins with as a double; 0 when there is none.
double ReadLeadingNumber(std::string_view text);

// The repeat count: ReadLeadingNumber rounded half to even. Throws
// RuntimeError(Overflow) outside the signed 32-bit range.
std::int32_t ReadRepeatCount(std::string_view text);

// `chars` repeated ReadRepeatCount(count) times; empty for 0 or less. Throws
// RuntimeError(OutOfMemory) when the line would exceed MaxPauseLineLength characters.
std::string BuildPauseLine(std::string_view chars, std::string_view count);

// Number of characters (code points) in a UTF-8 string.
std::size_t CharacterCount(std::string_view utf8);

} // namespace kelvaro

#pragma once

// Conversion between the core's UTF-8 strings and Windows code page 932, the
// encoding of every file the program reads or writes. CP932 is Shift_JIS as
// Windows has it, with the NEC and IBM extensions (～ ① Ⅰ ㈱ ...).
//
// The program carries its own table rather than asking the system: Windows'
// converter writes "?" for ¥ 〜 — ‖ − ‾ ¢ £ ¬, which the program's files have
// always held as CP932 codes, so the same text gives the same bytes everywhere.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// What to write for a character that CP932 has no code for.
enum class Unmappable {
    Question,         // "?" - plain text files
    NumericReference, // "&#128512;" - HTML pages, so the browser still shows it
    Lookalike,        // "(C)" for ©, "TM" for ™, "?" for what has no likeness - form files
};

// UTF-8 to CP932 bytes. Invalid UTF-8 input counts as unmappable characters.
std::string Utf8ToCp932(std::string_view utf8, Unmappable mode = Unmappable::Question);

// Builds one CP932 string from UTF-8 pieces, as Utf8ToCp932 of the pieces
// joined would give it, for a writer that would otherwise hold the whole text
// twice. A piece should end on a character boundary; bytes of a character cut
// in two count as invalid, as they would in the joined text if ASCII followed.
class Cp932Builder {
public:
    explicit Cp932Builder(Unmappable mode = Unmappable::Question) : mode_(mode) {}

    void Reserve(std::size_t bytes);
    void Append(std::string_view utf8);
    std::string Take(); // the bytes so far; the builder starts again empty

private:
    Unmappable mode_;
    std::string out_;
};

// CP932 bytes to UTF-8; bytes that are no CP932 character become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// The length in bytes the text has in CP932: a half-width character counts 1,
// a full-width one 2. Unmappable characters count as the one "?" written for them.
std::size_t Cp932ByteLength(std::string_view utf8);

// True when every character of the text has a CP932 form.
bool IsCp932Representable(std::string_view utf8);

// True when the text comes back unchanged from CP932: encoded and decoded again.
// Stricter than IsCp932Representable: a few characters have a CP932 code that
// decodes to another character (¥ gives "\", ‾ "~", ¢ £ ¬ their full-width forms,
// — ―, ‖ ∥, − －, 〜 ～).
bool RoundTripsThroughCp932(std::string_view utf8);

// A character that a CP932 file would not give back, and what it gives instead
// (for a character without any CP932 form, what `mode` writes for it).
struct LossyCharacter {
    std::string Character;
    std::string WrittenAs;

    bool operator==(const LossyCharacter&) const = default;
};

// The characters of the text that do not come back unchanged from CP932, each
// once, in the order they first appear; at most `limit` of them. Bytes that
// are no UTF-8 count one by one, as U+FFFD.
std::vector<LossyCharacter> FindLossyCharacters(std::string_view utf8, std::size_t limit,
                                                Unmappable mode = Unmappable::Question);

} // namespace kelvaro

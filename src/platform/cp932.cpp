#include "platform/cp932.h"

#include "platform/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace kelvaro {

namespace {

// A run of characters written otherwise than reading backwards gives.
struct EncodeRule {
    char32_t First;
    char32_t Last;
    std::uint16_t Code;
};

using namespace std::string_view_literals;

// SingleByteTable, DoubleByteTable and EncodeRules. The table was taken from
// the converter the program's files were always written with, so that these
// bytes stay what they were; the script that made it says how to make it again.
#include "platform/cp932_table.inc"

constexpr char16_t NoCharacter = 0xFFFF;  // in the reading tables
constexpr std::uint16_t NoCode = 0xFFFF;  // a character CP932 has no code for
constexpr std::uint16_t NoBytes = 0xFFFE; // a character written as nothing at all
constexpr std::size_t TrailCount = 0xFC - 0x40 + 1;

static_assert(SingleByteTable.size() == 256);
static_assert(DoubleByteTable.size() == 60 * TrailCount);
// The loops below copy ASCII runs as they stand in both directions.
static_assert([] {
    for (char16_t b = 0; b < 0x80; ++b) {
        if (SingleByteTable[b] != b) {
            return false;
        }
    }
    return true;
}());

constexpr bool IsLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Where a lead byte and a trail byte in 0x40-0xFC are in DoubleByteTable.
constexpr std::size_t PairIndex(unsigned char lead, unsigned char trail) {
    const std::size_t row = lead < 0xA0 ? lead - 0x81u : lead - 0xE0u + 31u;
    return row * TrailCount + (trail - 0x40u);
}

// What a lead byte and the byte after it read as; NoCharacter when they are no
// character together.
constexpr char16_t PairAt(unsigned char lead, unsigned char trail) {
    if (trail < 0x40 || trail > 0xFC) {
        return NoCharacter;
    }
    return DoubleByteTable[PairIndex(lead, trail)];
}

// Each pair's character as UTF-8, ready to be stored four bytes at once: the
// bytes from the lowest up, the length in the top byte; 0 for no character.
// Made once, 45 KiB.
static_assert(std::endian::native == std::endian::little, "the packed UTF-8 is stored as is");
class PairUtf8Table {
public:
    PairUtf8Table() {
        for (std::size_t i = 0; i < DoubleByteTable.size(); ++i) {
            const char16_t cp = DoubleByteTable[i];
            if (cp == NoCharacter) {
                continue;
            }
            std::string bytes;
            AppendUtf8(bytes, cp);
            std::uint32_t packed = static_cast<std::uint32_t>(bytes.size()) << 24;
            for (std::size_t k = 0; k < bytes.size(); ++k) {
                packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k]))
                          << (8 * k);
            }
            utf8_[i] = packed;
        }
    }
    std::uint32_t At(std::size_t index) const { return utf8_[index]; }

private:
    std::array<std::uint32_t, DoubleByteTable.size()> utf8_{};
};

const PairUtf8Table& PairsAsUtf8() {
    static const PairUtf8Table table;
    return table;
}

// What a code from the writing table reads as again.
constexpr char16_t CodeReadsAs(std::uint16_t code) {
    return code < 0x100 ? SingleByteTable[code]
                        : PairAt(static_cast<unsigned char>(code >> 8),
                                 static_cast<unsigned char>(code & 0xFF));
}

// The writing table for the Basic Multilingual Plane, made once: reading
// backwards, the last code that reads as a character winning, then the rules.
// 128 KiB, looked up directly: a lookup per character is what makes the codec
// faster than a general converter.
class EncodeTable {
public:
    EncodeTable() {
        codes_.fill(NoCode);
        for (std::size_t b = 0; b < SingleByteTable.size(); ++b) {
            if (SingleByteTable[b] != NoCharacter) {
                codes_[SingleByteTable[b]] = static_cast<std::uint16_t>(b);
            }
        }
        for (std::size_t i = 0; i < DoubleByteTable.size(); ++i) {
            if (DoubleByteTable[i] != NoCharacter) {
                const std::size_t row = i / TrailCount;
                const std::size_t lead = row < 31 ? 0x81 + row : 0xE0 + row - 31;
                codes_[DoubleByteTable[i]] =
                    static_cast<std::uint16_t>(lead << 8 | (0x40 + i % TrailCount));
            }
        }
        for (const EncodeRule& rule : EncodeRules) {
            for (char32_t cp = rule.First; cp <= rule.Last && cp < codes_.size(); ++cp) {
                codes_[cp] = rule.Code;
            }
        }
    }

    std::uint16_t CodeOf(char32_t cp) const {
        if (cp < codes_.size()) {
            return codes_[cp];
        }
        for (const EncodeRule& rule : EncodeRules) {
            if (cp >= rule.First && cp <= rule.Last) {
                return rule.Code;
            }
        }
        return NoCode;
    }

private:
    std::array<std::uint16_t, 0x10000> codes_{};
};

const EncodeTable& Codes() {
    static const EncodeTable table;
    return table;
}

// Bytes at the start of [p, end) below 0x80, eight at a time while it lasts.
std::size_t AsciiRun(const unsigned char* p, const unsigned char* end) {
    const unsigned char* start = p;
    while (end - p >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, sizeof word);
        if ((word & 0x8080808080808080u) != 0) {
            break;
        }
        p += 8;
    }
    while (p < end && *p < 0x80) {
        ++p;
    }
    return static_cast<std::size_t>(p - start);
}

// Output gathered in a small buffer that stays in the cache and goes to the
// string a few kilobytes at a time: cheaper than growing the string a byte at
// a time, and the string's reserve is used as the caller made it.
class ChunkedOutput {
public:
    explicit ChunkedOutput(std::string& out) : out_(out) {}
    ChunkedOutput(const ChunkedOutput&) = delete;
    ChunkedOutput& operator=(const ChunkedOutput&) = delete;

    // Room for Slack bytes at the returned place.
    char* Room() {
        if (Size - used_ < Slack) {
            Flush();
        }
        return buffer_.data() + used_;
    }
    void Advance(std::size_t bytes) { used_ += bytes; }

    void Copy(const unsigned char* p, std::size_t length) {
        while (length > 0) {
            const std::size_t take = std::min(length, Size - used_);
            std::memcpy(buffer_.data() + used_, p, take);
            used_ += take;
            p += take;
            length -= take;
            if (used_ == Size) {
                Flush();
            }
        }
    }

    void Flush() {
        out_.append(buffer_.data(), used_);
        used_ = 0;
    }

    static constexpr std::size_t Slack = 16; // the most one character writes

private:
    static constexpr std::size_t Size = 8192;
    std::string& out_;
    std::array<char, Size> buffer_;
    std::size_t used_ = 0;
};

// The character at `p` (not ASCII), read as the converter the program always
// used read it: the common well-formed two- and three-byte forms directly, any
// other through DecodeUtf8At, whose length and code point also decide what is
// skipped and written for a character that is no character.
struct Character {
    char32_t CodePoint;
    std::size_t Length;
    bool Scalar;
};

inline Character ReadCharacter(std::string_view text, const unsigned char* p,
                               const unsigned char* end) {
    const unsigned char b = *p;
    // Three bytes first: most of a Japanese text.
    if ((b & 0xF0) == 0xE0 && end - p >= 3 && ((p[1] ^ 0x80u) | (p[2] ^ 0x80u)) < 0x40) {
        const auto cp =
            static_cast<char32_t>((b & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu));
        if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
            return {cp, 3, true};
        }
    } else if (b >= 0xC2 && b <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
        return {static_cast<char32_t>((b & 0x1Fu) << 6 | (p[1] & 0x3Fu)), 2, true};
    }
    const auto at = static_cast<std::size_t>(reinterpret_cast<const char*>(p) - text.data());
    const Utf8Char c = DecodeUtf8At(text, at);
    return {c.CodePoint, c.Length, c.Form == Utf8Form::Scalar};
}

// The CP932 code for a character; NoCode for one that is no character.
inline std::uint16_t CodeFor(const EncodeTable& codes, const Character& c) {
    return c.Scalar ? codes.CodeOf(c.CodePoint) : NoCode;
}

// Walks the characters of a UTF-8 text that are not ASCII, calling
// `each(character, code, where)`; ASCII runs go to `ascii(p, length)`. Either may
// answer false to stop the walk, which then answers false.
template <typename Ascii, typename Each>
bool WalkUtf8(std::string_view utf8, Ascii&& ascii, Each&& each) {
    const EncodeTable& codes = Codes();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        if (*p < 0x80) {
            const std::size_t run = AsciiRun(p, end);
            if (!ascii(p, run)) {
                return false;
            }
            p += run;
            continue;
        }
        const Character c = ReadCharacter(utf8, p, end);
        if (!each(c, CodeFor(codes, c), p)) {
            return false;
        }
        p += c.Length;
    }
    return true;
}

// What a form file holds for a character CP932 has no code for but that has a
// plain likeness every reader knows at once; "?" stands for any other. ASCII
// only, so that what is written is also what the question before it shows.
struct Lookalike {
    char32_t CodePoint;
    std::string_view Text;
};
constexpr std::array Lookalikes{
    Lookalike{0x00A0, " "},   // no-break space
    Lookalike{0x00A9, "(C)"}, // copyright sign
    Lookalike{0x00AE, "(R)"}, // registered sign
    Lookalike{0x00BC, "1/4"}, // one quarter
    Lookalike{0x00BD, "1/2"}, // one half
    Lookalike{0x00BE, "3/4"}, // three quarters
    Lookalike{0x2013, "-"},   // en dash (the em dash has a code)
    Lookalike{0x2122, "TM"},  // trade mark sign
};

// What `mode` writes for a character CP932 has no code for; a numeric
// reference goes to `reference`, which must hold 12 characters, and is returned.
std::string_view UnmappedText(const Character& c, Unmappable mode, char* reference) {
    if (mode == Unmappable::NumericReference) {
        char* at = reference;
        *at++ = '&';
        *at++ = '#';
        at = std::to_chars(at, at + 10, static_cast<std::uint32_t>(c.CodePoint)).ptr;
        *at++ = ';';
        return {reference, static_cast<std::size_t>(at - reference)};
    }
    if (mode == Unmappable::Lookalike && c.Scalar) {
        for (const Lookalike& l : Lookalikes) {
            if (l.CodePoint == c.CodePoint) {
                return l.Text;
            }
        }
    }
    return "?";
}

void Encode(std::string_view utf8, Unmappable mode, std::string& out) {
    ChunkedOutput output(out);
    WalkUtf8(
        utf8,
        [&](const unsigned char* p, std::size_t length) {
            output.Copy(p, length);
            return true;
        },
        [&](const Character& c, std::uint16_t code, const unsigned char*) {
            char* at = output.Room();
            if (code == NoCode) {
                // "&#1114111;" at the most: within Slack.
                const std::string_view text = UnmappedText(c, mode, at);
                std::memmove(at, text.data(), text.size());
                output.Advance(text.size());
            } else if (code < 0x100) {
                *at = static_cast<char>(code);
                output.Advance(1);
            } else if (code != NoBytes) {
                at[0] = static_cast<char>(code >> 8);
                at[1] = static_cast<char>(code & 0xFF);
                output.Advance(2);
            }
            return true;
        });
    output.Flush();
}

// `cp` (below U+10000) as UTF-8 at `at`; the bytes written.
inline std::size_t PutUtf8(char* at, char16_t cp) {
    if (cp < 0x80) {
        at[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        at[0] = static_cast<char>(0xC0 | (cp >> 6));
        at[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    at[0] = static_cast<char>(0xE0 | (cp >> 12));
    at[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    at[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
}

} // namespace

void Cp932Builder::Reserve(std::size_t bytes) {
    out_.reserve(bytes);
}

void Cp932Builder::Append(std::string_view utf8) {
    Encode(utf8, mode_, out_);
}

std::string Cp932Builder::Take() {
    return std::exchange(out_, std::string());
}

std::string Utf8ToCp932(std::string_view utf8, Unmappable mode) {
    std::string out;
    // One byte of UTF-8 never becomes more than one of CP932 but in references.
    out.reserve(utf8.size());
    Encode(utf8, mode, out);
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() + cp932.size() / 2);
    ChunkedOutput output(out);
    const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const auto* end = p + cp932.size();
    const PairUtf8Table& pairs = PairsAsUtf8();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            const std::size_t run = AsciiRun(p, end);
            output.Copy(p, run);
            p += run;
            continue;
        }
        char* at = output.Room();
        // A lead byte whose pair is no character is one bad byte, and the byte
        // after it is read again on its own.
        if (IsLead(b) && end - p >= 2 && p[1] >= 0x40 && p[1] <= 0xFC) {
            const std::uint32_t utf8 = pairs.At(PairIndex(b, p[1]));
            if (utf8 != 0) {
                // All four bytes go at once; the length byte after the
                // character is overwritten by what follows.
                std::memcpy(at, &utf8, sizeof utf8);
                output.Advance(utf8 >> 24);
                p += 2;
                continue;
            }
        }
        const char16_t cp = IsLead(b) ? NoCharacter : SingleByteTable[b];
        output.Advance(PutUtf8(at, cp == NoCharacter ? char16_t{0xFFFD} : cp));
        ++p;
    }
    output.Flush();
    return out;
}

std::size_t Cp932ByteLength(std::string_view utf8) {
    std::size_t bytes = 0;
    WalkUtf8(
        utf8,
        [&](const unsigned char*, std::size_t length) {
            bytes += length;
            return true;
        },
        [&](const Character&, std::uint16_t code, const unsigned char*) {
            bytes += code == NoBytes ? 0 : code == NoCode || code < 0x100 ? 1 : 2;
            return true;
        });
    return bytes;
}

bool IsCp932Representable(std::string_view utf8) {
    return WalkUtf8(
        utf8, [](const unsigned char*, std::size_t) { return true; },
        [](const Character&, std::uint16_t code, const unsigned char*) { return code != NoCode; });
}

bool RoundTripsThroughCp932(std::string_view utf8) {
    // Every code read back on its own gives what the whole text reads back as:
    // no character is written as a lead byte alone.
    return WalkUtf8(
        utf8, [](const unsigned char*, std::size_t) { return true; },
        [](const Character& c, std::uint16_t code, const unsigned char*) {
            return code != NoCode && code != NoBytes && CodeReadsAs(code) == c.CodePoint;
        });
}

std::vector<LossyCharacter> FindLossyCharacters(std::string_view utf8, std::size_t limit,
                                                Unmappable mode) {
    std::vector<LossyCharacter> found;
    // The whole text first: most texts come back whole.
    if (limit == 0 || RoundTripsThroughCp932(utf8)) {
        return found;
    }
    // Each character once, known by the code point its bytes spell, well-formed
    // or not. A character written as nothing has nothing to show for it.
    std::unordered_set<char32_t> seen;
    WalkUtf8(
        utf8, [](const unsigned char*, std::size_t) { return true; },
        [&](const Character& c, std::uint16_t code, const unsigned char* at) {
            if (!seen.insert(c.CodePoint).second || code == NoBytes ||
                (code != NoCode && CodeReadsAs(code) == c.CodePoint)) {
                return true;
            }
            // A byte that starts no character of its own stands for U+FFFD.
            std::string character = !c.Scalar && c.Length == 1
                                        ? std::string("\xEF\xBF\xBD")
                                        : std::string(reinterpret_cast<const char*>(at), c.Length);
            std::string back;
            if (code == NoCode) {
                std::array<char, 12> reference{};
                back = UnmappedText(c, mode, reference.data());
            } else {
                AppendUtf8(back, CodeReadsAs(code));
            }
            found.push_back(LossyCharacter{std::move(character), std::move(back)});
            return found.size() < limit;
        });
    return found;
}

} // namespace kelvaro

// Decoding never fails and gives valid UTF-8 that encodes back to the same bytes
// wherever they were CP932; encoding arbitrary bytes never fails either, and a
// text encoded in pieces cut between characters gives what it gives whole.
// Where there is an iconv, both directions give what glibc's converter gives.

#include "platform/cp932.h"

#include "support/glibc_cp932.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace kelvaro;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// Strict UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80           ? 1
                          : (b >> 5) == 0x6  ? 2
                          : (b >> 4) == 0xE  ? 3
                          : (b >> 3) == 0x1E ? 4
                                             : 0;
        if (len == 0 || i + len > s.size()) {
            return false;
        }
        char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (std::size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = Cp932ToUtf8(bytes);
    if (!IsValidUtf8(utf8)) {
        Fail("decoding gave invalid UTF-8");
    }
    const std::string back = Utf8ToCp932(utf8, Unmappable::Question);
    if (Cp932ByteLength(utf8) != back.size()) {
        Fail("the CP932 length is not the length of the encoded text");
    }
    const bool clean = utf8.find("\xEF\xBF\xBD") == std::string::npos;
    if (clean && !IsCp932Representable(utf8)) {
        Fail("a text decoded without replacement is not representable");
    }
    // Several codes stand for one character (the NEC and IBM duplicates), so
    // bytes may come back as another code for the same character, never as
    // another character.
    if (clean && Cp932ToUtf8(back) != utf8) {
        Fail("decoded text does not survive encoding and decoding again");
    }

    // Cut the text between two characters at a place the input chooses.
    std::size_t cut = size == 0 ? 0 : data[0] % (utf8.size() + 1);
    while (cut < utf8.size() && IsContinuation(utf8[cut])) {
        ++cut;
    }
    for (Unmappable mode : {Unmappable::Question, Unmappable::NumericReference}) {
        Cp932Builder builder(mode);
        builder.Append(std::string_view(utf8).substr(0, cut));
        builder.Append(std::string_view(utf8).substr(cut));
        if (builder.Take() != Utf8ToCp932(utf8, mode)) {
            Fail("a text encoded in two pieces differs from the text encoded whole");
        }
    }

    // Arbitrary bytes taken for UTF-8: broken sequences count as unmappable.
    const std::string question = Utf8ToCp932(bytes, Unmappable::Question);
    const std::string references = Utf8ToCp932(bytes, Unmappable::NumericReference);
    if (Cp932ByteLength(bytes) != question.size()) {
        Fail("the CP932 length of arbitrary bytes is not their encoded length");
    }

#ifdef KELVARO_HAVE_ICONV
    static test::Glibc glibcReads("UTF-8", "CP932");
    static test::Glibc glibcWrites("CP932", "UTF-8");
    if (glibcReads(bytes).Text != utf8) {
        Fail("reading differs from glibc's converter");
    }
    const test::Converted written = glibcWrites(bytes);
    if (written.Text != question || written.Whole != IsCp932Representable(bytes)) {
        Fail("writing differs from glibc's converter");
    }
    if (glibcWrites(bytes, Unmappable::NumericReference).Text != references) {
        Fail("writing with references differs from glibc's converter");
    }
    if (RoundTripsThroughCp932(bytes) != (glibcReads(question).Text == bytes)) {
        Fail("the round trip differs from glibc's converter's");
    }
#endif
    return 0;
}

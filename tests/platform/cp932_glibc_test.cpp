// The codec against glibc's "CP932" converter, which wrote and read every file
// before the program had its own table: every code point, every one- and
// two-byte sequence. Where there is no iconv (a Windows build) it skips.

#include "platform/cp932.h"

#include <gtest/gtest.h>

#include "support/glibc_cp932.h"

#include <functional>
#include <string>

namespace kelvaro {
namespace {

// The bytes `cp` would have in UTF-8 when written with `length` bytes, even
// where that is not well-formed (a surrogate, an overlong form).
std::string Utf8Bits(char32_t cp, int length) {
    static constexpr unsigned char Lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    std::string s(static_cast<std::size_t>(length), '\0');
    for (int k = length - 1; k > 0; --k, cp >>= 6) {
        s[static_cast<std::size_t>(k)] = static_cast<char>(0x80 | (cp & 0x3F));
    }
    s[0] = static_cast<char>(length == 1 ? cp : Lead[length] | cp);
    return s;
}

struct Sweep {
    const char* Inputs;
    std::function<void(const std::function<void(const std::string&)>&)> Each;
};

const Sweep Sweeps[] = {
    {"every code point, and every surrogate and overlong form of three bytes",
     [](const auto& check) {
         for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
             check(Utf8Bits(cp, cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4));
         }
         for (char32_t cp = 0; cp < 0x800; ++cp) {
             check(Utf8Bits(cp, 3));
         }
     }},
    {"every one- and two-byte sequence",
     [](const auto& check) {
         for (int a = 0; a < 256; ++a) {
             check(std::string(1, static_cast<char>(a)));
             for (int b = 0; b < 256; ++b) {
                 check(std::string{static_cast<char>(a), static_cast<char>(b)});
             }
         }
     }},
};

class Cp932AgainstGlibc : public testing::TestWithParam<Sweep> {};

TEST_P(Cp932AgainstGlibc, EncodingAndDecodingGiveGlibcsAnswers) {
#ifndef KELVARO_HAVE_ICONV
    GTEST_SKIP() << "no iconv on this platform to compare with";
#else
    int differences = 0;
    const auto expect = [&](const std::string& input, const char* what, const std::string& codec,
                            const std::string& glibc) {
        if (codec != glibc && ++differences <= 10) {
            ADD_FAILURE() << what << " of " << testing::PrintToString(input) << ": "
                          << testing::PrintToString(codec) << ", glibc "
                          << testing::PrintToString(glibc);
        }
    };
    const auto flag = [](bool b) { return std::string(b ? "yes" : "no"); };
    test::Glibc write("CP932", "UTF-8");
    test::Glibc read("UTF-8", "CP932");
    GetParam().Each([&](const std::string& input) {
        // The input read as UTF-8 and written as CP932 ...
        const test::Converted written = write(input);
        expect(input, "writing", Utf8ToCp932(input), written.Text);
        expect(input, "writing references", Utf8ToCp932(input, Unmappable::NumericReference),
               write(input, Unmappable::NumericReference).Text);
        expect(input, "the byte length", std::to_string(Cp932ByteLength(input)),
               std::to_string(written.Text.size()));
        expect(input, "representable", flag(IsCp932Representable(input)), flag(written.Whole));
        expect(input, "round trip", flag(RoundTripsThroughCp932(input)),
               flag(read(written.Text).Text == input));
        // ... and read as CP932.
        expect(input, "reading", Cp932ToUtf8(input), read(input).Text);
    });
#endif
}

INSTANTIATE_TEST_SUITE_P(Sweeps, Cp932AgainstGlibc, testing::ValuesIn(Sweeps),
                         [](const auto& sweep) { return "Sweep" + std::to_string(sweep.index); });

} // namespace
} // namespace kelvaro

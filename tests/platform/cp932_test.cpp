#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

TEST(Cp932, WindowsExtensionsAndAsciiConvertBothWays) {
    // ～ ① Ⅰ ㈱ are code page 932, not strict Shift_JIS; "\" and "~" stay ASCII.
    const std::string text = "～①Ⅰ㈱\\~【】　ｱ作者";
    const std::string bytes = "\x81\x60\x87\x40\x87\x54\x87\x8A\\~\x81\x79\x81\x7A\x81\x40\xB1"
                              "\x8D\xEC\x8E\xD2";
    EXPECT_EQ(Utf8ToCp932(text), bytes);
    EXPECT_EQ(Cp932ToUtf8(bytes), text);
    EXPECT_TRUE(IsCp932Representable(text));
}

TEST(Cp932, UnmappableCharactersByMode) {
    EXPECT_EQ(Utf8ToCp932("a😀b", Unmappable::Question), "a?b");
    EXPECT_EQ(Utf8ToCp932("a😀b€", Unmappable::NumericReference), "a&#128512;b&#8364;");
    EXPECT_FALSE(IsCp932Representable("😀"));
    // broken UTF-8 counts as unmappable, one byte at a time, and the rest still converts
    EXPECT_EQ(Utf8ToCp932("\xFF"
                          "a\xE3\x81",
                          Unmappable::Question),
              "?a??");
}

TEST(Cp932, InvalidBytesDecodeToReplacementCharacters) {
    EXPECT_EQ(Cp932ToUtf8("a\xA0"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Cp932ToUtf8("\x82"), "\xEF\xBF\xBD"); // a lead byte at the end
    EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932, ByteLengthCountsHalfAndFullWidth) {
    EXPECT_EQ(Cp932ByteLength("*"), 1u);
    EXPECT_EQ(Cp932ByteLength("【"), 2u);
    EXPECT_EQ(Cp932ByteLength("ｱｰｶｲﾌﾞｻｲｽﾞ"), 10u);
    EXPECT_EQ(Cp932ByteLength("   作者名   "), 12u);
    EXPECT_EQ(Cp932ByteLength(""), 0u);
}

TEST(Cp932, LargeTextsConvertWhole) {
    std::string big;
    for (int i = 0; i < 100000; ++i) {
        big += "作";
    }
    std::string bytes = Utf8ToCp932(big);
    EXPECT_EQ(bytes.size(), 200000u);
    EXPECT_EQ(Cp932ToUtf8(bytes), big);
}

// Form files write a plain likeness where a character has one; the other two
// modes write what they always wrote, likeness or not.
TEST(Cp932, LookalikesOnlyWhereAskedFor) {
    struct Row {
        const char* Character;
        const char* Lookalike;
        const char* Reference;
    };
    const Row rows[] = {
        {"©", "(C)", "&#169;"},    {"®", "(R)", "&#174;"},    {"™", "TM", "&#8482;"},
        {"\u00A0", " ", "&#160;"}, {"–", "-", "&#8211;"},     {"½", "1/2", "&#189;"},
        {"¼", "1/4", "&#188;"},    {"¾", "3/4", "&#190;"},    {"😀", "?", "&#128512;"},
        {"한", "?", "&#54620;"},   {"\xFF", "?", "&#65533;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Character);
        const std::string text = std::string("a") + row.Character + "作";
        EXPECT_EQ(Utf8ToCp932(text, Unmappable::Lookalike),
                  std::string("a") + row.Lookalike + "\x8D\xEC");
        EXPECT_EQ(Utf8ToCp932(text, Unmappable::Question), "a?\x8D\xEC");
        EXPECT_EQ(Utf8ToCp932(text, Unmappable::NumericReference),
                  std::string("a") + row.Reference + "\x8D\xEC");
        const std::vector<LossyCharacter> found =
            FindLossyCharacters(text, 5, Unmappable::Lookalike);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].WrittenAs, row.Lookalike);
        EXPECT_EQ(FindLossyCharacters(text, 5)[0].WrittenAs, "?");
    }
    // A character with a code keeps it: the likeness is for characters without one.
    EXPECT_EQ(Utf8ToCp932("¥—", Unmappable::Lookalike), Utf8ToCp932("¥—", Unmappable::Question));
}

} // namespace
} // namespace kelvaro

namespace kelvaro {
namespace {

TEST(Cp932Lossy, CharactersWithACodeThatReadsBackAsAnotherCount) {
    // Each has a CP932 code, so IsCp932Representable passes them, but a file
    // holding them gives back the character on the right.
    const std::vector<std::pair<std::string, std::string>> oneWay = {
        {"¥", "\\"}, {"‾", "~"}, {"¢", "￠"}, {"£", "￡"},  {"¬", "￢"},
        {"—", "―"},  {"‖", "∥"}, {"−", "－"}, {"〜", "～"},
    };
    for (const auto& [character, back] : oneWay) {
        SCOPED_TRACE(character);
        EXPECT_TRUE(IsCp932Representable(character));
        EXPECT_FALSE(RoundTripsThroughCp932("a" + character + "b"));
        EXPECT_EQ(FindLossyCharacters("a" + character + "b", 5),
                  (std::vector<LossyCharacter>{{character, back}}));
    }
}

TEST(Cp932Lossy, TextThatComesBackWholeHasNone) {
    const std::string text = "円 ￥500 ～①Ⅰ㈱ \\~ ―∥－￠￡￢ ｱｲｳ 作者\r\n\t";
    EXPECT_TRUE(RoundTripsThroughCp932(text));
    EXPECT_EQ(FindLossyCharacters(text, 5), std::vector<LossyCharacter>{});
    EXPECT_EQ(FindLossyCharacters("", 5), std::vector<LossyCharacter>{});
}

TEST(Cp932Lossy, EachOnceInOrderUpToTheLimit) {
    const std::string text = "😀 한 ¥ 😀 𠮷 ¥ \xFF";
    EXPECT_EQ(FindLossyCharacters(text, 10),
              (std::vector<LossyCharacter>{
                  {"😀", "?"}, {"한", "?"}, {"¥", "\\"}, {"𠮷", "?"}, {"\xEF\xBF\xBD", "?"}}));
    EXPECT_EQ(FindLossyCharacters(text, 2), (std::vector<LossyCharacter>{{"😀", "?"}, {"한", "?"}}));
    EXPECT_EQ(FindLossyCharacters(text, 0), std::vector<LossyCharacter>{});
}

} // namespace
} // namespace kelvaro

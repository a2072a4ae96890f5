#include "compose/pause_line.h"

#include "platform/error.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(ReadRepeatCount, ReadsTheLeadingNumberLikeTheCountField) {
    struct Case {
        const char* text;
        std::int32_t count;
    };
    const Case cases[] = {
        {"78", 78},
        {"7 8", 78},
        {" \t7\n8 ", 78},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-3", -3},
        {"+4", 4},
        {"7.5", 8},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"0.4999", 0},
        {".5", 0},
        {"1.5e1", 15},
        {"1E2", 100},
        {"2D1", 20},
        {"1e", 1},
        {"1e+", 1},
        {"5e-1", 0},
        {"&H1F", 31},
        {"&hff", 255},
        {"&O17", 15},
        {"&o8", 0},
        {"&HG", 0},
        {"&", 0},
        {"1,000", 1},
        {"7\r8", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"&H7FFFFFFF", 2147483647},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadRepeatCount(c.text), c.count) << '"' << c.text << '"';
    }
}

TEST(ReadRepeatCount, OutsideThirtyTwoBitsIsAnOverflow) {
    for (const char* text : {"2147483648", "-2147483649", "1e10", "1e400", "&H80000000"}) {
        try {
            ReadRepeatCount(text);
            ADD_FAILURE() << text << " did not overflow";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), ErrorNo::Overflow) << text;
        }
    }
    // rounding happens before the range check
    EXPECT_EQ(ReadRepeatCount("2147483647.4"), 2147483647);
}

TEST(BuildPauseLine, RepeatsTheWholeStringAndCountsCharactersForTheBound) {
    EXPECT_EQ(BuildPauseLine("=-", "3"), "=-=-=-");
    EXPECT_EQ(BuildPauseLine("＝", "2"), "＝＝");
    EXPECT_EQ(BuildPauseLine("", "5"), "");
    // the bound counts characters, not bytes: 1,048,576 full-width characters are allowed
    EXPECT_EQ(BuildPauseLine("＝", "1048576").size(), 3u * 1048576u);
    try {
        BuildPauseLine("ab", "524289");
        FAIL() << "expected the length bound";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), ErrorNo::OutOfMemory);
    }
    EXPECT_EQ(BuildPauseLine("ab", "524288").size(), 1048576u);
}

} // namespace
} // namespace kelvaro

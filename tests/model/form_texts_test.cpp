#include "model/form_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvaro {
namespace {

TEST(AsSingleLine, EveryLineBreakBecomesOneBlank) {
    EXPECT_EQ(AsSingleLine("a\r\nb"), "a b");
    EXPECT_EQ(AsSingleLine("a\nb\rc"), "a b c");
    EXPECT_EQ(AsSingleLine("a\r\n\r\nb"), "a  b");
    EXPECT_EQ(AsSingleLine("\r\n先頭と末尾\n"), " 先頭と末尾 ");
    EXPECT_EQ(AsSingleLine("a\u2028b\u2029c\u0085d"), "a b c d");
    // Nothing else changes: tabs, full-width blanks, any other character.
    EXPECT_EQ(AsSingleLine("作者\t名　ｱｲｳ ～"), "作者\t名　ｱｲｳ ～");
    EXPECT_EQ(AsSingleLine(""), "");
}

} // namespace
} // namespace kelvaro

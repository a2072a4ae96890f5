#include "model/form_texts.h"

#include "model/defaults.h"
#include "model/long_text.h"

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

TEST(NamedFormTexts, EveryTextOfTheFileByTheNameOfItsItem) {
    Workspace ws = FreshWorkspace();
    SetUserName(ws, 0, "独自の行");
    SetUserName(ws, 3, "");
    const auto texts = NamedFormTexts(ws.form);
    ASSERT_EQ(texts.size(), 11 + 7 + 4 + 15 + ws.form.Order.size() + 4 + 9);
    EXPECT_EQ(texts[0].Item, "作者名");
    EXPECT_EQ(texts[5].Item, "ｱｰｶｲﾌﾞｻｲｽﾞ");
    EXPECT_EQ(texts[9].Item, "独自の行"); // a user item by the name the user gave it
    EXPECT_EQ(texts[11].Item, "種別");
    EXPECT_EQ(texts[18].Item, "追加1の項目名");
    EXPECT_EQ(texts[22].Item, "アーカイブ内容");
    EXPECT_FALSE(texts[22].SingleLine);
    EXPECT_EQ(texts[36].Item, "追加4"); // no name given: its key
    EXPECT_EQ(texts[37].Item, "項目順序");
    EXPECT_EQ(texts[texts.size() - 13].Item, "区切り線の文字");
    EXPECT_EQ(texts.back().Item, "HTMLの括弧項目");
    EXPECT_EQ(texts.back().Text, ws.form.HtmlSettings.back());
    EXPECT_TRUE(texts.back().SingleLine);
}

} // namespace
} // namespace kelvaro

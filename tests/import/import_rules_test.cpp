// The rules every import keeps whatever the ReadMe's style: the bytes' encoding
// and line ends change nothing, names match as typed in either width, and the
// form's order and the report follow the document, with nothing left out.

#include "import/readme_import.h"
#include "model/catalogue.h"
#include "model/name_fold.h"
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvaro {
namespace {

std::string WithLineEnds(const std::string& lf, const std::string& end) {
    std::string text;
    for (char c : lf) {
        text += c == '\n' ? end : std::string(1, c);
    }
    return text;
}

const std::string kReadMe = "ねこメモ Ver 2.1\n"
                            "━━━━━━━━━━━━\n"
                            "【作　者】山田 花子\n"
                            "【動作OS】Windows 11\n"
                            "━━━━━━━━━━━━\n"
                            "■ 概要\n"
                            "付箋のメモ帳です。\n"
                            "\n"
                            "■ 謎の節\n"
                            "一行目\n";

TEST(ImportRules, EveryEncodingAndLineEndReadsAlike) {
    const Form expected = ImportReadMeBytes(kReadMe).form;
    EXPECT_EQ(expected.LineValues[LineSlot::Author], "山田 花子");
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const std::string utf8 = WithLineEnds(kReadMe, end);
        for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, Utf8ToCp932(utf8)}) {
            SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 4)) + " with " +
                         testing::PrintToString(std::string(end)));
            const ImportResult imported = ImportReadMeBytes(bytes, "ReadMe.txt");
            EXPECT_EQ(imported.form.LineValues, expected.LineValues);
            EXPECT_EQ(imported.form.LongTexts, expected.LongTexts);
            EXPECT_EQ(imported.form.Order, expected.Order);
        }
    }
}

TEST(ImportRules, NamesMatchAsTypedInEitherWidth) {
    struct Case {
        const char* Typed;
        const char* Key; // the item it must find, "" for none
    };
    const Case cases[] = {
        {"アーカイブサイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ"},
        {"ｱｰｶｲﾌﾞ ｻｲｽﾞ", "ｱｰｶｲﾌﾞｻｲｽﾞ"},
        {"シェアウェア代金", "ｼｪｱｳｪｱ代金"},
        {"必要ランタイム", "必要ﾗﾝﾀｲﾑ"},
        {"ｿﾌﾄ名", "ソフト名"},
        {"動作ＯＳ", "動作OS"},
        {"directx", "DirectX"},
        {"作者　名", "作者名"},
        {"アーカイフサイズ", ""},
        {"ソフト", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        const CatalogueItem* found = FindItemByFoldedKey(c.Typed);
        EXPECT_EQ(found == nullptr ? std::string() : std::string(found->Key), c.Key);
    }
    // The voiced and semi-voiced marks join the kana before them.
    EXPECT_EQ(FoldName("ﾊﾟｽﾜｰﾄﾞ ｳﾞｪﾙ"), "パスワードヴェル");
    EXPECT_NE(FoldName("ﾊﾞ"), FoldName("ﾊﾟ"));
}

TEST(ImportRules, TheOrderAndTheReportFollowTheDocumentAndKeepEveryLine) {
    std::string readMe = kReadMe;
    for (int i = 1; i <= 3; ++i) {
        readMe += "■ 不明" + std::to_string(i) + "\n本文" + std::to_string(i) + "\n";
    }
    const ImportResult imported = ImportReadMeBytes(readMe, "ReadMe.txt");
    const Form& form = imported.form;
    EXPECT_EQ(form.LineValues[LineSlot::SoftwareName], "ねこメモ");
    EXPECT_EQ(form.LineValues[LineSlot::Version], "2.1");

    // Checked entries first, in the document's order (the title line first),
    // separators where it drew them.
    std::vector<std::string> checked;
    bool uncheckedSeen = false;
    for (const OrderEntry& entry : form.Order) {
        if (entry.Checked) {
            EXPECT_FALSE(uncheckedSeen) << entry.Key << " is checked after an unchecked entry";
            checked.push_back(entry.Text);
        }
        uncheckedSeen = uncheckedSeen || !entry.Checked;
    }
    EXPECT_EQ(checked, (std::vector<std::string>{"ソフト名", "バージョン", "区切り線", "作者名",
                                                 "動作OS", "区切り線", "特徴", "謎の節", "不明1"}));

    // Sections without an item: two user long texts, then the catch-all at the end
    // of the last one, with their headings.
    EXPECT_EQ(form.UserNames[2], "謎の節");
    EXPECT_EQ(form.UserNames[3], "不明1");
    EXPECT_EQ(form.LongTexts[14], "本文1\r\n\r\n■ 不明2\r\n本文2\r\n\r\n■ 不明3\r\n本文3");
    EXPECT_EQ(imported.report.CatchAllLines,
              (std::vector<std::string>{"■ 不明2", "本文2", "■ 不明3", "本文3"}));
    std::vector<std::string> headings;
    for (const ImportPlacement& p : imported.report.Placements) {
        headings.push_back(p.Heading + "→" + p.Item);
    }
    EXPECT_EQ(headings.back(), "■ 不明3→" + std::string(CatchAllItem));
    EXPECT_EQ(headings.size(), 9u) << imported.report.Text();
}

} // namespace
} // namespace kelvaro

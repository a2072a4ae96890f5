#include "compose/compose_readme.h"

#include "compose/readme_file.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace kelvaro {
namespace {

using test::ReadFixture;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

using test::FormWith;

TEST(WorkedExamples, DefaultFormWritesTheTextReadMeByteForByte) {
    Workspace ws = FreshWorkspace();
    std::string composed = ComposeReadMe(ws.form, ReadMeFormat::Text);
    EXPECT_EQ(ReadMeFileBytes(composed, ReadMeFormat::Text), ReadFixture("default_readme.txt"));
    EXPECT_EQ(Lines(composed).size(), 46u);
}

TEST(WorkedExamples, DefaultFormWritesTheHtmlPageByteForByte) {
    Workspace ws = FreshWorkspace();
    std::string composed = ComposeReadMe(ws.form, ReadMeFormat::Html);
    EXPECT_EQ(ReadMeFileBytes(composed, ReadMeFormat::Html), ReadFixture("default_readme.html"));
    EXPECT_EQ(Lines(composed).size(), 53u);
    EXPECT_TRUE(composed.ends_with("</BODY></HTML>"));
}

TEST(TextLayouts, SingleLinesLongTextsAndNames) {
    Form form = FormWith({"作者名", "特徴", "追加1", "追加3", "ｱｰｶｲﾌﾞｻｲｽﾞ"});
    form.LineValues[LineSlot::Author] = "<b>山田 & 太郎</b>";
    form.LongTexts[2] = "a\r\nb";
    form.UserNames[0] = "";
    form.LineValues[LineSlot::UserItem1] = "値";
    form.UserNames[2] = "作者名"; // a user item renamed to a catalogue key stays a user item
    form.LongTexts[13] = "x\r\n";
    form.LineValues[LineSlot::ArchiveSize] = "1.2";
    form.SizeUnit = 2;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "【   作者名   】　<b>山田 & 太郎</b>\r\n"
                                                       "【特徴】\r\na\r\nb\r\n\r\n"
                                                       "【】　値\r\n"
                                                       "【作者名】\r\nx\r\n\r\n\r\n"
                                                       "【 ｱｰｶｲﾌﾞｻｲｽﾞ 】　1.2MB\r\n");
}

TEST(TextLayouts, SizeUnitAndEmptyBrackets) {
    Form form = FormWith({"ｱｰｶｲﾌﾞｻｲｽﾞ", "作者名"});
    form.LeftBracket.clear();
    form.RightBracket.clear();
    form.SizeUnit = -1;
    form.LineValues[LineSlot::Author] = "A";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), " ｱｰｶｲﾌﾞｻｲｽﾞ 　\r\n   作者名   　A\r\n");
    form.SizeUnit = 0;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), " ｱｰｶｲﾌﾞｻｲｽﾞ 　Byte\r\n   作者名   　A\r\n");
}

TEST(TextLayouts, UncheckedEntriesWriteNothingAndDuplicatesWriteTwice) {
    Form form = FormWith({"作者名", "作者名", "ソフト名"});
    form.LineValues[LineSlot::Author] = "A";
    form.Order[2].Checked = false;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text),
              "【   作者名   】　A\r\n【   作者名   】　A\r\n");
}

TEST(TextLayouts, CreditLineHasNoLineEndOfItsOwn) {
    Form form = FormWith({"このソフトウェアの情報", "作者名"});
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text),
              "このReadMeファイルは、「Kelvaro」によって作成されました。【   作者名   】　\r\n");
}

TEST(PlaceholderReplacement, OnlyExactPlaceholderInSingleLinesIsEmptied) {
    Form form =
        FormWith({"種別", "開発言語", "動作OS", "ホームページ", "メール", "追加1", "作者名"});
    form.ReplaceUserInput = 1;
    form.ChoiceValues[ChoiceSlot::SoftwareKind] = "ユーザー入力可能";
    form.ChoiceValues[ChoiceSlot::Language] = "ユーザー入力可能 ";
    form.ChoiceValues[ChoiceSlot::OperatingSystem] = "ユーザー入力可能1";
    form.LineValues[LineSlot::HomePage] = "ユーザー入力可能";
    form.LineValues[LineSlot::Mail] = "ユーザー入力可能";
    form.LineValues[LineSlot::UserItem1] = "ユーザー入力可能";
    form.LineValues[LineSlot::Author] = "ユーザー入力可能";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "【    種別    】　\r\n"
                                                       "【  開発言語  】　ユーザー入力可能 \r\n"
                                                       "【   動作OS   】　ユーザー入力可能1\r\n"
                                                       "【ホームページ】　ユーザー入力可能\r\n"
                                                       "【   メール   】　ユーザー入力可能\r\n"
                                                       "【ユーザー入力可能1】　\r\n"
                                                       "【   作者名   】　\r\n");
    form.ReplaceUserInput = 2; // only 1 switches replacement on
    EXPECT_NE(
        ComposeReadMe(form, ReadMeFormat::Text).find("【    種別    】　ユーザー入力可能\r\n"),
        std::string::npos);
}

TEST(PlaceholderReplacement, SizeIsComparedJoinedWithItsUnit) {
    Form form = FormWith({"ｱｰｶｲﾌﾞｻｲｽﾞ"});
    form.ReplaceUserInput = 1;
    form.LineValues[LineSlot::ArchiveSize] = "ユーザー入力可能";
    form.SizeUnit = 0;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text),
              "【 ｱｰｶｲﾌﾞｻｲｽﾞ 】　ユーザー入力可能Byte\r\n");
    form.SizeUnit = -1;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "【 ｱｰｶｲﾌﾞｻｲｽﾞ 】　\r\n");
}

TEST(SkipEmptyItems, EmptyValuesAreLeftOutOnlyWhenTheOptionIsOn) {
    Form form = FormWith({"区切り線", "作者名", "ソフト名", "ｱｰｶｲﾌﾞｻｲｽﾞ", "種別", "ホームページ",
                          "メール", "特徴", "使用方法", "このソフトウェアの情報"});
    form.PauseChars = "-";
    form.PauseCount = "3";
    form.LineValues[LineSlot::SoftwareName] = "Soft";
    form.LineValues[LineSlot::ArchiveSize] = "";
    form.SizeUnit = 1;
    form.ReplaceUserInput = 1; // 種別 holds the placeholder, written as empty
    form.LineValues[LineSlot::HomePage] = "";
    form.LongTexts[7] = "使い方";
    const std::string withoutOption = ComposeReadMe(form, ReadMeFormat::Text);
    EXPECT_NE(withoutOption.find("【   作者名   】　\r\n"), std::string::npos);
    EXPECT_NE(withoutOption.find("【 ｱｰｶｲﾌﾞｻｲｽﾞ 】　KB\r\n"), std::string::npos);

    form.SkipEmptyItems = 1;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text),
              "---\r\n【  ソフト名  】　Soft\r\n【使用方法】\r\n使い方\r\n\r\n"
              "このReadMeファイルは、「Kelvaro」によって作成されました。");
    form.SkipEmptyItems = 2; // a grey check box is not "on"
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), withoutOption);
}

TEST(PauseLines, RepeatCountsAndCharacters) {
    Form form = FormWith({"区切り線", "区切り線"});
    form.PauseChars = "=-";
    form.PauseCount = "3";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "=-=-=-\r\n=-=-=-\r\n");
    for (const char* count : {"0", "-3", "abc", ""}) {
        form.PauseCount = count;
        EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "\r\n\r\n") << count;
    }
    form.PauseChars = "*";
    form.PauseCount = "7.5";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "********\r\n********\r\n");
    // HR only changes the HTML page
    form.HtmlPauseAsHr = 1;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "********\r\n********\r\n");
}

TEST(PauseLines, OverflowAndLengthBoundFail) {
    Form form = FormWith({"区切り線"});
    form.PauseChars = "*";
    form.PauseCount = "2147483648";
    try {
        ComposeReadMe(form, ReadMeFormat::Text);
        FAIL() << "expected an overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), ErrorNo::Overflow);
    }
    form.PauseCount = "1048577";
    try {
        ComposeReadMe(form, ReadMeFormat::Text);
        FAIL() << "expected the length bound";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), ErrorNo::OutOfMemory);
    }
    form.PauseCount = "1048576";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text).size(), 1048576u + 2u);
    // the HR page never reads the count
    form.HtmlPauseAsHr = 1;
    form.PauseCount = "1e300";
    EXPECT_NO_THROW(ComposeReadMe(form, ReadMeFormat::Html));
}

TEST(PauseLines, TheLengthBoundFailsOnlyAReadMeThatWritesTheLine) {
    // A count far past the bound, with only the author checked: nothing to build.
    Form form = FormWith({"作者名"});
    form.LineValues[LineSlot::Author] = "山田";
    form.Order.push_back(OrderEntry{"区切り線", "区切り線", false});
    form.PauseChars = "*";
    form.PauseCount = "5000000";
    form.HtmlPauseAsHr = 0;
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Text), "【   作者名   】　山田\r\n");
    EXPECT_NE(ComposeReadMe(form, ReadMeFormat::Html).find("山田<BR>"), std::string::npos);

    // Checked, the separator is reached after the author and the bound fails there.
    form.Order.back().Checked = true;
    for (ReadMeFormat format : {ReadMeFormat::Text, ReadMeFormat::Html}) {
        EXPECT_EQ(test::ThrownNumber([&] { ComposeReadMe(form, format); }), ErrorNo::OutOfMemory);
    }
    // The HR page writes no line of characters.
    form.HtmlPauseAsHr = 1;
    EXPECT_NE(ComposeReadMe(form, ReadMeFormat::Html).find("<HR>"), std::string::npos);

    // A count outside 32 bits fails as before, separator or not.
    form.HtmlPauseAsHr = 0;
    form.Order.back().Checked = false;
    form.PauseCount = "2147483648";
    EXPECT_EQ(test::ThrownNumber([&] { ComposeReadMe(form, ReadMeFormat::Text); }),
              ErrorNo::Overflow);
}

TEST(UnknownKeys, AreReportedWithTheirPositionAndTheWalkGoesOn) {
    Form form = FormWith({"作者名", "作者名 ", "追加１", "ｱｰｶｲブｻｲｽﾞ", "ソフト名"});
    form.Order[2].Checked = false; // unchecked entries are not looked up
    std::vector<std::string> reported;
    std::string text =
        ComposeReadMe(form, ReadMeFormat::Text, [&](std::size_t p, const std::string& key) {
            reported.push_back(UnknownKeyMessage(p, key));
        });
    EXPECT_EQ(reported, (std::vector<std::string>{"2 / 作者名 ", "4 / ｱｰｶｲブｻｲｽﾞ"}));
    EXPECT_EQ(text, "【   作者名   】　\r\n【  ソフト名  】　\r\n");
}

TEST(HtmlLayouts, ItemMarkup) {
    Form form = FormWith({"作者名", "ホームページ", "メール", "特徴", "区切り線"});
    form.LineValues[LineSlot::Author] = "a<b &c";
    form.LineValues[LineSlot::HomePage] = "http://example.jp/";
    form.LineValues[LineSlot::Mail] = "me@example.jp";
    form.LongTexts[2] = "a\r\nb";
    form.HtmlPauseAsHr = 0;
    std::string page = ComposeReadMe(form, ReadMeFormat::Html);
    std::string body = page.substr(page.find("<BODY>\r\n") + 8);
    EXPECT_EQ(body, "<FONT class=\"Topic\">【   作者名   】</FONT>　a<b &c<BR>\r\n"
                    "<FONT class=\"Topic\">【ホームページ】</FONT>　<A "
                    "href=\"http://example.jp/\">http://example.jp/</A><BR>\r\n"
                    "<FONT class=\"Topic\">【   メール   】</FONT>　<A "
                    "href=\"mailto:me@example.jp\">me@example.jp</A><BR>\r\n"
                    "<FONT class=\"Topic\">【特徴】</FONT><BR>\r\na\r\nb<BR><BR>\r\n"
                    "<FONT class=\"Pause\">" +
                        std::string(78, '*') +
                        "</FONT>\r\n"
                        "<BR>\r\n</BODY></HTML>");
}

TEST(HtmlLayouts, PageHeadFollowsSettingsAndTitle) {
    Form form = FormWith({"作者名"});
    form.Order[0].Checked = false; // the title comes from ソフト名 even when unchecked
    form.LineValues[LineSlot::SoftwareName] = "My<Soft>";
    form.HtmlBackgroundMode = 1;
    form.HtmlSettings[HtmlSetting::BodyStyle] = "";
    std::vector<std::string> lines = Lines(ComposeReadMe(form, ReadMeFormat::Html));
    ASSERT_GE(lines.size(), 16u);
    EXPECT_EQ(lines[9], "BODY{background-image:\"images/back.gif\";}");
    EXPECT_EQ(lines[13], "<TITLE>My<Soft></TITLE>");
    form.HtmlBackgroundMode = -1; // neither option selected
    EXPECT_EQ(Lines(ComposeReadMe(form, ReadMeFormat::Html))[9], "BODY{}");
}

TEST(HtmlLayouts, ReplacementLeavesLinkTextsAlone) {
    Form form = FormWith({"種別", "ホームページ"});
    form.ReplaceUserInput = 1;
    form.LineValues[LineSlot::HomePage] = "ユーザー入力可能";
    std::string page = ComposeReadMe(form, ReadMeFormat::Html);
    EXPECT_NE(page.find("<FONT class=\"Topic\">【    種別    】</FONT>　<BR>\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<A href=\"ユーザー入力可能\">ユーザー入力可能</A>"), std::string::npos);
}

// What is written, and in which order, is decided once for every format.
constexpr ReadMeFormat AllFormats[] = {ReadMeFormat::Text, ReadMeFormat::Html,
                                       ReadMeFormat::Markdown, ReadMeFormat::Html5};

TEST(EveryFormat, UnknownKeysAreToldInOrderAndLeftOut) {
    Form form = FormWith({"作者名", "XYZ", "ソフト名", "作者名 ", "特徴"});
    form.Order[2].Checked = false;
    for (ReadMeFormat format : AllFormats) {
        std::vector<std::string> reported;
        const std::string readme =
            ComposeReadMe(form, format, [&](std::size_t p, const std::string& key) {
                reported.push_back(UnknownKeyMessage(p, key));
            });
        EXPECT_EQ(reported, (std::vector<std::string>{"2 / XYZ", "4 / 作者名 "}));
        EXPECT_EQ(readme.find("XYZ"), std::string::npos);
        EXPECT_EQ(readme.find("ソフト名"), std::string::npos); // unchecked
        EXPECT_LT(readme.find("作者名"), readme.find("特徴"));
    }
}

TEST(EveryFormat, EmptyItemsAreLeftOutAndThePlaceholderEmptiedAlike) {
    Form form = FormWith({"作者名", "種別", "特徴", "使用方法", "ホームページ"});
    form.SkipEmptyItems = 1;
    form.ReplaceUserInput = 1; // 種別 holds the placeholder
    form.LineValues[LineSlot::HomePage] = "";
    form.LongTexts[7] = "使い方";
    for (ReadMeFormat format : AllFormats) {
        const std::string readme = ComposeReadMe(form, format);
        for (const char* left : {"作者名", "種別", "特徴", "ホームページ", "ユーザー入力可能"}) {
            EXPECT_EQ(readme.find(left), std::string::npos) << left;
        }
        EXPECT_NE(readme.find("使用方法"), std::string::npos);
        EXPECT_NE(readme.find("使い方"), std::string::npos);
    }
}

TEST(ReadMeFiles, UnmappableCharactersDependOnTheFormat) {
    EXPECT_EQ(ReadMeFileBytes("😀～①Ⅰ", ReadMeFormat::Text), "?\x81\x60\x87\x40\x87\x54\r\n");
    EXPECT_EQ(ReadMeFileBytes("😀", ReadMeFormat::Html), "&#128512;\r\n");
}

TEST(ReadMeFiles, Utf8TextKeepsEveryCharacterAndItsCrLf) {
    const std::string composed = ComposeReadMe(FreshWorkspace().form, ReadMeFormat::Text);
    const std::string bytes = ReadMeFileBytes(composed, ReadMeFormat::Text, ReadMeEncoding::Utf8);
    EXPECT_EQ(bytes, Cp932ToUtf8(ReadFixture("default_readme.txt")));
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(ReadMeFileBytes("😀～①\r\nⅠ", ReadMeFormat::Text, ReadMeEncoding::Utf8),
              "😀～①\r\nⅠ\r\n");
}

TEST(ReadMeFiles, Utf8HtmlPageDeclaresUtf8) {
    Form form = FreshWorkspace().form;
    const std::string declaration =
        "<META http-equiv=\"Content-Type\" content=\"text/html;charset=Shift_JIS\">";
    // The same line typed as the software name is the form's, and stays.
    form.LineValues[LineSlot::SoftwareName] = declaration;
    const std::string composed = ComposeReadMe(form, ReadMeFormat::Html);
    const std::string bytes = ReadMeFileBytes(composed, ReadMeFormat::Html, ReadMeEncoding::Utf8);
    std::string expected = composed + "\r\n";
    expected.replace(expected.find(declaration), declaration.size(),
                     "<META http-equiv=\"Content-Type\" content=\"text/html;charset=UTF-8\">");
    EXPECT_EQ(bytes, expected);
    EXPECT_NE(bytes.find("<TITLE>" + declaration + "</TITLE>"), std::string::npos);
    EXPECT_EQ(ReadMeFileBytes("😀", ReadMeFormat::Html, ReadMeEncoding::Utf8), "😀\r\n");
    // CP932 stays as it was.
    EXPECT_EQ(ReadMeFileBytes(composed, ReadMeFormat::Html),
              ReadMeFileBytes(composed, ReadMeFormat::Html, ReadMeEncoding::Cp932));
    EXPECT_NE(ReadMeFileBytes(composed, ReadMeFormat::Html).find("charset=Shift_JIS\">\r\n"),
              std::string::npos);
}

} // namespace
} // namespace kelvaro

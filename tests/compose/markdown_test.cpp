// The Markdown ReadMe, checked where it matters: as cmark-gfm renders it with
// the table and autolink extensions, as a code-hosting site would.

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/defaults.h"
#include "platform/error.h"
#include "support/fixtures.h"
#include "support/rendered.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

using test::HtmlNode;
using Rows = std::vector<std::vector<std::string>>;

const std::string Nbsp = "\u00A0";

using test::FormWith;

class Markdown : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::CmarkGfm().empty()) {
            GTEST_SKIP() << "cmark-gfm was not found when the build was configured";
        }
    }

    // The form's README.md rendered, read back into a tree.
    static std::unique_ptr<HtmlNode> Rendered(const Form& form) {
        const std::string html = test::RenderMarkdown(ComposeReadMe(form, ReadMeFormat::Markdown));
        // cmark-gfm puts a comment where it leaves raw HTML out.
        EXPECT_EQ(html.find("<!--"), std::string::npos) << html;
        return test::ParseHtml(html);
    }

    // "h1 text", "table", "h2 text", "p text", "hr": the top-level blocks in order.
    static std::vector<std::string> Blocks(const HtmlNode& root) {
        std::vector<std::string> blocks;
        for (const HtmlNode* block : root.Elements()) {
            if (block->Tag == "table" || block->Tag == "hr") {
                blocks.push_back(block->Tag);
            } else {
                blocks.push_back(block->Tag + " " + block->TextContent());
            }
        }
        return blocks;
    }

    // The body rows of every table, each cell as its text.
    static std::vector<Rows> Tables(const HtmlNode& root) {
        std::vector<Rows> tables;
        for (const HtmlNode* table : root.FindAll("table")) {
            const auto head = table->FindAll("th");
            EXPECT_EQ(head.size(), 2u);
            if (head.size() == 2) {
                EXPECT_EQ(head[0]->TextContent(), "項目");
                EXPECT_EQ(head[1]->TextContent(), "内容");
            }
            Rows rows;
            for (const HtmlNode* tbody : table->FindAll("tbody")) {
                for (const HtmlNode* tr : tbody->FindAll("tr")) {
                    std::vector<std::string> cells;
                    for (const HtmlNode* td : tr->FindAll("td")) {
                        cells.push_back(td->TextContent());
                    }
                    rows.push_back(cells);
                }
            }
            tables.push_back(rows);
        }
        return tables;
    }

    // Every link as "href text".
    static std::vector<std::string> Links(const HtmlNode& root) {
        std::vector<std::string> links;
        for (const HtmlNode* a : root.FindAll("a")) {
            links.push_back(a->Attribute("href") + " " + a->TextContent());
        }
        return links;
    }

    // Only the elements the layout itself makes: nothing a value brought.
    static void ExpectOnlyLayoutElements(const HtmlNode& root) {
        for (const std::string& tag : root.AllTags()) {
            EXPECT_TRUE(tag == "h1" || tag == "h2" || tag == "p" || tag == "br" || tag == "hr" ||
                        tag == "table" || tag == "thead" || tag == "tbody" || tag == "tr" ||
                        tag == "th" || tag == "td" || tag == "a")
                << "an element the layout does not write: <" << tag << ">";
        }
    }
};

TEST_F(Markdown, SmallFormReadsAsExpectedInTheSource) {
    Form form = FormWith({"ソフト名", "バージョン", "特徴", "区切り線", "このソフトウェアの情報"});
    form.LineValues[LineSlot::SoftwareName] = "Soft";
    form.LineValues[LineSlot::Version] = "Ver 1.0";
    form.LongTexts[2] = "速い\r\n軽い\r\n\r\n小さい";
    EXPECT_EQ(ComposeReadMe(form, ReadMeFormat::Markdown),
              "# Soft Ver 1.0\n"
              "\n"
              "| 項目 | 内容 |\n"
              "| --- | --- |\n"
              "| ソフト名 | Soft |\n"
              "| バージョン | Ver 1.0 |\n"
              "\n"
              "## 特徴\n"
              "\n"
              "速い\\\n"
              "軽い\n"
              "\n"
              "小さい\n"
              "\n"
              "***\n"
              "\n"
              "このReadMeファイルは、「Kelvaro」によって"
              "作成されました。");
}

TEST_F(Markdown, DefaultFormRendersLikeTheTextReadMe) {
    auto root = Rendered(FreshWorkspace().form);
    ExpectOnlyLayoutElements(*root);
    // No software name: no first heading. The default order's three separators,
    // the single-line items as one table, the checked long texts, the credit line.
    EXPECT_EQ(Blocks(*root),
              (std::vector<std::string>{
                  "hr", "table", "hr", "h2 アーカイブ内容", "h2 開発環境", "h2 動作環境(スペック)",
                  "h2 インストール方法", "h2 アンインストール方法", "h2 使用方法", "h2 著作権",
                  "h2 再配布・転載", "h2 免責", "h2 開発履歴", "hr",
                  "p このReadMeファイルは、「Kelvaro」によって作成されました。"}));
    EXPECT_EQ(Tables(*root), (std::vector<Rows>{{{"作者名", ""},
                                                 {"ソフト名", ""},
                                                 {"バージョン", "Ver"},
                                                 {"作成日", ""},
                                                 {"種別", "ユーザー入力可能"},
                                                 {"開発言語", "ユーザー入力可能"},
                                                 {"必要ﾗﾝﾀｲﾑ", "ユーザー入力可能"},
                                                 {"動作OS", "ユーザー入力可能"},
                                                 {"再配布", "ユーザー入力可能"},
                                                 {"転載", "ユーザー入力可能"},
                                                 {"ホームページ", "http://"},
                                                 {"メール", ""}}}));
    // The home page holds "http://"; the mail address is empty and no link.
    EXPECT_EQ(Links(*root), std::vector<std::string>{"http:// http://"});
}

TEST_F(Markdown, HeadingFromTheSoftwareNameAndVersion) {
    Form form = FormWith({"作者名"});
    form.LineValues[LineSlot::SoftwareName] = "Kelvaro Tools";
    form.LineValues[LineSlot::Version] = "Ver 2.1";
    EXPECT_EQ(Blocks(*Rendered(form)).front(), "h1 Kelvaro Tools Ver 2.1");
    form.LineValues[LineSlot::Version] = "";
    EXPECT_EQ(Blocks(*Rendered(form)).front(), "h1 Kelvaro Tools");
    form.LineValues[LineSlot::SoftwareName] = "";
    form.LineValues[LineSlot::Version] = "Ver 2.1";
    EXPECT_EQ(Blocks(*Rendered(form)), std::vector<std::string>{"table"});
}

TEST_F(Markdown, EveryRunOfSingleLinesIsOneTable) {
    Form form = FormWith({"作者名", "ソフト名", "特徴", "バージョン", "区切り線", "メール", "追加1",
                          "ｱｰｶｲﾌﾞｻｲｽﾞ", "このソフトウェアの情報", "種別"});
    form.LineValues[LineSlot::Author] = "山田";
    form.LineValues[LineSlot::SoftwareName] = "";
    form.LineValues[LineSlot::Mail] = "yamada@example.jp";
    form.UserNames[0] = "対応形式";
    form.LineValues[LineSlot::UserItem1] = "PNG";
    form.LineValues[LineSlot::ArchiveSize] = "12";
    form.SizeUnit = 1;
    form.LongTexts[2] = "速い";
    auto root = Rendered(form);
    EXPECT_EQ(Blocks(*root),
              (std::vector<std::string>{
                  "table", "h2 特徴", "p 速い", "table", "hr", "table",
                  "p このReadMeファイルは、「Kelvaro」によって作成されました。", "table"}));
    EXPECT_EQ(Tables(*root),
              (std::vector<Rows>{
                  {{"作者名", "山田"}, {"ソフト名", ""}},
                  {{"バージョン", "Ver"}},
                  {{"メール", "yamada@example.jp"}, {"対応形式", "PNG"}, {"ｱｰｶｲﾌﾞｻｲｽﾞ", "12KB"}},
                  {{"種別", "ユーザー入力可能"}}}));
    EXPECT_EQ(Links(*root), std::vector<std::string>{"mailto:yamada@example.jp yamada@example.jp"});
}

TEST_F(Markdown, LinksOnlyWhereTheFormSetsThem) {
    Form form = FormWith({"ホームページ", "メール", "作者名", "特徴"});
    form.LineValues[LineSlot::HomePage] = "";
    form.LineValues[LineSlot::Mail] = "";
    // Addresses in other values stay text.
    form.LineValues[LineSlot::Author] = "https://example.jp/a_(b) www.example.jp";
    form.LongTexts[2] = "http://example.com/ ftp://example.com www.example.com";
    auto root = Rendered(form);
    EXPECT_EQ(Links(*root), std::vector<std::string>{});
    EXPECT_EQ(Tables(*root)[0][2][1], "https://example.jp/a_(b) www.example.jp");
    EXPECT_EQ(Blocks(*root).back(), "p http://example.com/ ftp://example.com www.example.com");

    form.LineValues[LineSlot::HomePage] = "https://example.jp/soft?a=1&copy=2 (x)";
    form.LineValues[LineSlot::Mail] = "me+soft@example.jp";
    EXPECT_EQ(Links(*Rendered(form)),
              (std::vector<std::string>{
                  "https://example.jp/soft?a=1&copy=2%20(x) https://example.jp/soft?a=1&copy=2 (x)",
                  "mailto:me+soft@example.jp me+soft@example.jp"}));

    // A script address is shown, never linked.
    form.LineValues[LineSlot::HomePage] = "javascript:alert(1)";
    form.LineValues[LineSlot::Mail] = "";
    root = Rendered(form);
    EXPECT_EQ(Links(*root), std::vector<std::string>{});
    EXPECT_EQ(Tables(*root)[0][0][1], "javascript:alert(1)");
}

// Values that Markdown or HTML would take for markup, written into every kind
// of place a value can stand: all come out as typed, and no element of theirs
// reaches the page.
TEST_F(Markdown, EveryValueIsShownLiterally) {
    const std::vector<std::string> hostile = {
        "<script>alert(1)</script>",
        "a<b & c",
        "#include <stdio.h>",
        "C#",
        "| a | b |",
        "*強調* _下線_ **太字** ~~取消~~",
        "back\\slash\\",
        "[リンク](http://example.jp) ![画像](x.png) [^1]",
        "`code` ``two``",
        "1. 番号",
        "1) 括弧",
        "- 箇条",
        "+ 箇条",
        "> 引用",
        "# 見出し",
        "===",
        "---",
        "&amp; &copy; &#65;",
        "$x^2$ :smile:",
        "全角ＡＢＣ　半角ｱｲｳ 😀🇯🇵",
        "ends with two spaces  ",
        "<!-- comment -->",
    };
    for (const std::string& value : hostile) {
        SCOPED_TRACE(value);
        Form form = FormWith({"作者名", "追加1", "特徴", "追加3"});
        form.LineValues[LineSlot::SoftwareName] = value;
        form.LineValues[LineSlot::Version] = "";
        form.LineValues[LineSlot::Author] = value;
        form.UserNames[0] = value;
        form.LineValues[LineSlot::UserItem1] = value;
        form.LongTexts[2] = value + "\r\n" + value;
        form.UserNames[2] = value;
        form.LongTexts[13] = value;

        auto root = Rendered(form);
        ExpectOnlyLayoutElements(*root);
        EXPECT_EQ(Links(*root), std::vector<std::string>{});
        // Trailing blanks end a line in Markdown; what a reader sees is the rest.
        std::string shown = value;
        while (shown.ends_with(' ')) {
            shown.pop_back();
        }
        EXPECT_EQ(Blocks(*root), (std::vector<std::string>{"h1 " + shown, "table", "h2 特徴",
                                                           "p " + shown + "\n" + shown,
                                                           "h2 " + shown, "p " + shown}));
        EXPECT_EQ(Tables(*root), (std::vector<Rows>{{{"作者名", shown}, {shown, shown}}}));
    }
}

TEST_F(Markdown, LongTextsKeepEveryLineBreakAndTheirLeadingBlanks) {
    Form form = FormWith({"使用方法"});
    form.LongTexts[7] = "\r\n一行目\r\n  二行目は字下げ\r\n\t三行目はタブ\r\n　全角の字下げ\r\n"
                        "\r\n\r\n    コードではない\r\n1. 手順\r\n2) 手順\r\n- 注意\r\n   \r\n"
                        "LF だけ\nCR だけ\r最後\r\n";
    auto root = Rendered(form);
    ExpectOnlyLayoutElements(*root);
    // Lines next to each other stay lines of one paragraph; a blank line (or a
    // line of blanks) parts paragraphs, and more blank lines part them alike.
    EXPECT_EQ(Blocks(*root),
              (std::vector<std::string>{"h2 使用方法",
                                        "p 一行目\n" + Nbsp + Nbsp + "二行目は字下げ\n" + Nbsp +
                                            Nbsp + Nbsp + Nbsp + "三行目はタブ\n　全角の字下げ",
                                        "p " + Nbsp + Nbsp + Nbsp + Nbsp +
                                            "コードではない\n1. 手順\n2) 手順\n- 注意",
                                        "p LF だけ\nCR だけ\n最後"}));
    EXPECT_EQ(root->FindAll("pre"), std::vector<const HtmlNode*>{});
}

TEST_F(Markdown, SkippingAndReplacementAreTheComposersAsForText) {
    Form form = FormWith({"作者名", "種別", "ｱｰｶｲﾌﾞｻｲｽﾞ", "ホームページ", "特徴", "使用方法"});
    form.LineValues[LineSlot::Author] = "";
    form.ReplaceUserInput = 1;
    form.LineValues[LineSlot::ArchiveSize] = "";
    form.LineValues[LineSlot::HomePage] = "";
    form.LongTexts[7] = "使い方";
    auto root = Rendered(form);
    EXPECT_EQ(Tables(*root),
              (std::vector<Rows>{
                  {{"作者名", ""}, {"種別", ""}, {"ｱｰｶｲﾌﾞｻｲｽﾞ", "Byte"}, {"ホームページ", ""}}}));
    form.SkipEmptyItems = 1;
    root = Rendered(form);
    EXPECT_EQ(Blocks(*root), (std::vector<std::string>{"h2 使用方法", "p 使い方"}));
}

TEST_F(Markdown, SeparatorIsARuleThatNeverReadsTheCount) {
    Form form = FormWith({"区切り線", "作者名", "区切り線"});
    form.PauseCount = "1e300"; // the text ReadMe fails on it
    EXPECT_EQ(test::ThrownNumber([&] { ComposeReadMe(form, ReadMeFormat::Text); }),
              ErrorNo::Overflow);
    const std::string markdown = ComposeReadMe(form, ReadMeFormat::Markdown);
    // Not "---" first: that would open front matter on a code-hosting site.
    EXPECT_TRUE(markdown.starts_with("***\n")) << markdown;
    EXPECT_EQ(Blocks(*Rendered(form)), (std::vector<std::string>{"hr", "table", "hr"}));
}

TEST(MarkdownFile, IsUtf8WithLfAndOneFinalLineEnd) {
    Form form = FormWith({"作者名", "特徴"});
    form.LineValues[LineSlot::Author] = "😀①";
    form.LongTexts[2] = "一\r\n二";
    const std::string markdown = ComposeReadMe(form, ReadMeFormat::Markdown);
    EXPECT_EQ(markdown.find('\r'), std::string::npos);
    EXPECT_FALSE(markdown.ends_with("\n"));
    // Markdown is UTF-8 whatever encoding is asked for, and has no byte order mark.
    for (ReadMeEncoding encoding : {ReadMeEncoding::Cp932, ReadMeEncoding::Utf8}) {
        EXPECT_EQ(ReadMeFileBytes(markdown, ReadMeFormat::Markdown, encoding), markdown + "\n");
    }
    EXPECT_NE(markdown.find("| 作者名 | 😀① |"), std::string::npos);
    EXPECT_EQ(ReadMeFileBytes("", ReadMeFormat::Markdown), "\n");
}

// Values that try to become a link a reader's browser would run, the scheme
// spelt out or hidden behind an entity: none may give anything but a web or
// mail link, and each is still shown exactly as typed.
TEST_F(Markdown, HomePageBecomesALinkOnlyToTheWeb) {
    const std::vector<std::string> hostile = {
        "javascript:alert(1)",       "javascript&#58;alert(1)",  "javascript&#x3a;alert(1)",
        "javascript&colon;alert(1)", "data&colon;text/html,x",   "vbscript&colon;msgbox(1)",
        "JaVaScRiPt&#0058;alert(1)", "&#106;avascript:alert(1)", "example.jp/soft",
    };
    for (const std::string& value : hostile) {
        for (const LineSlot::Index slot : {LineSlot::HomePage, LineSlot::Mail}) {
            Form form = FormWith({"ホームページ", "メール"});
            form.LineValues[slot] = value;
            auto root = Rendered(form);
            for (const HtmlNode* a : root->FindAll("a")) {
                const std::string href = a->Attribute("href");
                EXPECT_TRUE(href.starts_with("mailto:") || href.starts_with("http://") ||
                            href.starts_with("https://"))
                    << value << " became " << href;
            }
            EXPECT_EQ(Tables(*root)[0][slot == LineSlot::HomePage ? 0 : 1][1], value);
        }
    }
    Form form = FormWith({"ホームページ"});
    form.LineValues[LineSlot::HomePage] = "https://example.jp/?a=1&b=2";
    EXPECT_EQ(
        Links(*Rendered(form)),
        (std::vector<std::string>{"https://example.jp/?a=1&b=2 https://example.jp/?a=1&b=2"}));
}

} // namespace
} // namespace kelvaro

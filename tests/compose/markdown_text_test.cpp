// A long text marked as Markdown: written as it stands in the Markdown ReadMe,
// and as plain text, free of marks, in every other layout.

#include "compose/compose_readme.h"
#include "compose/layout_lines.h"
#include "compose/markdown_text.h"
#include "model/catalogue.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace kelvaro {
namespace {

std::size_t Slot(const char* key) {
    return static_cast<std::size_t>(LookupItem(key)->Slot);
}

struct PlainCase {
    const char* Markdown;
    const char* Plain;
};

const PlainCase kPlain[] = {
    {"- **太字** の項目", "- 太字 の項目"},
    {"  * 入れ子の *斜体*", "  * 入れ子の 斜体"},
    {"1. [サイト](https://example.com/a)", "1. サイト (https://example.com/a)"},
    {"![画面](shot.png \"題\")", "画面 (shot.png)"},
    {"[https://e.example](https://e.example)", "https://e.example"},
    {"```sh\r\nmake  **install**\r\n```\r\n後", "make  **install**\r\n後"},
    {"~~~~\r\n```\r\n~~~~", "```"},
    {"`--help` と ``a`b``", "--help と a`b"},
    {"~~古い~~ 新しい", "古い 新しい"},
    {"### 小見出し", "小見出し"},
    {"行末で改行\\\r\n次の行", "行末で改行\r\n次の行"},
    {"\\*そのまま\\* と \\[括弧\\]", "*そのまま* と [括弧]"},
    {"5 * 3 = 15 と a ~ b", "5 * 3 = 15 と a ~ b"},
    {"<https://example.com/x> へ", "https://example.com/x へ"},
    {"> 引用の **強調**", "> 引用の 強調"},
    {"[閉じない括弧 と `閉じない符号", "[閉じない括弧 と `閉じない符号"},
    {"| **名前** | 値 |", "| 名前 | 値 |"},
    {"MIT &copy; 2025 &amp; &#x41; &nosuch; a&b", "MIT © 2025 & A &nosuch; a&b"},
};

TEST(MarkdownText, ShowsAsPlainText) {
    for (const PlainCase& c : kPlain) {
        EXPECT_EQ(MarkdownAsPlainText(c.Markdown), c.Plain) << c.Markdown;
    }
}

TEST(MarkdownText, OnlyTheMarkerAloneOnTheFirstLineMarks) {
    const std::string marker(layout_lines::MarkdownMarker);
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {marker + "\r\n- a", "- a"},
        {marker + "\n- a", "- a"},
        {marker, ""},
        {marker + " - a", std::nullopt},
        {" " + marker + "\r\n- a", std::nullopt},
        {"- a\r\n" + marker, std::nullopt},
    };
    for (const auto& [text, body] : cases) {
        EXPECT_EQ(MarkdownBody(text), body) << text;
    }
}

struct LayoutCase {
    ReadMeFormat Format;
    const char* Holds;    // what the marked text becomes
    const char* HoldsNot; // Markdown's marks, or the plain text in the Markdown
};

// The same marked text in each layout; the marker line itself shows in none.
TEST(MarkdownText, EachLayoutWritesItsOwnWay) {
    const LayoutCase cases[] = {
        {ReadMeFormat::Text, "- 速い [版] 公式 (https://example.com/q)", "**"},
        {ReadMeFormat::Html, "- 速い [版] 公式 (https://example.com/q)", "](https"},
        {ReadMeFormat::Html5, "公式 (https://example.com/q)", "**"},
        {ReadMeFormat::Markdown, "\n- **速い** \\[版\\] [公式](https://example.com/q)\n```\nx\n```",
         "公式 (https"},
    };
    Form form = test::FormWith({"特徴", "使用方法"});
    form.LongTexts[Slot("特徴")] =
        std::string(layout_lines::MarkdownMarker) +
        "\r\n- **速い** \\[版\\] [公式](https://example.com/q)\r\n```\r\nx";
    for (const LayoutCase& c : cases) {
        const std::string out = ComposeReadMe(form, c.Format);
        EXPECT_NE(out.find(c.Holds), std::string::npos) << out;
        EXPECT_EQ(out.find(c.HoldsNot), std::string::npos) << out;
        EXPECT_EQ(out.find(layout_lines::MarkdownMarker), std::string::npos) << out;
    }
}

// A marked text of nothing but its marker is an empty item, left out as one.
TEST(MarkdownText, MarkerAloneIsAnEmptyText) {
    Form form = test::FormWith({"特徴"});
    form.SkipEmptyItems = 1;
    form.LongTexts[Slot("特徴")] = std::string(layout_lines::MarkdownMarker);
    for (ReadMeFormat format : {ReadMeFormat::Text, ReadMeFormat::Markdown}) {
        EXPECT_EQ(ComposeReadMe(form, format).find("特徴"), std::string::npos);
    }
}

} // namespace
} // namespace kelvaro

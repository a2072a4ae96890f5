// A README.md brought into a form stays Markdown: written again as Markdown it
// renders as it did, and as a text ReadMe it reads as plain text. What the
// import filled but the item order leaves out is named in the report.

#include "compose/compose_readme.h"
#include "import/readme_import.h"
#include "model/catalogue.h"
#include "support/fixtures.h"
#include "support/rendered.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvaro {
namespace {

// Lists, a nested list, links, an image, code, emphasis and a table, as a
// README.md of a code-hosting site has them.
const std::string kReadMe = R"(# QuickNote 1.2
## 特徴
- 軽い
- **速い** メモ帳
  - 入れ子の ~~古い~~ *項目*

1. 一つ目

詳しくは [公式サイト](https://example.com/quicknote) へ。\
<https://example.com/mirror> もあります。
![画面](https://example.com/shot.png)
## 使用方法
```sh
quicknote --new "メモ"
```
`--help` で使い方が出ます。
## 開発履歴
| 版 | 内容 |
| --- | --- |
| 1.2 | `表` を追加 |
)";

// The rendered page from its first section on: the head and the table of
// one-line items before it are the layout's own.
std::string FromFirstSection(const std::string& html) {
    const std::size_t at = html.find("<h2>");
    return at == std::string::npos ? std::string() : html.substr(at);
}

TEST(MarkdownSource, RendersAsTheReadMeItCameFrom) {
    if (test::CmarkGfm().empty()) {
        GTEST_SKIP() << "cmark-gfm was not found when the build was configured";
    }
    const ImportResult imported = ImportReadMeBytes(kReadMe, "README.md");
    const std::string again = ComposeReadMe(imported.form, ReadMeFormat::Markdown);
    const std::string original = FromFirstSection(test::RenderMarkdown(kReadMe));
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(FromFirstSection(test::RenderMarkdown(again)), original) << again;
    // A fresh import of what it wrote gives that README.md once more.
    EXPECT_EQ(ComposeReadMe(ImportReadMeBytes(again, "README.md").form, ReadMeFormat::Markdown),
              again);
}

TEST(MarkdownSource, TextReadMeHoldsNoMarkdown) {
    const Form form = ImportReadMeBytes(kReadMe, "README.md").form;
    const std::string text = ComposeReadMe(form, ReadMeFormat::Text);
    for (const char* mark : {"**", "```", "](", "~~", "`", "<https", "<!--"}) {
        EXPECT_EQ(text.find(mark), std::string::npos) << mark << "\n" << text;
    }
    // The words and addresses are all there, the code as it stands.
    for (const char* kept : {"  - 入れ子の 古い 項目", "公式サイト (https://example.com/quicknote)",
                             "画面 (https://example.com/shot.png)", "quicknote --new \"メモ\"",
                             "https://example.com/mirror もあります。", "| 1.2 | 表 を追加 |"}) {
        EXPECT_NE(text.find(kept), std::string::npos) << kept << "\n" << text;
    }
}

bool NamesUnticked(const ImportReport& report, const std::string& item) {
    return std::any_of(report.Checks.begin(), report.Checks.end(), [&](const std::string& c) {
        return c.starts_with("「" + item + "」") && c.find("チェックされていません") != c.npos;
    });
}

struct UntickedCase {
    ReadMeFormat Format;
    bool SoftwareNameTicked;
};

// The page's title and the Markdown heading give the software's name even when
// the order leaves it out: the report says so, and only then.
TEST(ImportReport, NamesItemsFilledButUnticked) {
    const UntickedCase cases[] = {
        {ReadMeFormat::Html, false}, {ReadMeFormat::Markdown, false}, {ReadMeFormat::Html5, false},
        {ReadMeFormat::Html, true},  {ReadMeFormat::Markdown, true},  {ReadMeFormat::Text, true},
    };
    for (const UntickedCase& c : cases) {
        Form form = c.SoftwareNameTicked ? test::FormWith({"ソフト名", "バージョン"})
                                         : test::FormWith({"バージョン"});
        form.LineValues[LineSlot::SoftwareName] = "QuickNote";
        form.LineValues[LineSlot::Version] = "1.2";
        const ImportResult back = ImportReadMeBytes(ComposeReadMe(form, c.Format));
        SCOPED_TRACE(static_cast<int>(c.Format));
        EXPECT_EQ(back.form.LineValues[LineSlot::SoftwareName], "QuickNote");
        EXPECT_EQ(NamesUnticked(back.report, "ソフト名"), !c.SoftwareNameTicked);
        EXPECT_FALSE(NamesUnticked(back.report, "バージョン"));
    }
}

} // namespace
} // namespace kelvaro

// Four ReadMes in the styles people write them in (【】 headings in Shift_JIS; ■
// sections with ◆ sub-sections and ● history entries in UTF-8 with a BOM;
// numbered sections; a README.md) land whole: sections keep their level, the
// title gives only what it holds, and the facts find their items.

#include "held_value.h"
#include "import/readme_import.h"
#include "model/catalogue.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kelvaro {
namespace {

ImportResult Imported(const std::string& file) {
    return ImportReadMeBytes(test::ReadFixture("import/" + file), file);
}

using test::Held;

struct Want {
    const char* File;
    const char* Item;
    const char* Value; // the whole value
};

const Want kWhole[] = {
    // the title and the line under it
    {"style_brackets_sjis.txt", "ソフト名", "連番リネーマー「ナンバリ」"},
    {"style_brackets_sjis.txt", "バージョン", "1.1.0"},
    {"style_brackets_sjis.txt", "作成日", "2013/03/02"},
    {"style_brackets_sjis.txt", "作者名", "山本 太一"},
    {"style_marks_bom.txt", "ソフト名", "ひとことメモ帳"},
    {"style_marks_bom.txt", "バージョン", "1.20"},
    {"style_numbered.txt", "ソフト名", "ナンバリング表示ツール NumView"},
    {"style_numbered.txt", "バージョン", "2.3.1"},
    // names and facts
    {"style_brackets_sjis.txt", "アーカイブ名", "numbari110.lzh"},
    {"style_brackets_sjis.txt", "ｱｰｶｲﾌﾞｻｲｽﾞ", "218KB"},
    {"style_brackets_sjis.txt", "必要ﾗﾝﾀｲﾑ", ".NET Framework 4.8"},
    {"style_brackets_sjis.txt", "免責",
     "このソフトを使って生じた損害について、作者は責任を負いません。"},
    {"style_brackets_sjis.txt", "メール", "taichi@example.jp"},
    {"style_brackets_sjis.txt", "ホームページ", "http://example.jp/numbari/"},
    {"style_marks_bom.txt", "作者名", "佐々木 葉子"},
    {"style_marks_bom.txt", "アーカイブ名", "hitomemo120.zip"},
    {"style_marks_bom.txt", "ｱｰｶｲﾌﾞｻｲｽﾞ", "845KB"},
    {"style_numbered.txt", "作者名", "中村 次郎"},
    // the layout's indentation gone, the author's kept
    {"style_brackets_sjis.txt", "特徴",
     "ファイル名に連番を付けるソフトです。\r\nドロップするだけで使えます。"},
    {"style_numbered.txt", "使用方法",
     "(1) 起動\r\n    numview.exe を実行します。\r\n(2) 設定\r\n    "
     "メニューの「設定」から変えられます。"},
    // sections keep their level; a history lands whole
    {"style_marks_bom.txt", "使用方法",
     "◆ 起動\r\n  hitomemo.exe を実行します。\r\n◆ メモの追加\r\n  Ctrl+N "
     "で新しいメモを作ります。"},
    {"style_marks_bom.txt", "開発履歴",
     "● 2013/03/02 ver.1.20\r\n  ・メモの色を選べるようにしました。\r\n● 2012/11/01 ver.1.00\r\n  "
     "・公開"},
    {"style_brackets_sjis.txt", "開発履歴",
     "2013/03/02 ver.1.1.0 連番の桁数を選べるようにしました。\r\n2012/12/24 ver.1.0.0 公開"},
    {"style_brackets_sjis.txt", "連絡先",
     "山本 太一\r\nMail: taichi@example.jp\r\nWeb : http://example.jp/numbari/"},
    {"style_numbered.txt", "ショートカットキー一覧", "Ctrl+O  開く\r\nCtrl+S  保存"},
    {"style_numbered.txt", "開発履歴", "2.3.1  細かな修正\r\n2.3.0  設定画面を追加"},
    {"style_readme.md", "ソフト名", "QuickTile"},
    // a README.md's texts stay Markdown, marked as such on their first line
    {"style_readme.md", "特徴",
     "<!-- markdown -->\r\n- **軽い**: 常駐しても 2MB\r\n- "
     "[公式サイト](https://example.com/quicktile) "
     "で配布しています。"},
    {"style_readme.md", "開発履歴",
     "<!-- markdown -->\r\n### 2.0.0\r\n\r\n- 設定ファイルを YAML に変更\r\n\r\n### 1.0.0\r\n\r\n- "
     "最初の公開"},
};

TEST(FourStyles, EveryValueLandsWholeInItsItem) {
    for (const Want& w : kWhole) {
        SCOPED_TRACE(std::string(w.File) + " " + w.Item);
        const Form form = Imported(w.File).form;
        EXPECT_EQ(Held(form, w.Item), w.Value);
        const std::string key = LookupItem(w.Item) != nullptr ? w.Item : "";
        EXPECT_TRUE(key.empty() ||
                    std::any_of(form.Order.begin(), form.Order.end(),
                                [&](const OrderEntry& o) { return o.Key == key && o.Checked; }));
    }
}

// Lines the README.md holds under a sub-heading stay in their section,
// table rule and all.
TEST(FourStyles, MarkdownSubSectionsStayInTheirSection) {
    const std::string install = Held(Imported("style_readme.md").form, "インストール方法");
    for (const char* line : {"### Options", "| --- | --- |", "| `--left` | 左半分に並べる |",
                             "2. 展開して `quicktile.exe` を実行します。"}) {
        EXPECT_NE(install.find(line), std::string::npos) << line;
    }
}

// A page's address after its last section is no part of that section: it
// ends the catch-all, and its mail address is the author's.
TEST(FourStyles, AnHtmlAddressStaysAtTheEnd) {
    const Form form = ImportReadMeBytes("<html><body><h1>ねこメモ</h1><h2>更新履歴</h2>"
                                        "<p>1.0 公開</p><address>山田 花子 "
                                        "hanako@example.jp</address></body></html>",
                                        "ReadMe.html")
                          .form;
    EXPECT_EQ(Held(form, "開発履歴"), "1.0 公開");
    EXPECT_EQ(Held(form, "メール"), "hanako@example.jp");
    EXPECT_TRUE(form.LongTexts[14].ends_with("山田 花子 hanako@example.jp"));
}

// A page's numbered list keeps the numbers the browser shows; a bulleted list
// inside it counts nothing.
TEST(FourStyles, HtmlNumberedListsKeepTheirNumbers) {
    struct Case {
        const char* Body;
        const char* Usage;
    };
    const Case cases[] = {
        {"<ol><li>起動します</li><li>開きます</li></ol>", "1. 起動します\r\n2. 開きます"},
        {"<ol><li>起動<ul><li>補足</li></ul></li><li>終了</li></ol>", "1. 起動\r\n補足\r\n2. 終了"},
        {"<ul><li>起動</li></ul><ol><li>終了</li></ol>", "起動\r\n1. 終了"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Body);
        const std::string page =
            std::string("<html><body><h1>ねこメモ</h1><h2>使い方</h2>") + c.Body + "</body></html>";
        EXPECT_EQ(Held(ImportReadMeBytes(page, "ReadMe.html").form, "使用方法"), c.Usage);
    }
}

} // namespace
} // namespace kelvaro

// Hand-written ReadMes in the shapes people write them in, one rule a row: the
// facts' forms, decorated headings read as a set, the names people use, what
// the title line holds, headings kept at their level and the indentation a
// section's lines share.

#include "held_value.h"
#include "import/readme_import.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvaro {
namespace {

using test::Held;

struct Row {
    const char* Rule;
    std::string ReadMe;
    const char* Item;
    const char* Value;
    bool Whole = true; // the whole value, or only a piece of it
};

template <std::size_t N> void ExpectLanded(const Row (&rows)[N]) {
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Rule) + " → " + row.Item);
        const ImportResult imported = ImportReadMeBytes(row.ReadMe);
        const std::string held = Held(imported.form, row.Item);
        if (row.Whole) {
            EXPECT_EQ(held, row.Value) << imported.report.Text();
        } else {
            EXPECT_NE(held.find(row.Value), std::string::npos) << held << "\n"
                                                               << imported.report.Text();
        }
    }
}

const std::string kSection = "\n■ 概要\n付箋のメモ帳です。\n";

TEST(HeadingRules, FactsInEveryCommonForm) {
    const Row rows[] = {
        {"dotted leader", "ねこメモ Ver 2.1\n\n作者 ……… 山田花子\n" + kSection, "作者名",
         "山田花子"},
        {"middle dots", "ねこメモ Ver 2.1\n\n作者・・・山田花子\n" + kSection, "作者名",
         "山田花子"},
        {"a tab", "ねこメモ Ver 2.1\n\n作者\t山田花子\n" + kSection, "作者名", "山田花子"},
        {"full-width blanks", "ねこメモ Ver 2.1\n\n作者　　山田花子\n" + kSection, "作者名",
         "山田花子"},
        {"padded brackets", "ねこメモ Ver 2.1\n\n【作　者】山田花子\n" + kSection, "作者名",
         "山田花子"},
        {"a bullet under a heading of no item",
         "ねこメモ Ver 2.1\n\n■ ソフト情報\n・作者：山田花子\n・バージョン：2.1\n" + kSection,
         "作者名", "山田花子"},
        {"著作権者", "ねこメモ Ver 2.1\n\n著作権者：山田花子\n" + kSection, "作者名", "山田花子"},
    };
    ExpectLanded(rows);
}

// A decoration that stands around known names and repeats makes every line in
// it a heading, an unknown name too (a user item).
TEST(HeadingRules, DecoratedHeadingsAreReadAsASet) {
    struct Decoration {
        const char* Open;
        const char* Close;
    };
    const Decoration decorations[] = {
        {"―― ", " ――"}, {"=== ", " ==="}, {"《", "》"}, {"□ ", ""}, {"[", "]"},
    };
    for (const Decoration& d : decorations) {
        const auto heading = [&d](const char* name) {
            return std::string(d.Open) + name + d.Close + "\n";
        };
        const std::string readMe =
            "ねこメモ Ver 2.1\n\n" + heading("概要") + "付箋のメモ帳です。\n" +
            heading("動作環境") + "Windows 10 以降\n" + heading("ショートカット") + "Ctrl+S 保存\n";
        const Row rows[] = {
            {d.Open, readMe, "特徴", "付箋のメモ帳です。"},
            {d.Open, readMe, "動作環境(スペック)", "Windows 10 以降"},
            {d.Open, readMe, "ショートカット", "Ctrl+S 保存"},
        };
        ExpectLanded(rows);
    }
}

TEST(HeadingRules, TheNamesPeopleUseFindTheirItems) {
    const Row rows[] = {
        {"a compound name", "■ 動作環境\nWindows 10\n■ 注意・免責\n自己責任で使ってください。\n",
         "免責", "自己責任で使ってください。"},
        {"English and Japanese", "■ 動作環境\nWindows 10\n■ Overview / 概要\n付箋のメモ帳です。\n",
         "特徴", "付箋のメモ帳です。"},
        {"必要なもの", "■ 概要\n付箋のメモ帳です。\n■ 必要なもの\n.NET 8 ランタイム\n", "必要ﾗﾝﾀｲﾑ",
         ".NET 8 ランタイム"},
        {"half-width katakana", "■ 概要\n付箋のメモ帳です。\n■ ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ履歴\n2.1 色を追加\n",
         "開発履歴", "2.1 色を追加"},
        {"更新履歴", "■ 概要\n付箋のメモ帳です。\n■ 更新履歴\n2.1 色を追加\n", "開発履歴",
         "2.1 色を追加"},
        {"half-width in brackets", "【概要】\n付箋のメモ帳です。\n【ｲﾝｽﾄｰﾙ方法】\n展開します。\n",
         "インストール方法", "展開します。"},
        {"an archive on the heading's line",
         "【概要】\n付箋のメモ帳です。\n【アーカイブ】nekomemo21.zip\n", "アーカイブ名",
         "nekomemo21.zip"},
    };
    ExpectLanded(rows);
}

// A contact section keeps its lines as they stand and also fills the mail
// and home page items; a linked name keeps no link syntax.
TEST(HeadingRules, ContactLinesStayAndFillTheirItems) {
    const std::string contact = "■ 概要\n付箋のメモ帳です。\n■ 問い合わせ先\n山田花子\n"
                                "Mail: hanako@example.jp\nWeb: https://example.jp/neko/\n";
    const std::string markdown =
        "# QuickTile\n\n- 作者: [山田花子](https://example.jp/)\n\n## 概要\n\n軽いです。\n";
    const Row rows[] = {
        {"a contact section", contact, "問い合わせ先",
         "山田花子\r\nMail: hanako@example.jp\r\nWeb: https://example.jp/neko/"},
        {"a contact section", contact, "メール", "hanako@example.jp"},
        {"a contact section", contact, "ホームページ", "https://example.jp/neko/"},
        {"a Markdown link", markdown, "作者名", "山田花子"},
    };
    ExpectLanded(rows);
}

TEST(HeadingRules, TheTitleLineGivesOnlyWhatItHolds) {
    const std::string banner = "┏━━━━━━━━━━━━━┓\n┃ ねこメモ Ver 2.1 ┃\n┗━━━━━━━━━━━━━┛\n";
    const Row rows[] = {
        {"a word after the version", "ひとことメモ帳 ver 1.20  ReadMe\n" + kSection, "ソフト名",
         "ひとことメモ帳"},
        {"a word after the version", "ひとことメモ帳 ver 1.20  ReadMe\n" + kSection, "バージョン",
         "1.20"},
        {"a box around the title", banner + kSection, "ソフト名", "ねこメモ"},
        {"a box around the title", banner + kSection, "バージョン", "2.1"},
        {"stars around the title", "＊ ねこメモ version 2.1 ＊\n" + kSection, "ソフト名",
         "ねこメモ"},
        {"letters and dashes in the version", "ねこメモ v2.1-beta 説明書\n" + kSection,
         "バージョン", "2.1-beta"},
    };
    ExpectLanded(rows);
}

// A deeper heading stays in the open section, heading line and all, unless it
// names an item of its own.
TEST(HeadingRules, DeeperHeadingsStayInTheirSection) {
    const Row rows[] = {
        {"◆ under ■", "■ 使用方法\n起動します。\n◆ 設定\n色を選びます。\n■ 動作環境\nWindows 10\n",
         "使用方法", "起動します。\r\n◆ 設定\r\n色を選びます。"},
        {"◆ under ■", "■ 使用方法\n起動します。\n◆ 設定\n色を選びます。\n■ 動作環境\nWindows 10\n",
         "動作環境(スペック)", "Windows 10"},
        {"an indented mark under the same mark",
         "■ 使用方法\n起動します。\n  ■ 設定\n  色を選びます。\n■ 動作環境\nWindows 10\n",
         "使用方法", "■ 設定", false},
        {"a deeper heading naming its own item",
         "▼ 動作環境\nWindows 10\n◆ 免責\n自己責任で。\n▼ 使用方法\n起動します。\n", "免責",
         "自己責任で。"},
        {"a deeper heading naming its own item",
         "▼ 動作環境\nWindows 10\n◆ 免責\n自己責任で。\n▼ 使用方法\n起動します。\n",
         "動作環境(スペック)", "Windows 10"},
        {"h3 under h2",
         "<html><body><h2>使用方法</h2><p>起動します。</p><h3>設定</h3><p>色を選びます。</p>"
         "<h2>動作環境</h2><p>Windows 10</p></body></html>\n",
         "使用方法", "色を選びます。", false},
        {"(1) under 1.",
         "1. 概要\n付箋のメモ帳です。\n2. 使用方法\n起動します。\n(1) 設定\n色を選びます。\n",
         "使用方法", "(1) 設定", false},
    };
    ExpectLanded(rows);
}

// The indentation every line of a section shares is the layout's and goes;
// what one line has beyond it is the author's and stays.
TEST(HeadingRules, TheSharedIndentationGoes) {
    const Row rows[] = {
        {"tabs", "■ 使用方法\n\t起動します。\n\t\t設定を開きます。\n■ 動作環境\n\tWindows 10\n",
         "使用方法", "起動します。\r\n\t設定を開きます。"},
        {"full-width blanks",
         "■ 使用方法\n　起動します。\n　　設定を開きます。\n■ 動作環境\n　Windows 10\n", "使用方法",
         "起動します。\r\n　設定を開きます。"},
        {"blanks", "■ 使用方法\n  起動します。\n    設定を開きます。\n■ 動作環境\n  Windows 10\n",
         "使用方法", "起動します。\r\n  設定を開きます。"},
        {"blanks", "■ 使用方法\n  起動します。\n    設定を開きます。\n■ 動作環境\n  Windows 10\n",
         "動作環境(スペック)", "Windows 10"},
    };
    ExpectLanded(rows);
}

} // namespace
} // namespace kelvaro

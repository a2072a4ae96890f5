// ReadMe files written by hand land in the items a careful person would fill,
// and nothing of them is lost; hostile input is imported or refused, quickly.

#include "compose/markdown_text.h"
#include "import/readme_import.h"
#include "model/catalogue.h"
#include "platform/error.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

// An item and what it should hold: the whole value of a single-line item, a
// line of a long text. A user item is named by its name.
struct Expected {
    const char* File;
    const char* Item;
    const char* Value;
};

const Expected kExpected[] = {
    {"brackets_header.txt", "ソフト名", "ねこメモ"},
    {"brackets_header.txt", "バージョン", "2.1.0"},
    {"brackets_header.txt", "作者名", "山田 花子"},
    {"brackets_header.txt", "動作OS", "Windows 10/11"},
    {"brackets_header.txt", "種別", "フリーウェア"},
    {"brackets_header.txt", "作成日", "2024/05/01"},
    {"brackets_header.txt", "アーカイブ名", "nekomemo210.zip"},
    {"brackets_header.txt", "ホームページ", "https://example.jp/neko/"},
    {"brackets_header.txt", "メール", "hanako@example.jp"},
    {"brackets_header.txt", "特徴", "付箋ごとに色を変えられます。"},
    {"brackets_header.txt", "インストール方法", "アーカイブを好きなフォルダに展開してください。"},
    {"brackets_header.txt", "アンインストール方法",
     "フォルダごと削除してください。レジストリは使いません。"},
    {"brackets_header.txt", "使用方法", "1. nekomemo.exe を起動します。"},
    {"brackets_header.txt", "著作権", "このソフトの著作権は山田花子が保有しています。"},
    {"brackets_header.txt", "免責",
     "このソフトを使って生じた損害について、作者は責任を負いません。"},
    {"brackets_header.txt", "開発履歴", "2023/12/10 Ver 2.0.0 公開"},
    {"brackets_header.txt", "謝辞", "テストしてくださった皆さん"},
    {"colon_facts.txt", "ソフト名", "FooTool"},
    {"colon_facts.txt", "バージョン", "1.3"},
    {"colon_facts.txt", "作者名", "佐藤一郎"},
    {"colon_facts.txt", "動作OS", "Windows 8.1 以降"},
    {"colon_facts.txt", "ホームページ", "https://example.com/foo"},
    {"colon_facts.txt", "メール", "ichiro@example.com"},
    {"colon_facts.txt", "種別", "フリーソフト"},
    {"colon_facts.txt", "特徴", "FooTool はファイル名を一括で変えるツールです。"},
    {"colon_facts.txt", "インストール方法", "zip を展開するだけです。"},
    {"colon_facts.txt", "使用方法", "変えたいファイルをウィンドウにドロップします。"},
    {"colon_facts.txt", "注意", "ネットワークドライブでは遅くなります。"},
    {"colon_facts.txt", "開発履歴", "1.0 2021/06/01 初版"},
    {"list_facts.md", "ソフト名", "PicoPaint"},
    {"list_facts.md", "バージョン", "0.9.2"},
    {"list_facts.md", "作者名", "鈴木次郎"},
    {"list_facts.md", "動作OS", "Windows 11"},
    {"list_facts.md", "作成日", "2025-02-03"},
    {"list_facts.md", "ホームページ", "https://example.net/pico"},
    {"list_facts.md", "特徴", "- **レイヤー**に対応"},
    {"list_facts.md", "使用方法", "2. キャンバスに描く \\*太字ではない\\*"},
    {"list_facts.md", "著作権", "MIT License &copy; 2025"},
    {"list_facts.md", "開発履歴", "| 0.9.2 | 保存の不具合を修正 |"},
    {"setext_table.md", "ソフト名", "KumoSync"},
    {"setext_table.md", "バージョン", "3.0"},
    {"setext_table.md", "作者名", "Kumo Project"},
    {"setext_table.md", "動作OS", "Linux / Windows"},
    {"setext_table.md", "著作権", "GPL"},
    {"setext_table.md", "インストール方法", "`make install` を実行します。"},
    {"setext_table.md", "使用方法", "kumosync --help で使い方が出ます。"},
    {"setext_table.md", "免責", "無保証です。"},
    {"headings.html", "ソフト名", "HanaClock"},
    {"headings.html", "バージョン", "1.5"},
    {"headings.html", "作者名", "田中三郎"},
    {"headings.html", "動作OS", "Windows 7/8/10"},
    {"headings.html", "種別", "フリーウェア"},
    {"headings.html", "メール", "saburo@example.org"},
    {"headings.html", "特徴", "アラーム機能つき。"},
    {"headings.html", "インストール方法", "解凍してできたフォルダを\"Program Files\"に置きます。"},
    {"headings.html", "著作権", "著作権は田中三郎にあります。"},
    {"headings.html", "開発履歴", "1.0 公開"},
    {"numbered.txt", "ソフト名", "TinyZip"},
    {"numbered.txt", "バージョン", "1.0.4"},
    {"numbered.txt", "作者名", "Kobayashi"},
    {"numbered.txt", "動作OS", "Windows XP/Vista/7"},
    {"numbered.txt", "ホームページ", "http://example.org/tinyzip/"},
    {"numbered.txt", "アーカイブ名", "tinyzip104.lzh"},
    {"numbered.txt", "ｱｰｶｲﾌﾞｻｲｽﾞ", "120KB"},
    {"numbered.txt", "特徴", "TinyZip は zip を作る小さなツールです。"},
    {"numbered.txt", "インストール方法", "適当なフォルダにコピーしてください。"},
    {"numbered.txt", "再配布・転載", "自由に行ってかまいません。"},
    {"numbered.txt", "謝辞", "zlib の作者に感謝します。"},
    {"numbered.txt", "メール", "kobayashi@example.org"},
    {"marks_cr.txt", "ソフト名", "MoriCalc for Windows"},
    {"marks_cr.txt", "バージョン", "4.2"},
    {"marks_cr.txt", "作者名", "森 五郎"},
    {"marks_cr.txt", "作成日", "2019.10.10"},
    {"marks_cr.txt", "種別", "シェアウェア"},
    {"marks_cr.txt", "ｼｪｱｳｪｱ代金", "1,000円"},
    {"marks_cr.txt", "開発言語", "Delphi"},
    {"marks_cr.txt", "特徴", "関数電卓です。履歴を残せます。"},
    {"marks_cr.txt", "送金方法", "銀行振込でお願いします。"},
    {"marks_cr.txt", "動作環境(スペック)", "CPU 1GHz 以上、メモリ 512MB 以上"},
    {"marks_cr.txt", "免責", "自己責任でお使いください。"},
    {"marks_cr.txt", "ホームページ", "http://example.com/mori/"},
};

// Whether the item holds the value: a single-line item (value and unit)
// exactly, a long text as one of its lines; the item must be checked.
bool Holds(const Form& form, const Expected& e) {
    const CatalogueItem* item = LookupItem(e.Item);
    std::string key = e.Item;
    std::string held;
    if (item == nullptr) {
        for (std::size_t u = 0; u < UserNameCount; ++u) {
            if (form.UserNames[u] == e.Item) {
                key = UserItemKey(static_cast<int>(u) + 1);
                item = LookupItem(key);
            }
        }
        if (item == nullptr) {
            return false;
        }
    }
    const auto slot = static_cast<std::size_t>(item->Slot);
    bool single = true;
    switch (item->Kind) {
    case ItemKind::Choice:
        held = form.ChoiceValues[slot];
        break;
    case ItemKind::SizeWithUnit:
        held = form.LineValues[slot] + std::string(SizeUnitText(form.SizeUnit));
        break;
    case ItemKind::LongText:
    case ItemKind::UserLongText:
        // A README.md's text stays Markdown, as written, under its marker line.
        held = "\r\n" +
               std::string(MarkdownBody(form.LongTexts[slot]).value_or(form.LongTexts[slot])) +
               "\r\n";
        single = false;
        break;
    default:
        held = form.LineValues[slot];
    }
    const bool checked =
        std::any_of(form.Order.begin(), form.Order.end(),
                    [&](const OrderEntry& o) { return o.Key == key && o.Checked; });
    return checked &&
           (single ? held == e.Value
                   : held.find("\r\n" + std::string(e.Value) + "\r\n") != std::string::npos);
}

TEST(HandWrittenReadMe, AtLeastNineInTenValuesLandInTheirItems) {
    std::size_t right = 0;
    for (const Expected& e : kExpected) {
        const ImportResult imported =
            ImportReadMeBytes(test::ReadFixture(std::string("import/") + e.File), e.File);
        EXPECT_FALSE(imported.report.OwnLayout) << e.File;
        if (Holds(imported.form, e)) {
            ++right;
        } else {
            ADD_FAILURE() << e.File << ": " << e.Item << " does not hold " << e.Value;
        }
    }
    EXPECT_GE(right * 10, std::size(kExpected) * 9) << right << " of " << std::size(kExpected);
}

} // namespace
} // namespace kelvaro

namespace kelvaro {
namespace {

std::string Repeated(const std::string& piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// `count` numbered pieces: "head0 ... tail0", "head1 ... tail1", ...
std::string Numbered(const std::string& head, const std::string& tail, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += head + std::to_string(i) + tail;
    }
    return text;
}

struct Hostile {
    const char* Name;
    std::string Bytes;
    bool Refused;
    const char* LastLine; // what the catch-all must end with when imported
};

TEST(HostileReadMe, IsImportedWithNothingLostOrRefusedWithAMessage) {
    const Hostile cases[] = {
        {"100 MB", std::string(std::size_t{100} << 20, 'a'), true, ""},
        {"binary bytes",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10) +
             std::string(4096, '\x01'),
         true, ""},
        {"a heading on every line", Numbered("● 見出し", "\r\n", 200000), false, "● 見出し199999"},
        {"10,000 unknown sections", Numbered("【不明な節", "】\r\n本文\r\n\r\n", 10000), false,
         "【不明な節9999】\r\n本文"},
        {"unclosed markup", Repeated("<html><h1><script>", 20000), false, ""},
        {"a section number of a hundred digits", std::string(100, '9') + ". 概要\r\n本文\r\n",
         false, "本文"},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.Name);
        const RuntimeError failure = test::Thrown([&] {
            const ImportResult imported = ImportReadMeBytes(c.Bytes);
            EXPECT_TRUE(imported.form.LongTexts[14].ends_with(c.LastLine));
        });
        EXPECT_EQ(failure.Number(), c.Refused ? ErrorNo::BadFileFormat : 0);
        EXPECT_EQ(failure.Cause().empty(), !c.Refused);
    }
}

} // namespace
} // namespace kelvaro

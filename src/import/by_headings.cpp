// The reader by headings, for ReadMe files written by hand or by other tools.
// The text is first made lines (HTML loses its tags, keeping <BR> and block
// ends as line ends; Markdown keeps its source lines), then each line is told
// apart as a separator, a heading, a fact or text, and the sections are placed
// in the items their names stand for.

#include "import/import_internal.h"
#include "model/catalogue.h"
#include "model/name_fold.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace kelvaro {
namespace {

// ---- the one table of names -------------------------------------------------

// A name a ReadMe may give an item, and the items it stands for: the
// single-line item when the value stands on the heading's line, the long text
// when lines stand under it (either may be missing).
struct NameRow {
    std::string_view Name;
    std::string_view SingleKey;
    std::string_view LongKey;
};

constexpr NameRow kNames[] = {
    {"作者名", "作者名", ""},
    {"作者", "作者名", ""},
    {"製作者", "作者名", ""},
    {"制作者", "作者名", ""},
    {"著作者", "作者名", ""},
    {"開発者", "作者名", ""},
    {"作成者", "作者名", ""},
    {"Author", "作者名", ""},
    {"ソフト名", "ソフト名", ""},
    {"ソフトウェア名", "ソフト名", ""},
    {"ソフトウエア名", "ソフト名", ""},
    {"ソフト", "ソフト名", ""},
    {"ソフトウェア", "ソフト名", ""},
    {"名称", "ソフト名", ""},
    {"ツール名", "ソフト名", ""},
    {"アプリ名", "ソフト名", ""},
    {"アプリケーション名", "ソフト名", ""},
    {"プログラム名", "ソフト名", ""},
    {"Software", "ソフト名", ""},
    {"Name", "ソフト名", ""},
    {"バージョン", "バージョン", ""},
    {"Version", "バージョン", ""},
    {"Ver", "バージョン", ""},
    {"Ver.", "バージョン", ""},
    {"版", "バージョン", ""},
    {"作成日", "作成日", ""},
    {"公開日", "作成日", ""},
    {"更新日", "作成日", ""},
    {"最終更新日", "作成日", ""},
    {"リリース日", "作成日", ""},
    {"作成日時", "作成日", ""},
    {"公開日時", "作成日", ""},
    {"日付", "作成日", ""},
    {"Date", "作成日", ""},
    {"アーカイブ名", "アーカイブ名", ""},
    {"ファイル名", "アーカイブ名", ""},
    {"書庫名", "アーカイブ名", ""},
    {"ファイル", "アーカイブ名", ""},
    {"配布ファイル", "アーカイブ名", ""},
    {"Archive", "アーカイブ名", ""},
    {"アーカイブサイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"ファイルサイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"サイズ", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"容量", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"Size", "ｱｰｶｲﾌﾞｻｲｽﾞ", ""},
    {"種別", "種別", ""},
    {"ソフト種別", "種別", ""},
    {"種類", "種別", ""},
    {"区分", "種別", ""},
    {"形態", "種別", ""},
    {"ライセンス形態", "種別", ""},
    {"ソフトの種類", "種別", ""},
    {"シェアウェア代金", "ｼｪｱｳｪｱ代金", ""},
    {"代金", "ｼｪｱｳｪｱ代金", ""},
    {"料金", "ｼｪｱｳｪｱ代金", ""},
    {"価格", "ｼｪｱｳｪｱ代金", ""},
    {"送金額", "ｼｪｱｳｪｱ代金", ""},
    {"Price", "ｼｪｱｳｪｱ代金", ""},
    {"開発言語", "開発言語", ""},
    {"使用言語", "開発言語", ""},
    {"言語", "開発言語", ""},
    {"Language", "開発言語", ""},
    {"必要ランタイム", "必要ﾗﾝﾀｲﾑ", ""},
    {"必要なランタイム", "必要ﾗﾝﾀｲﾑ", ""},
    {"ランタイム", "必要ﾗﾝﾀｲﾑ", ""},
    {"Runtime", "必要ﾗﾝﾀｲﾑ", ""},
    {"DirectX", "DirectX", ""},
    {"動作OS", "動作OS", ""},
    {"対応OS", "動作OS", ""},
    {"OS", "動作OS", ""},
    {"対応機種", "動作OS", ""},
    {"動作機種", "動作OS", ""},
    {"Platform", "動作OS", ""},
    {"再配布", "再配布", "再配布・転載"},
    {"二次配布", "再配布", "再配布・転載"},
    {"転載", "転載", "再配布・転載"},
    {"雑誌掲載", "転載", "再配布・転載"},
    {"ホームページ", "ホームページ", ""},
    {"URL", "ホームページ", ""},
    {"Webサイト", "ホームページ", ""},
    {"ウェブサイト", "ホームページ", ""},
    {"サイト", "ホームページ", ""},
    {"Web", "ホームページ", ""},
    {"Homepage", "ホームページ", ""},
    {"HP", "ホームページ", ""},
    {"配布先", "ホームページ", ""},
    {"配布元", "ホームページ", ""},
    {"配布場所", "ホームページ", ""},
    {"公開場所", "ホームページ", ""},
    {"ダウンロード", "ホームページ", ""},
    {"メール", "メール", ""},
    {"メールアドレス", "メール", ""},
    {"E-mail", "メール", ""},
    {"Email", "メール", ""},
    {"Mail", "メール", ""},
    {"連絡先", "メール", ""},
    {"問い合わせ先", "メール", ""},
    {"お問い合わせ", "メール", ""},
    {"アーカイブ内容", "", "アーカイブ内容"},
    {"ファイル構成", "", "アーカイブ内容"},
    {"同梱ファイル", "", "アーカイブ内容"},
    {"収録ファイル", "", "アーカイブ内容"},
    {"ファイル一覧", "", "アーカイブ内容"},
    {"添付ファイル", "", "アーカイブ内容"},
    {"内容物", "", "アーカイブ内容"},
    {"構成", "", "アーカイブ内容"},
    {"送金方法", "", "送金方法"},
    {"支払方法", "", "送金方法"},
    {"支払い方法", "", "送金方法"},
    {"レジスト方法", "", "送金方法"},
    {"特徴", "", "特徴"},
    {"概要", "", "特徴"},
    {"機能", "", "特徴"},
    {"主な機能", "", "特徴"},
    {"説明", "", "特徴"},
    {"紹介", "", "特徴"},
    {"ソフトの説明", "", "特徴"},
    {"ソフト紹介", "", "特徴"},
    {"はじめに", "", "特徴"},
    {"About", "", "特徴"},
    {"Description", "", "特徴"},
    {"Features", "", "特徴"},
    {"開発環境", "", "開発環境"},
    {"開発ツール", "", "開発環境"},
    {"作成環境", "", "開発環境"},
    {"動作環境", "動作OS", "動作環境(スペック)"},
    {"動作環境(スペック)", "", "動作環境(スペック)"},
    {"必要環境", "", "動作環境(スペック)"},
    {"推奨環境", "", "動作環境(スペック)"},
    {"必要スペック", "", "動作環境(スペック)"},
    {"スペック", "", "動作環境(スペック)"},
    {"システム要件", "", "動作環境(スペック)"},
    {"Requirements", "", "動作環境(スペック)"},
    {"インストール方法", "", "インストール方法"},
    {"インストール", "", "インストール方法"},
    {"導入方法", "", "インストール方法"},
    {"導入", "", "インストール方法"},
    {"セットアップ", "", "インストール方法"},
    {"Install", "", "インストール方法"},
    {"Installation", "", "インストール方法"},
    {"アンインストール方法", "", "アンインストール方法"},
    {"アンインストール", "", "アンインストール方法"},
    {"削除方法", "", "アンインストール方法"},
    {"Uninstall", "", "アンインストール方法"},
    {"使用方法", "", "使用方法"},
    {"使い方", "", "使用方法"},
    {"操作方法", "", "使用方法"},
    {"利用方法", "", "使用方法"},
    {"操作説明", "", "使用方法"},
    {"Usage", "", "使用方法"},
    {"著作権", "", "著作権"},
    {"ライセンス", "", "著作権"},
    {"Copyright", "", "著作権"},
    {"License", "", "著作権"},
    {"再配布・転載", "", "再配布・転載"},
    {"転載・再配布", "", "再配布・転載"},
    {"配布", "", "再配布・転載"},
    {"免責", "", "免責"},
    {"免責事項", "", "免責"},
    {"無保証", "", "免責"},
    {"Disclaimer", "", "免責"},
    {"謝辞", "", "謝辞"},
    {"謝意", "", "謝辞"},
    {"感謝", "", "謝辞"},
    {"スペシャルサンクス", "", "謝辞"},
    {"SpecialThanks", "", "謝辞"},
    {"Thanks", "", "謝辞"},
    {"Acknowledgements", "", "謝辞"},
    {"開発履歴", "", "開発履歴"},
    {"更新履歴", "", "開発履歴"},
    {"履歴", "", "開発履歴"},
    {"変更履歴", "", "開発履歴"},
    {"改版履歴", "", "開発履歴"},
    {"バージョン履歴", "", "開発履歴"},
    {"更新内容", "", "開発履歴"},
    {"変更点", "", "開発履歴"},
    {"ChangeLog", "", "開発履歴"},
    {"History", "", "開発履歴"},
    {"Changes", "", "開発履歴"},
};

struct Meaning {
    const CatalogueItem* Single = nullptr;
    const CatalogueItem* Long = nullptr;
};

// What a name stands for, after folding; also with "について", "の方法" and the
// like left off ("インストールについて").
std::optional<Meaning> MeaningOf(std::string_view name) {
    static const auto table = [] {
        std::unordered_map<std::string, Meaning> map;
        for (const NameRow& row : kNames) {
            Meaning m;
            m.Single = row.SingleKey.empty() ? nullptr : LookupItem(row.SingleKey);
            m.Long = row.LongKey.empty() ? nullptr : LookupItem(row.LongKey);
            map.emplace(FoldName(row.Name), m);
        }
        return map;
    }();
    std::string folded = FoldName(name);
    for (int round = 0; round < 2; ++round) {
        const auto found = table.find(folded);
        if (found != table.end()) {
            return found->second;
        }
        bool stripped = false;
        for (std::string_view suffix : {"について", "に関して", "の方法", "事項", "情報"}) {
            if (folded.size() > suffix.size() && folded.ends_with(suffix)) {
                folded.resize(folded.size() - suffix.size());
                stripped = true;
                break;
            }
        }
        if (!stripped) {
            break;
        }
    }
    // "著作権・免責", "インストール/アンインストール": the first name counts.
    for (std::string_view joiner : {"・", "/", "&", "、", "and"}) {
        const std::size_t at = folded.find(joiner);
        if (at != std::string::npos && at > 0) {
            const auto found = table.find(folded.substr(0, at));
            if (found != table.end()) {
                return found->second;
            }
        }
    }
    return std::nullopt;
}

// ---- characters -----------------------------------------------------------------

bool IsBlankAt(std::string_view s, std::size_t i, std::size_t& length) {
    if (s[i] == ' ' || s[i] == '\t') {
        length = 1;
        return true;
    }
    if (s.compare(i, 3, "　") == 0) {
        length = 3;
        return true;
    }
    return false;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t length = 0;
    while (!s.empty() && IsBlankAt(s, 0, length)) {
        s.remove_prefix(length);
    }
    while (!s.empty()) {
        if (s.back() == ' ' || s.back() == '\t' || s.back() == '\r') {
            s.remove_suffix(1);
        } else if (s.ends_with("　")) {
            s.remove_suffix(3);
        } else {
            break;
        }
    }
    return s;
}

std::size_t CodePoints(std::string_view s) {
    std::size_t n = 0;
    for (char c : s) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

// A line drawn of one or two characters repeated: ━━━, ＝＝＝, -----, *****, _/_/_/.
bool IsSeparatorLine(std::string_view line) {
    line = TrimBlanks(line);
    static constexpr std::array<char32_t, 22> drawn{
        U'━', U'─', U'＝', U'=',  U'-', U'*',  U'＊', U'_', U'/', U'~', U'～',
        U'―', U'‐', U'═',  U'・', U'+', U'＋', U'－', U'─', U'┄', U'┅', U'※'};
    std::size_t count = 0;
    std::array<char32_t, 3> seen{};
    std::size_t kinds = 0;
    for (std::size_t i = 0; i < line.size();) {
        const char32_t cp = ReadUtf8At(line, i);
        if (cp == ' ') {
            continue;
        }
        if (std::find(drawn.begin(), drawn.end(), cp) == drawn.end()) {
            return false;
        }
        if (std::find(seen.begin(), seen.begin() + kinds, cp) == seen.begin() + kinds) {
            if (kinds == seen.size()) {
                return false;
            }
            seen[kinds++] = cp;
        }
        ++count;
    }
    return count >= 3;
}

// Entities and, in Markdown, backslash escapes as the characters they stand for.
std::string DecodeEntities(std::string_view text, bool backslashes) {
    static const std::unordered_map<std::string_view, std::string_view> named{
        {"amp", "&"},    {"lt", "<"},     {"gt", ">"},    {"quot", "\""}, {"apos", "'"},
        {"nbsp", " "},   {"copy", "©"},   {"reg", "®"},   {"yen", "¥"},   {"times", "×"},
        {"hellip", "…"}, {"mdash", "—"},  {"ndash", "–"}, {"laquo", "«"}, {"raquo", "»"},
        {"trade", "™"},  {"middot", "·"}, {"ensp", " "},  {"emsp", " "},  {"colon", ":"}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (backslashes && c == '\\' && i + 1 < text.size() &&
            std::ispunct(static_cast<unsigned char>(text[i + 1]))) {
            out += text[++i];
            continue;
        }
        if (c == '&') {
            const std::size_t semi = text.find(';', i);
            if (semi != std::string_view::npos && semi - i <= 10) {
                const std::string_view name = text.substr(i + 1, semi - i - 1);
                if (name.size() > 1 && name[0] == '#') {
                    char32_t cp = 0;
                    bool ok = true;
                    const bool hex = name[1] == 'x' || name[1] == 'X';
                    for (std::size_t k = hex ? 2 : 1; k < name.size() && ok; ++k) {
                        const auto d = static_cast<unsigned char>(name[k]);
                        ok = hex ? std::isxdigit(d) != 0 : std::isdigit(d) != 0;
                        cp = cp * (hex ? 16 : 10) +
                             static_cast<char32_t>(std::isdigit(d) ? d - '0'
                                                                   : (d | 0x20) - 'a' + 10);
                        ok = ok && cp <= 0x10FFFF;
                    }
                    if (ok && name.size() > (hex ? 2u : 1u)) {
                        AppendUtf8(out, cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) ? 0xFFFD : cp);
                        i = semi;
                        continue;
                    }
                } else if (const auto found = named.find(name); found != named.end()) {
                    out += found->second;
                    i = semi;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

// ---- lines ------------------------------------------------------------------------

struct SourceLine {
    std::string Text;
    int Level = 0; // a heading of the markup (HTML h1-h6), 1..6
};

std::vector<SourceLine> SplitLines(std::string_view text) {
    std::vector<SourceLine> lines;
    ForEachLineEndedByAnyBreak(
        text, [&lines](std::string_view line) { lines.push_back(SourceLine{std::string(line)}); });
    if (lines.back().Text.empty()) {
        lines.pop_back(); // what follows the last line end
    }
    return lines;
}

// Where `needle` (lower case) first stands in `text` from `from` on, whatever
// the case of its letters; the text's size when nowhere.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    for (std::size_t at = text.find('<', from); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (text.size() - at < needle.size()) {
            break;
        }
        std::size_t k = 0;
        while (k < needle.size() && AsciiLower(text[at + k]) == needle[k]) {
            ++k;
        }
        if (k == needle.size()) {
            return at;
        }
    }
    return text.size();
}

bool IsBlockTag(std::string_view tag) {
    static constexpr std::array<std::string_view, 26> blocks{
        "p",     "div",  "li",   "tr",      "ul",   "ol",      "table",   "pre",    "blockquote",
        "dt",    "dd",   "dl",   "center",  "body", "section", "article", "header", "footer",
        "title", "html", "head", "address", "main", "nav",     "form",    "caption"};
    return std::find(blocks.begin(), blocks.end(), tag) != blocks.end();
}

// The HTML page as lines of text: tags gone, <BR> and block ends as line ends,
// h1-h6 as headings, <HR> as a separator, table cells parted by tabs.
std::vector<SourceLine> HtmlLines(std::string_view html, std::string& title) {
    std::vector<SourceLine> lines;
    std::string current;
    int level = 0;
    bool pre = false;
    const auto endLine = [&] {
        std::string_view t = TrimBlanks(current);
        if (!t.empty() || level != 0) {
            lines.push_back(SourceLine{DecodeEntities(t, false), level});
        }
        current.clear();
    };
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                const std::size_t end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos) {
                current += html.substr(i);
                break;
            }
            std::string_view tag = html.substr(i + 1, close - i - 1);
            const bool closing = tag.starts_with('/');
            if (closing) {
                tag.remove_prefix(1);
            }
            std::size_t nameEnd = 0;
            while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd]))) {
                ++nameEnd;
            }
            const std::string name = AsciiLowered(tag.substr(0, nameEnd));
            i = close + 1;
            if (!closing && name == "title") {
                const std::size_t end = html.find("</", i);
                title = DecodeEntities(
                    TrimBlanks(html.substr(i, end == std::string_view::npos ? 0 : end - i)), false);
            }
            if (!closing && (name == "script" || name == "style" || name == "head")) {
                const std::size_t end = FindNoCase(html, "</" + name, i);
                i = end;
                continue;
            }
            if (name == "br") {
                endLine();
            } else if (name == "hr") {
                endLine();
                lines.push_back(SourceLine{"----------"});
            } else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
                endLine();
                level = closing ? 0 : name[1] - '0';
            } else if (name == "td" || name == "th") {
                if (closing) {
                    current += '\t';
                }
            } else if (IsBlockTag(name)) {
                endLine();
                if (name == "pre") {
                    pre = !closing;
                }
            }
            continue;
        }
        if (!pre && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (!current.empty() && current.back() != ' ') {
                current += ' ';
            }
            ++i;
            continue;
        }
        if (pre && (c == '\r' || c == '\n')) {
            endLine();
            i += (c == '\r' && i + 1 < html.size() && html[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        current += c;
        ++i;
    }
    endLine();
    // Tabs between table cells: the last one ends the row.
    for (SourceLine& line : lines) {
        while (!line.Text.empty() && (line.Text.back() == '\t' || line.Text.back() == ' ')) {
            line.Text.pop_back();
        }
    }
    return lines;
}

// ---- what a line is ------------------------------------------------------------------

struct Heading {
    std::string Name;
    std::string Value;  // on the heading's line
    bool Title = false; // a first-level heading, or ＜＜…＞＞: may name the software
};

bool Take(std::string_view& s, std::string_view prefix) {
    if (!s.starts_with(prefix)) {
        return false;
    }
    s.remove_prefix(prefix.size());
    return true;
}

std::string_view WithoutColon(std::string_view s) {
    s = TrimBlanks(s);
    if (!Take(s, "：")) {
        Take(s, ":");
    }
    return TrimBlanks(s);
}

// "name：value" or "name: value", with the name short enough to be one.
bool SplitFact(std::string_view line, std::string& name, std::string& value) {
    std::size_t colon = line.find("：");
    std::size_t length = 3;
    const std::size_t ascii = line.find(':');
    if (ascii != std::string_view::npos && (colon == std::string_view::npos || ascii < colon)) {
        colon = ascii;
        length = 1;
        // "http://", "C:\", "12:30" are no facts.
        if (line.compare(ascii + 1, 2, "//") == 0 || line.compare(ascii + 1, 1, "\\") == 0) {
            return false;
        }
    }
    if (colon == std::string_view::npos) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            return false;
        }
        colon = tab;
        length = 1;
    }
    const std::string_view n = TrimBlanks(line.substr(0, colon));
    if (n.empty() || CodePoints(n) > 16 || n.find("。") != std::string_view::npos ||
        n.find("、") != std::string_view::npos || std::all_of(n.begin(), n.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return false;
    }
    name = std::string(n);
    value = std::string(TrimBlanks(line.substr(colon + length)));
    return true;
}

// A bracketed name at the start: 【name】, ＜＜name＞＞, <<name>>, ≪name≫, [name], ［name］.
bool BracketedHeading(std::string_view line, Heading& h) {
    static constexpr std::pair<std::string_view, std::string_view> pairs[] = {
        {"【", "】"}, {"＜＜", "＞＞"}, {"<<", ">>"}, {"≪", "≫"},
        {"［", "］"}, {"[", "]"},       {"〔", "〕"}, {"《", "》"}};
    for (const auto& [open, close] : pairs) {
        std::string_view rest = line;
        if (!Take(rest, open)) {
            continue;
        }
        const std::size_t end = rest.find(close);
        if (end == std::string_view::npos || end == 0) {
            continue;
        }
        const std::string_view after = rest.substr(end + close.size());
        if (open == "[" && (after.starts_with("(") || after.starts_with(":"))) {
            return false; // a Markdown link or link reference
        }
        h.Name = std::string(TrimBlanks(rest.substr(0, end)));
        h.Value = std::string(WithoutColon(after));
        h.Title = open != "【" && open != "[" && open != "［";
        return CodePoints(h.Name) <= 32;
    }
    return false;
}

bool MarkedHeading(std::string_view line, Heading& h) {
    static constexpr std::array<std::string_view, 14> marks{"■", "●", "◆", "□", "◇", "▼", "◎",
                                                            "★", "☆", "▽", "▲", "△", "○", "◯"};
    for (std::string_view mark : marks) {
        std::string_view rest = line;
        if (!Take(rest, mark)) {
            continue;
        }
        while (Take(rest, mark)) {
        }
        rest = TrimBlanks(rest);
        if (rest.empty() || CodePoints(rest) > 40) {
            return false;
        }
        std::string name;
        std::string value;
        if (SplitFact(rest, name, value)) {
            h.Name = name;
            h.Value = value;
        } else {
            h.Name = std::string(rest);
        }
        return true;
    }
    return false;
}

// "1. 概要", "２．使い方", "(3) 履歴", "第4章 著作権": a heading only with a known name.
bool NumberedHeading(std::string_view line, Heading& h) {
    std::string_view rest = line;
    const bool paren = Take(rest, "(") || Take(rest, "（");
    const bool chapter = !paren && Take(rest, "第");
    std::size_t digits = 0;
    while (!rest.empty()) {
        std::size_t n = 0;
        const char32_t cp = ReadUtf8At(rest, n);
        if (!((cp >= '0' && cp <= '9') || (cp >= U'０' && cp <= U'９'))) {
            break;
        }
        rest.remove_prefix(n);
        ++digits;
    }
    if (digits == 0 || digits > 3) {
        return false;
    }
    bool marked = false;
    for (std::string_view end : {".", "．", ")", "）", "、", "章", ":", "："}) {
        if (Take(rest, end)) {
            marked = true;
            break;
        }
    }
    if (!marked && !paren) {
        return false;
    }
    rest = TrimBlanks(rest);
    if (rest.empty() || !MeaningOf(rest)) {
        std::string name;
        std::string value;
        if (!SplitFact(rest, name, value) || !MeaningOf(name)) {
            return false;
        }
        h.Name = name;
        h.Value = value;
        return true;
    }
    (void)chapter;
    h.Name = std::string(rest);
    return true;
}

// A known name alone on its line, perhaps decorated: "概要", "=== 使い方 ===", "*履歴*".
bool BareHeading(std::string_view line, Heading& h) {
    static constexpr std::string_view decoration = " \t=-*_~#・:：";
    std::string_view rest = TrimBlanks(line);
    while (!rest.empty() && decoration.find(rest.front()) != std::string_view::npos) {
        rest.remove_prefix(1);
    }
    while (!rest.empty() && decoration.find(rest.back()) != std::string_view::npos) {
        rest.remove_suffix(1);
    }
    rest = TrimBlanks(rest);
    if (rest.ends_with("：")) {
        rest.remove_suffix(3);
    }
    if (rest.empty() || CodePoints(rest) > 20 || !MeaningOf(rest)) {
        return false;
    }
    h.Name = std::string(rest);
    return true;
}

bool AtxHeading(std::string_view line, Heading& h) {
    std::size_t hashes = 0;
    while (hashes < line.size() && line[hashes] == '#') {
        ++hashes;
    }
    if (hashes == 0 || hashes > 6 || (hashes < line.size() && line[hashes] != ' ')) {
        return false;
    }
    h.Title = hashes == 1;
    std::string_view rest = TrimBlanks(line.substr(hashes));
    while (rest.ends_with('#')) {
        rest.remove_suffix(1);
    }
    h.Name = DecodeEntities(TrimBlanks(rest), true);
    std::string name;
    std::string value;
    if (SplitFact(h.Name, name, value) && MeaningOf(name) && !value.empty()) {
        h.Name = name;
        h.Value = value;
    }
    return true;
}

// "- name: value", "* name：value", "| name | value |": the fact, or false.
bool ListOrTableFact(std::string_view line, std::string& name, std::string& value) {
    std::string_view rest = TrimBlanks(line);
    if (rest.starts_with("|")) {
        std::vector<std::string> cells;
        std::string cell;
        for (std::size_t i = 1; i < rest.size(); ++i) {
            if (rest[i] == '\\' && i + 1 < rest.size()) {
                cell += rest[i];
                cell += rest[++i];
            } else if (rest[i] == '|') {
                cells.push_back(cell);
                cell.clear();
            } else {
                cell += rest[i];
            }
        }
        if (!TrimBlanks(cell).empty()) {
            cells.push_back(cell);
        }
        if (cells.size() != 2) {
            return false;
        }
        name = DecodeEntities(TrimBlanks(cells[0]), true);
        value = DecodeEntities(TrimBlanks(cells[1]), true);
        return !name.empty();
    }
    if (Take(rest, "- ") || Take(rest, "* ") || Take(rest, "+ ") || Take(rest, "・")) {
        std::string raw = DecodeEntities(rest, true);
        // "**name**: value"
        std::string plain;
        for (char c : raw) {
            if (c != '*') {
                plain += c;
            }
        }
        return SplitFact(plain, name, value) && !value.empty();
    }
    return false;
}

bool IsTableRule(std::string_view line) {
    line = TrimBlanks(line);
    return line.starts_with('|') && line.find("---") != std::string_view::npos &&
           line.find_first_not_of("|-: ") == std::string_view::npos;
}

// "ソフト名 Ver 1.2", "ソフト名 v1.2", "ソフト名 Version 1.2.3", "ソフト名 1.2".
bool SplitTitle(std::string_view title, std::string& name, std::string& version) {
    title = TrimBlanks(title);
    const std::string lower = AsciiLowered(title);
    for (std::string_view word : {" version", " ver.", " ver", " v", "　ver", "　version", "　v"}) {
        const std::size_t at = lower.rfind(word);
        if (at == std::string::npos || at == 0) {
            continue;
        }
        std::string_view rest = title.substr(at + word.size());
        rest = TrimBlanks(rest);
        Take(rest, ".");
        rest = TrimBlanks(rest);
        if (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0]))) {
            name = std::string(TrimBlanks(title.substr(0, at)));
            version = std::string(title.substr(title.size() - rest.size()));
            return true;
        }
    }
    const std::size_t space = title.rfind(' ');
    if (space != std::string_view::npos && space + 1 < title.size() &&
        std::isdigit(static_cast<unsigned char>(title[space + 1])) &&
        title.find('.', space) != std::string_view::npos) {
        name = std::string(TrimBlanks(title.substr(0, space)));
        version = std::string(title.substr(space + 1));
        return !name.empty();
    }
    return false;
}

// ---- placing the sections ---------------------------------------------------------------

class HeadingReader {
public:
    HeadingReader(std::vector<SourceLine> lines, ReadMeFormat kind, std::string pageTitle)
        : lines_(std::move(lines)), markdown_(kind == ReadMeFormat::Markdown),
          pageTitle_(std::move(pageTitle)) {}

    ImportResult Read() {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            Line(i);
        }
        CloseSection();
        if (titleName_.empty() && !pageTitle_.empty() &&
            !SplitTitle(pageTitle_, titleName_, titleVersion_)) {
            titleName_ = pageTitle_;
        }
        if (titleLine_.empty()) {
            titleLine_ = pageTitle_;
        }
        if (!titleName_.empty()) {
            std::vector<OrderEntry>& order = out_.form().Order;
            std::vector<ImportPlacement>& placements = out_.report().Placements;
            const auto orderBefore = static_cast<std::ptrdiff_t>(order.size());
            const auto placedBefore = static_cast<std::ptrdiff_t>(placements.size());
            const CatalogueItem* name = LookupItem("ソフト名");
            const CatalogueItem* version = LookupItem("バージョン");
            if (!out_.Holds(*name)) {
                PlaceFact(*name, titleName_, titleLine_);
            }
            if (!titleVersion_.empty() && !out_.Holds(*version)) {
                PlaceFact(*version, titleVersion_, titleLine_);
            }
            // The title stands before everything else in the document; so do the
            // entries it gave.
            std::rotate(order.begin(), order.begin() + orderBefore, order.end());
            std::rotate(placements.begin(), placements.begin() + placedBefore, placements.end());
        }
        if (!preamble_.empty()) {
            out_.AppendCatchAll("", JoinLines(std::move(preamble_)));
        }
        return out_.Finish();
    }

private:
    struct Section {
        std::string HeadingLine;
        std::string Name;
        std::string Value;
        std::vector<std::string> Body;
        bool Open = false;
    };

    std::string BodyLine(const std::string& text) const {
        if (!markdown_) {
            return text;
        }
        std::string_view line = text;
        if (line.ends_with('\\') && !line.ends_with("\\\\")) {
            line.remove_suffix(1); // a hard line break: the line end itself
        }
        return DecodeEntities(line, true);
    }

    static std::string JoinLines(std::vector<std::string> lines) {
        while (!lines.empty() && TrimBlanks(lines.back()).empty()) {
            lines.pop_back();
        }
        std::size_t first = 0;
        while (first < lines.size() && TrimBlanks(lines[first]).empty()) {
            ++first;
        }
        std::string text;
        for (std::size_t i = first; i < lines.size(); ++i) {
            if (i > first) {
                text += "\r\n";
            }
            text += lines[i];
        }
        return text;
    }

    bool HeadingAt(std::size_t i, Heading& h) const {
        const SourceLine& source = lines_[i];
        const std::string_view line = TrimBlanks(source.Text);
        if (source.Level > 0) {
            h.Title = source.Level == 1;
            h.Name = std::string(line);
            std::string name;
            std::string value;
            if (SplitFact(line, name, value) && MeaningOf(name) && !value.empty()) {
                h.Name = name;
                h.Value = value;
            }
            return !h.Name.empty();
        }
        if (line.empty()) {
            return false;
        }
        if (markdown_ && AtxHeading(line, h)) {
            return !h.Name.empty();
        }
        if (markdown_ && i + 1 < lines_.size() && !line.starts_with("- ") &&
            !line.starts_with("|")) {
            const std::string_view next = TrimBlanks(lines_[i + 1].Text);
            if (next.size() >= 2 && (next.find_first_not_of('=') == std::string_view::npos ||
                                     next.find_first_not_of('-') == std::string_view::npos)) {
                h.Name = DecodeEntities(line, true);
                h.Title = next.front() == '=';
                return true;
            }
        }
        if (BracketedHeading(line, h) || MarkedHeading(line, h) || NumberedHeading(line, h) ||
            BareHeading(line, h)) {
            return true;
        }
        return false;
    }

    bool IsSetextUnderline(std::size_t i) const {
        if (!markdown_ || i == 0) {
            return false;
        }
        const std::string_view prev = TrimBlanks(lines_[i - 1].Text);
        const std::string_view line = TrimBlanks(lines_[i].Text);
        return !prev.empty() && line.size() >= 2 && lastWasSetext_ == i - 1 &&
               (line.find_first_not_of('=') == std::string_view::npos ||
                line.find_first_not_of('-') == std::string_view::npos);
    }

    void Line(std::size_t i) {
        const std::string& text = lines_[i].Text;
        if (IsSetextUnderline(i)) {
            return;
        }
        if (markdown_ && TrimBlanks(text).starts_with("```")) {
            fence_ = !fence_;
        }
        if (fence_ || (markdown_ && TrimBlanks(text).starts_with("```"))) {
            AddText(text, true);
            return;
        }
        if (lines_[i].Level == 0 && IsSeparatorLine(text) && !(markdown_ && IsTableRule(text))) {
            CloseSection();
            if (!separatorPending_ && !out_.form().Order.empty()) {
                separatorPending_ = true;
            } else if (out_.form().Order.empty()) {
                leadingSeparator_ = true;
            }
            return;
        }
        if (markdown_ && IsTableRule(text)) {
            return;
        }
        Heading h;
        if (HeadingAt(i, h)) {
            if (markdown_ && !lines_[i].Text.starts_with("#") && i + 1 < lines_.size()) {
                lastWasSetext_ = i;
            }
            StartSection(TrimBlanks(text), h);
            return;
        }
        std::string name;
        std::string value;
        const bool inLong = section_.Open && LongTarget();
        if (!inLong && (ListOrTableFact(text, name, value) ||
                        (lines_[i].Level == 0 && SplitFact(TrimBlanks(text), name, value) &&
                         !value.empty()))) {
            if (IsTableHeader(i, name, value)) {
                return;
            }
            const auto meaning = MeaningOf(name);
            if (meaning || !section_.Open) {
                Fact(name, value, TrimBlanks(text));
                return;
            }
        }
        AddText(text, false);
    }

    // The first row of a table whose second line is its rule names the columns.
    bool IsTableHeader(std::size_t i, const std::string& name, const std::string& value) const {
        return markdown_ && i + 1 < lines_.size() && IsTableRule(lines_[i + 1].Text) &&
               !(MeaningOf(name) && !MeaningOf(value));
    }

    // Whether the open section goes to a long text (its lines are kept as they are).
    bool LongTarget() const {
        const auto meaning = MeaningOf(section_.Name);
        return !meaning || meaning->Long != nullptr;
    }

    void AddText(const std::string& text, bool raw) {
        if (!section_.Open) {
            if (out_.form().Order.empty() && titleName_.empty() && !TrimBlanks(text).empty() &&
                !seenTitle_) {
                seenTitle_ = true;
                titleLine_ = std::string(TrimBlanks(text));
                if (SplitTitle(titleLine_, titleName_, titleVersion_) ||
                    CodePoints(titleLine_) <= 40) {
                    if (titleName_.empty()) {
                        titleName_ = titleLine_;
                    }
                    return;
                }
            }
            if (!TrimBlanks(text).empty() || !preamble_.empty()) {
                preamble_.push_back(raw ? text : BodyLine(text));
            }
            return;
        }
        section_.Body.push_back(raw ? text : BodyLine(text));
    }

    // Text before any heading has no item: it goes, where it stood, to the catch-all.
    void FlushSeparator() {
        if (!preamble_.empty()) {
            std::string text = JoinLines(std::move(preamble_));
            preamble_.clear();
            if (!text.empty()) {
                out_.AppendCatchAll("", text);
            }
        }
        if (leadingSeparator_ && out_.form().Order.empty()) {
            out_.AddSeparator();
            leadingSeparator_ = false;
        }
        if (separatorPending_) {
            out_.AddSeparator();
            separatorPending_ = false;
        }
    }

    void PlaceFact(const CatalogueItem& item, const std::string& value, const std::string& line) {
        FlushSeparator();
        if (!out_.SetSingle(item, value, line)) {
            out_.AppendCatchAll(line, "");
        }
    }

    void Fact(const std::string& name, const std::string& value, std::string_view line) {
        const auto meaning = MeaningOf(name);
        FlushSeparator();
        if (meaning && meaning->Single && !out_.Holds(*meaning->Single)) {
            out_.SetSingle(*meaning->Single, value, line);
        } else if (meaning && meaning->Long && !meaning->Single && !out_.Holds(*meaning->Long)) {
            out_.SetLong(*meaning->Long, value, line);
        } else if (!out_.SetUserSingle(name, value, line)) {
            out_.AppendCatchAll(std::string(line), "");
        }
    }

    void StartSection(std::string_view line, const Heading& h) {
        CloseSection();
        // The page's first heading names the software when no item does.
        std::string name;
        std::string version;
        if (out_.form().Order.empty() && !seenTitle_ && !MeaningOf(h.Name) &&
            (SplitTitle(h.Name, name, version) || h.Title)) {
            seenTitle_ = true;
            titleLine_ = h.Name;
            titleName_ = name.empty() ? h.Name : name;
            titleVersion_ = version;
            return;
        }
        section_ = Section{std::string(line), h.Name, h.Value, {}, true};
    }

    void CloseSection() {
        if (!section_.Open) {
            return;
        }
        Section s = std::move(section_);
        section_ = Section{};
        FlushSeparator();
        std::string body = JoinLines(s.Body);
        const auto meaning = MeaningOf(s.Name);
        if (!s.Value.empty() && body.empty()) {
            Fact(s.Name, s.Value, s.HeadingLine);
            return;
        }
        std::string text = s.Value.empty() ? body
                           : body.empty()  ? s.Value
                                           : s.Value + "\r\n" + body;
        if (meaning && meaning->Long && !out_.Holds(*meaning->Long)) {
            out_.SetLong(*meaning->Long, text, s.HeadingLine);
            return;
        }
        if (meaning && meaning->Single && !out_.Holds(*meaning->Single) && !text.empty()) {
            // A single-line item under a heading: its first line; the rest has no place.
            const std::size_t end = text.find("\r\n");
            std::string first = std::string(TrimBlanks(text.substr(0, end)));
            std::string name;
            std::string value;
            if (SplitFact(first, name, value) && !value.empty() && MeaningOf(name) &&
                MeaningOf(name)->Single == meaning->Single) {
                first = value;
            }
            out_.SetSingle(*meaning->Single, first, s.HeadingLine);
            if (end != std::string::npos) {
                out_.AppendCatchAll(s.HeadingLine, JoinLines(SplitAll(text.substr(end + 2))));
            }
            return;
        }
        if (text.empty() && s.Value.empty()) {
            // A heading alone: the user item keeps its name.
        }
        if (!out_.SetUserLong(s.Name, text, s.HeadingLine)) {
            out_.AppendCatchAll(s.HeadingLine, text);
        }
    }

    static std::vector<std::string> SplitAll(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = text.find("\r\n", start);
            lines.push_back(
                text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 2;
        }
        return lines;
    }

    std::vector<SourceLine> lines_;
    bool markdown_;
    std::string pageTitle_; // an HTML page's <title>, for a page without a title line
    bool fence_ = false;
    std::size_t lastWasSetext_ = static_cast<std::size_t>(-1);
    Section section_;
    bool separatorPending_ = false;
    bool leadingSeparator_ = false;
    bool seenTitle_ = false;
    std::string titleLine_;
    std::string titleName_;
    std::string titleVersion_;
    std::vector<std::string> preamble_;
    ImportedForm out_;
};

} // namespace

ImportResult ReadByHeadings(std::string_view text, ReadMeFormat kind) {
    std::string title;
    std::vector<SourceLine> lines =
        kind == ReadMeFormat::Html ? HtmlLines(text, title) : SplitLines(text);
    ImportResult result = HeadingReader(std::move(lines), kind, std::move(title)).Read();
    result.report.Format = kind;
    return result;
}

} // namespace kelvaro

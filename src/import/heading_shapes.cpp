// What a line of a ReadMe is: a heading in one of the shapes ReadMes use, a
// fact (a name and its value), a table rule, or a title.

#include "import/heading_parts.h"
#include "platform/text.h"

#include <algorithm>
#include <array>

namespace kelvaro::by_headings {

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
        h.Shape = "bracket:" + std::string(open);
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
        h.Shape = "mark:" + std::string(mark);
        return true;
    }
    return false;
}

bool NumberedLine(std::string_view line, Numbered& n) {
    std::string_view rest = line;
    std::string style;
    if (Take(rest, "(") || Take(rest, "（")) {
        style = "(";
    } else if (Take(rest, "第")) {
        style = "第";
    }
    std::size_t digits = 0;
    n.Number = 0;
    while (!rest.empty()) {
        std::size_t length = 0;
        const char32_t cp = ReadUtf8At(rest, length);
        const bool ascii = cp >= '0' && cp <= '9';
        if (!ascii && !(cp >= U'０' && cp <= U'９')) {
            break;
        }
        if (++digits > 3) {
            return false; // no section numbers run to four digits; nor does the count
        }
        n.Number = n.Number * 10 + static_cast<int>(ascii ? cp - '0' : cp - U'０');
        rest.remove_prefix(length);
    }
    if (digits == 0 || digits > 3) {
        return false;
    }
    bool marked = false;
    for (std::string_view end : {".", "．", ")", "）", "、", "章", ":", "："}) {
        if (Take(rest, end)) {
            // Full- and half-width forms of a mark are one style.
            style += end == "．" ? "." : end == "）" ? ")" : end == "：" ? ":" : std::string(end);
            marked = true;
            break;
        }
    }
    if ((!marked && style != "(") || (!rest.empty() && rest.front() == '.')) {
        return false; // "1.2.3" is a version, not a number
    }
    n.Style = style;
    n.Rest = TrimBlanks(rest);
    return true;
}

// "1. 概要", "２．使い方", "(3) 履歴", "第4章 著作権": a heading only with a known name.
bool NumberedHeading(std::string_view line, Heading& h) {
    Numbered n;
    if (!NumberedLine(line, n)) {
        return false;
    }
    h.Shape = "num:" + n.Style;
    if (n.Rest.empty() || !MeaningOf(n.Rest)) {
        std::string name;
        std::string value;
        if (!SplitFact(n.Rest, name, value) || !MeaningOf(name)) {
            return false;
        }
        h.Name = name;
        h.Value = value;
        return true;
    }
    h.Name = std::string(n.Rest);
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
    h.Shape = "bare:" + std::string(line.substr(0, line.find(rest)));
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
    h.Shape = "#" + std::to_string(hashes);
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

namespace {

// The version's own characters: "1.1.0", "2.0b", "1.20-beta", "r15".
std::string_view VersionToken(std::string_view rest) {
    std::size_t end = 0;
    while (end < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[end])) != 0 ||
                                 rest[end] == '.' || rest[end] == '-' || rest[end] == '_')) {
        ++end;
    }
    while (end > 0 && (rest[end - 1] == '.' || rest[end - 1] == '-')) {
        --end;
    }
    return rest.substr(0, end);
}

// The characters a banner draws around a title: boxes, stars, marks.
bool IsBannerCharacter(char32_t cp) {
    static constexpr std::u32string_view banner = U"┃│║|*＊■□◆◇●○★☆※=＝-－~～_#┏┓┗┛┌┐└┘╔╗╚╝━─═◎◇";
    return banner.find(cp) != std::u32string_view::npos;
}

} // namespace

std::string_view WithoutBanner(std::string_view line) {
    line = TrimBlanks(line);
    for (bool changed = true; changed && !line.empty();) {
        changed = false;
        std::size_t at = 0;
        if (IsBannerCharacter(ReadUtf8At(line, at))) {
            line = TrimBlanks(line.substr(at));
            changed = true;
            continue;
        }
        std::size_t start = line.size() - 1;
        while (start > 0 && (static_cast<unsigned char>(line[start]) & 0xC0) == 0x80) {
            --start;
        }
        at = start;
        if (IsBannerCharacter(ReadUtf8At(line, at))) {
            line = TrimBlanks(line.substr(0, start));
            changed = true;
        }
    }
    return line;
}

// "ソフト名 Ver 1.2", "ソフト名 v1.2", "ソフト名 Version 1.2.3 取扱説明書", "ソフト名 1.2":
// the name before the version, the version's own characters; what follows it
// ("取扱説明書", "ReadMe") belongs to neither.
bool SplitTitle(std::string_view title, std::string& name, std::string& version) {
    title = WithoutBanner(title);
    const std::string lower = AsciiLowered(title);
    for (std::string_view word : {"version", "ver.", "ver", "v"}) {
        for (std::size_t at = lower.rfind(word); at != std::string::npos && at > 0;
             at = lower.rfind(word, at - 1)) {
            const char before = title[at - 1];
            const bool parted =
                before == ' ' || before == '\t' || (static_cast<unsigned char>(before) & 0x80) != 0;
            std::string_view rest = TrimBlanks(title.substr(at + word.size()));
            Take(rest, ".");
            rest = TrimBlanks(rest);
            const std::string_view token = VersionToken(rest);
            if (!parted || token.empty() ||
                std::isdigit(static_cast<unsigned char>(token[0])) == 0) {
                continue;
            }
            name = std::string(TrimBlanks(title.substr(0, at)));
            version = std::string(token);
            return !name.empty();
        }
    }
    const std::size_t space = title.rfind(' ');
    if (space != std::string_view::npos && space + 1 < title.size() &&
        std::isdigit(static_cast<unsigned char>(title[space + 1])) &&
        VersionToken(title.substr(space + 1)).size() == title.size() - space - 1 &&
        title.find('.', space) != std::string_view::npos) {
        name = std::string(TrimBlanks(title.substr(0, space)));
        version = std::string(title.substr(space + 1));
        return !name.empty();
    }
    return false;
}

// "名前 ……… 値", "名前.......値", "名前・・・値", "名前　　値": a known name, then a
// leader of dots or a run of blanks, then the value.
bool LeaderFact(std::string_view line, std::string& name, std::string& value) {
    static constexpr std::u32string_view leaders = U"…‥・･.．";
    line = TrimBlanks(line);
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t start = i;
        std::size_t runs = 0;
        std::size_t blanks = 0;
        for (std::size_t next = i; next < line.size(); i = next) {
            const char32_t cp = ReadUtf8At(line, next);
            if (leaders.find(cp) != std::u32string_view::npos) {
                ++runs;
            } else if (cp == ' ' || cp == '\t' || cp == U'　') {
                blanks += cp == U'　' || cp == '\t' ? 2 : 1;
            } else {
                break;
            }
        }
        if ((runs >= 2 || (runs == 0 && blanks >= 2)) && start > 0 && i < line.size()) {
            const std::string_view n = TrimBlanks(line.substr(0, start));
            const auto meaning = MeaningOf(n);
            if (meaning && meaning->Single != nullptr && CodePoints(n) <= 16) {
                name = std::string(n);
                value = std::string(TrimBlanks(line.substr(i)));
                return true;
            }
            return false;
        }
        if (i == start) {
            ReadUtf8At(line, i);
        }
    }
    return false;
}

// "hitomemo110.lzh（218KB）", "tool.zip (845KB)": the archive and its size with its unit.
bool SplitArchive(std::string_view value, std::string& archive, std::string& size) {
    value = TrimBlanks(value);
    std::string_view close = value.ends_with("）") ? "）" : value.ends_with(")") ? ")" : "";
    if (close.empty()) {
        return false;
    }
    const std::size_t half = value.rfind('(');
    const std::size_t full = value.rfind("（");
    const std::size_t open = half == std::string_view::npos   ? full
                             : full == std::string_view::npos ? half
                                                              : std::max(half, full);
    if (open == std::string_view::npos || open == 0) {
        return false;
    }
    const std::size_t openLength = value.compare(open, 1, "(") == 0 ? 1 : 3;
    std::string inner(TrimBlanks(
        value.substr(open + openLength, value.size() - close.size() - open - openLength)));
    inner.erase(std::remove(inner.begin(), inner.end(), ' '), inner.end());
    std::size_t digits = 0;
    while (digits < inner.size() && (std::isdigit(static_cast<unsigned char>(inner[digits])) != 0 ||
                                     inner[digits] == '.' || inner[digits] == ',')) {
        ++digits;
    }
    const std::string unit = AsciiLowered(inner.substr(digits));
    static constexpr std::pair<std::string_view, std::string_view> units[] = {
        {"kb", "KB"},     {"mb", "MB"},      {"gb", "GB"},
        {"byte", "Byte"}, {"bytes", "Byte"}, {"b", "Byte"}};
    for (const auto& [written, shown] : units) {
        if (digits > 0 && unit == written) {
            archive = std::string(TrimBlanks(value.substr(0, open)));
            size = inner.substr(0, digits) + std::string(shown);
            return !archive.empty();
        }
    }
    return false;
}

// A date on a line under the title: "2013/03/02", "2024-01-05", "2019.10.10",
// "2020年4月1日"; what stands beside it is left in `rest`.
bool FindDate(std::string_view line, std::string& date, std::string& rest) {
    for (std::size_t at = 0; at + 4 <= line.size(); ++at) {
        if (std::isdigit(static_cast<unsigned char>(line[at])) == 0 ||
            (at > 0 && std::isdigit(static_cast<unsigned char>(line[at - 1])) != 0)) {
            continue;
        }
        std::size_t end = at;
        int groups = 0;
        while (groups < 3) {
            std::size_t digits = 0;
            while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end])) != 0) {
                ++end;
                ++digits;
            }
            if (digits == 0 || (groups == 0 && digits != 4) || (groups > 0 && digits > 2)) {
                break;
            }
            ++groups;
            std::string_view after = line.substr(end);
            const std::string_view mark = groups == 1 ? "年" : groups == 2 ? "月" : "日";
            // A separator between the groups, or the group's own 年 月 日.
            if ((groups < 3 && (Take(after, "/") || Take(after, "-") || Take(after, "."))) ||
                Take(after, mark)) {
                end = line.size() - after.size();
            } else if (groups < 3) {
                break;
            }
        }
        if (groups == 3) {
            date = std::string(TrimBlanks(line.substr(at, end - at)));
            rest = std::string(line.substr(0, at)) + " " + std::string(line.substr(end));
            rest = std::string(WithoutBanner(rest));
            return true;
        }
    }
    return false;
}

} // namespace kelvaro::by_headings

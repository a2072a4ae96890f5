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

} // namespace kelvaro::by_headings

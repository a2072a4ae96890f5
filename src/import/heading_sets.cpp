// What the whole file says about its headings: the numbering its known
// sections share and the decorations its headings repeat. A line in one of
// these shapes is a heading even when its name is none the program knows.

#include "import/heading_parts.h"
#include "platform/text.h"

#include <algorithm>
#include <map>

namespace kelvaro::by_headings {
namespace {

bool IsDecoration(char32_t cp) {
    static constexpr std::u32string_view marks =
        U"―─━＝－～・□■◆◇●○◎★☆▼▽▲△《》〈〉【】［］〔〕≪≫＜＞＊※♪◯┃│|";
    return (cp < 0x80 && cp > ' ' && std::ispunct(static_cast<int>(cp)) != 0) ||
           marks.find(cp) != std::u32string_view::npos;
}

// The number of bytes the decoration takes at the start of `s`.
std::size_t LeadingDecoration(std::string_view s) {
    std::size_t at = 0;
    while (at < s.size()) {
        std::size_t next = at;
        if (!IsDecoration(ReadUtf8At(s, next))) {
            break;
        }
        at = next;
    }
    return at;
}

std::size_t TrailingDecoration(std::string_view s) {
    std::size_t end = s.size();
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) {
            --start;
        }
        std::size_t at = start;
        if (!IsDecoration(ReadUtf8At(s, at))) {
            break;
        }
        end = start;
    }
    return s.size() - end;
}

bool CouldBeName(std::string_view name) {
    return !name.empty() && CodePoints(name) <= 30 && name.find("。") == std::string_view::npos &&
           name.find("、") == std::string_view::npos;
}

} // namespace

std::string IndentOf(std::string_view raw) {
    std::size_t length = 0;
    std::size_t at = 0;
    while (at < raw.size() && IsBlankAt(raw, at, length)) {
        at += length;
    }
    return std::string(raw.substr(0, at));
}

std::string NumberStyleKey(std::string_view raw, const Numbered& n) {
    return (IndentOf(raw).empty() ? "" : "indented ") + n.Style;
}

std::vector<std::string> SectionNumberStyles(const DocumentLines& lines) {
    std::map<std::string, int> known;
    lines.ForEach([&](const SourceLine& line) {
        Numbered n;
        if (NumberedLine(TrimBlanks(line.Text), n) && MeaningOf(n.Rest)) {
            ++known[NumberStyleKey(line.Text, n)];
        }
    });
    std::vector<std::string> styles;
    for (const auto& [style, count] : known) {
        if (count >= 2) {
            styles.push_back(style);
        }
    }
    return styles;
}

std::string DecorationOf(std::string_view raw, std::string& name) {
    const std::string_view line = TrimBlanks(raw);
    const std::size_t lead = LeadingDecoration(line);
    if (lead == 0 || lead == line.size()) {
        return {};
    }
    const std::string_view rest = line.substr(lead);
    const std::size_t trail = TrailingDecoration(rest);
    name = std::string(TrimBlanks(rest.substr(0, rest.size() - trail)));
    if (!CouldBeName(name)) {
        return {};
    }
    return IndentOf(raw) + std::string(line.substr(0, lead)) + "|" +
           std::string(rest.substr(rest.size() - trail));
}

std::vector<std::string> RepeatedHeadingShapes(const DocumentLines& lines) {
    std::map<std::string, std::pair<int, bool>> shapes; // count, a known name among them
    lines.ForEach([&](const SourceLine& line) {
        std::string name;
        const std::string shape = DecorationOf(line.Text, name);
        if (!shape.empty() && !IsSeparatorLine(line.Text)) {
            auto& [count, known] = shapes[shape];
            ++count;
            known = known || MeaningOf(name).has_value();
        }
    });
    std::vector<std::string> repeated;
    for (const auto& [shape, seen] : shapes) {
        if (seen.first >= 2 && seen.second) {
            repeated.push_back(shape);
        }
    }
    return repeated;
}

} // namespace kelvaro::by_headings

// The text of a section: its lines joined, parted, and without the
// indentation the layout gave all of them.

#include "import/heading_parts.h"
#include "platform/text.h"

#include <algorithm>

namespace kelvaro::by_headings {

void DropCommonIndent(std::vector<std::string>& lines) {
    std::optional<std::string> common;
    for (const std::string& line : lines) {
        if (TrimBlanks(line).empty()) {
            continue;
        }
        const std::string indent = IndentOf(line);
        if (!common) {
            common = indent;
            continue;
        }
        std::size_t same = 0;
        while (same < common->size() && same < indent.size() && (*common)[same] == indent[same]) {
            ++same;
        }
        while (same > 0 && (static_cast<unsigned char>((*common)[same]) & 0xC0) == 0x80) {
            --same; // never inside a full-width blank
        }
        common->resize(same);
    }
    if (!common || common->empty()) {
        return;
    }
    for (std::string& line : lines) {
        line.erase(0, std::min(common->size(), IndentOf(line).size()));
    }
}

std::string JoinLines(std::vector<std::string> lines) {
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

std::vector<std::string> SplitAll(const std::string& text) {
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

// "[名前](https://...)" as a value: the name.
std::string WithoutLink(const std::string& value) {
    if (value.starts_with('[') && value.ends_with(')')) {
        const std::size_t middle = value.find("](");
        if (middle != std::string::npos && value.find(']') == middle) {
            return value.substr(1, middle - 1);
        }
    }
    return value;
}

bool NamesARelease(std::string_view name) {
    std::string_view rest = TrimBlanks(name);
    const std::string lower = AsciiLowered(rest.substr(0, std::min<std::size_t>(8, rest.size())));
    for (std::string_view word : {"version", "ver.", "ver", "v"}) {
        if (lower.starts_with(word)) {
            rest.remove_prefix(word.size());
            rest = TrimBlanks(rest);
            break;
        }
    }
    return !rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0])) != 0;
}

} // namespace kelvaro::by_headings

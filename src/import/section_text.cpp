// The text of a section: its lines joined, parted, and without the
// indentation the layout gave all of them.

#include "import/heading_parts.h"
#include "platform/text.h"

#include <algorithm>
#include <optional>

namespace kelvaro::by_headings {

namespace {

// Calls fn(start, length) for each line of a CR LF text.
template <typename Fn> void ForEachCrLfLine(std::string_view text, Fn fn) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find("\r\n", start);
        fn(start, (end == std::string_view::npos ? text.size() : end) - start);
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 2;
    }
}

} // namespace

void DropCommonIndent(std::string& text) {
    std::optional<std::string> common;
    ForEachCrLfLine(text, [&](std::size_t start, std::size_t length) {
        const std::string_view line = std::string_view(text).substr(start, length);
        if (TrimBlanks(line).empty() || (common && common->empty())) {
            return;
        }
        const std::string indent = IndentOf(line);
        if (!common) {
            common = indent;
            return;
        }
        std::size_t same = 0;
        while (same < common->size() && same < indent.size() && (*common)[same] == indent[same]) {
            ++same;
        }
        while (same > 0 && same < common->size() &&
               (static_cast<unsigned char>((*common)[same]) & 0xC0) == 0x80) {
            --same; // never inside a full-width blank
        }
        common->resize(same);
    });
    if (!common || common->empty()) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    ForEachCrLfLine(text, [&](std::size_t start, std::size_t length) {
        const std::string_view line = std::string_view(text).substr(start, length);
        if (start > 0) {
            kept += "\r\n";
        }
        kept += line.substr(std::min(common->size(), IndentOf(line).size()));
    });
    text = std::move(kept);
}

std::string WithoutBlankEnds(std::string text) {
    while (!text.empty()) {
        const std::size_t lineStart = text.rfind("\r\n");
        const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 2;
        if (!TrimBlanks(std::string_view(text).substr(from)).empty()) {
            break;
        }
        text.resize(lineStart == std::string::npos ? 0 : lineStart);
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lineEnd = text.find("\r\n", start);
        if (lineEnd == std::string::npos ||
            !TrimBlanks(std::string_view(text).substr(start, lineEnd - start)).empty()) {
            break;
        }
        start = lineEnd + 2;
    }
    text.erase(0, start);
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

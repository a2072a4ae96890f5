// Which lines of a ReadMe are headings: the shapes ReadMes use, Markdown and
// HTML headings, and the numbering and decorations the file's own headings share.

#include "import/heading_parts.h"

#include <algorithm>

namespace kelvaro::by_headings {

HeadingFinder::HeadingFinder(const DocumentLines& lines, const LineWindow& window, bool markdown)
    : lines_(window), markdown_(markdown), numberStyles_(SectionNumberStyles(lines)),
      repeatedShapes_(RepeatedHeadingShapes(lines)) {}

bool HeadingFinder::HeadingAt(std::size_t i, int lastNumber, Heading& h) const {
    if (!ShapedHeadingAt(i, h) && !SetHeadingAt(lines_.At(i).Text, lastNumber, h)) {
        return false;
    }
    if (!IndentOf(lines_.At(i).Text).empty()) {
        h.Shape = "indented " + h.Shape;
    }
    return true;
}

// A numbered line in the numbering of the file's sections, next in turn, or
// a line in a decoration the file's headings repeat.
bool HeadingFinder::SetHeadingAt(std::string_view raw, int lastNumber, Heading& h) const {
    Numbered n;
    const std::string_view line = TrimBlanks(raw);
    if (NumberedLine(line, n) && n.Number == lastNumber + 1 && !n.Rest.empty() &&
        CodePoints(n.Rest) <= 30 && n.Rest.find("。") == std::string_view::npos &&
        std::find(numberStyles_.begin(), numberStyles_.end(), NumberStyleKey(raw, n)) !=
            numberStyles_.end()) {
        h.Name = std::string(n.Rest);
        h.Shape = "num:" + n.Style;
        return true;
    }
    std::string name;
    const std::string shape = DecorationOf(raw, name);
    if (!shape.empty() &&
        std::find(repeatedShapes_.begin(), repeatedShapes_.end(), shape) != repeatedShapes_.end()) {
        h.Name = name;
        h.Shape = "deco:" + shape;
        return true;
    }
    return false;
}

bool HeadingFinder::ShapedHeadingAt(std::size_t i, Heading& h) const {
    const SourceLine& source = lines_.At(i);
    const std::string_view line = TrimBlanks(source.Text);
    if (source.Level > 0) {
        h.Title = source.Level == 1;
        h.Shape = "#" + std::to_string(source.Level);
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
    if (markdown_ && lines_.Has(i + 1) && !line.starts_with("- ") && !line.starts_with("|")) {
        const std::string_view next = TrimBlanks(lines_.At(i + 1).Text);
        if (next.size() >= 2 && (next.find_first_not_of('=') == std::string_view::npos ||
                                 next.find_first_not_of('-') == std::string_view::npos)) {
            h.Name = DecodeEntities(line, true);
            h.Title = next.front() == '=';
            h.Shape = h.Title ? "#1" : "#2";
            return true;
        }
    }
    if (BracketedHeading(line, h) || MarkedHeading(line, h) || NumberedHeading(line, h) ||
        BareHeading(line, h)) {
        return true;
    }
    return false;
}

} // namespace kelvaro::by_headings

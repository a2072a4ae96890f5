#pragma once

// Bringing a ReadMe back into a form. A ReadMe the program wrote itself (text,
// HTML 4.01, Markdown or HTML5, in CP932 or UTF-8) is read by the layout that
// wrote it, so that composing the form again in the same format and encoding
// gives the same bytes. Any other ReadMe is read by its headings: header facts
// ("【作者】name", "作者：name", "- 作者: name", two-column tables) and sections
// (【…】, ■ ● ◆ □ ◇ ▼, ＜＜…＞＞, […], numbered lines, Markdown and HTML
// headings) land in the items their names stand for; sections without an item go
// to the user items under their own names, and what is still left goes, with its
// heading, to the end of the last user long text. Nothing is dropped.
//
// Where the program's own ReadMe cannot come back exactly:
// - a long text holding a blank line followed by a line that reads as the next
//   entry (a name in the brackets, the separator line, the credit line), or, in
//   Markdown, a paragraph that is the credit line alone;
// - a single-line value or a name holding a line break, or a name or HTML
//   setting holding the markup that ends it ("</FONT>", "}" before the line end),
//   or an HTML5 page setting the page writes escaped (a quote or a backslash in
//   a font's name);
// - in the text ReadMe, a value of a user item's name holding the right bracket
//   followed by an ideographic space, and a separator line of zero characters
//   when another entry's line is empty;
// - in the Markdown table, a single-line value beginning or ending with a blank;
// - the Markdown head when the software's name is blank and its version is not
//   in the table (the head then reads as the name alone);
// - in the text ReadMe, more than a thousand separators in a row;
// - a long text marked as Markdown (its first line the marker of
//   compose/layout_lines.h), written raw or as plain text, not as typed.
// Such a ReadMe is read by its headings instead, and the report says so.

#include "compose/readme_format.h"
#include "model/form.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// Where one section or fact of the ReadMe went.
struct ImportPlacement {
    std::string Heading; // as the ReadMe names it
    std::string Item;    // the item's key, a user item "追加3（名前）", or CatchAllItem
};

inline constexpr std::string_view CatchAllItem = "（行き先なし）";

struct ImportReport {
    ReadMeFormat Format = ReadMeFormat::Text;        // what the ReadMe was read as
    ReadMeEncoding Encoding = ReadMeEncoding::Cp932; // what its bytes were
    bool OwnLayout = false; // read by the layout that wrote it: composes back exactly
    std::vector<ImportPlacement> Placements;
    std::vector<std::string> CatchAllLines; // the first lines that went to the catch-all
    std::size_t CatchAllLineCount = 0;      // all of them
    // What a person should look at: sections merged into another, values taken
    // from the title, bytes that were no text.
    std::vector<std::string> Checks;

    // The whole report, a line per placement and per catch-all line, CR LF between lines.
    std::string Text() const;
    // A few lines for a message box: what was read and what needs a look.
    std::string Summary() const;
};

struct ImportResult {
    Form form;
    ImportReport report;
};

// The ReadMe's bytes to a form. `fileName` (".md", ".html", ...) is a hint only:
// the content decides. Throws RuntimeError(ErrorNo::BadFileFormat) for bytes
// that are no text (NUL bytes, mostly control characters).
ImportResult ImportReadMeBytes(std::string_view bytes, std::string_view fileName = {});

// Reads the file whole and imports it.
ImportResult ImportReadMeFile(const std::string& path);

// The largest ReadMe imported; a larger file is refused with a message.
inline constexpr std::size_t MaxImportSize = std::size_t{64} << 20;

} // namespace kelvaro

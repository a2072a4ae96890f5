#pragma once

// Pieces of the reader by headings, internal to src/import: the table of the
// names ReadMes give their items, the characters and lines of the text, and
// what each line is (a heading, a fact, a separator).

#include "compose/markdown_text.h"
#include "import/import_internal.h"
#include "model/catalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro::by_headings {

// The items a name stands for: the single-line item when the value stands on
// the heading's line, the long text when lines stand under it.
struct Meaning {
    const CatalogueItem* Single = nullptr;
    const CatalogueItem* Long = nullptr;
};

// What a name stands for, after folding; also with "について", "の方法" and the
// like left off, and for a compound ("注意・免責", "Overview / 概要") the first
// of its parts that means something.
std::optional<Meaning> MeaningOf(std::string_view name);

// ---- characters and lines

bool IsBlankAt(std::string_view s, std::size_t i, std::size_t& length);
std::string_view TrimBlanks(std::string_view s);
std::size_t CodePoints(std::string_view s);
// A line drawn of one or two characters repeated: ━━━, ＝＝＝, -----, *****, _/_/_/.
bool IsSeparatorLine(std::string_view line);

struct SourceLine {
    std::string_view Text;
    int Level = 0; // a heading of the markup (HTML h1-h6), 1..6; FooterLevel in a footer
};

// An HTML page's <address> or <footer>: the page's own end, no section's text.
inline constexpr int FooterLevel = -1;

struct OwnedLine {
    std::string Text;
    int Level = 0;
};

// The HTML page as lines of text: tags gone, <BR> and block ends as line ends,
// h1-h6 as headings, <HR> as a separator, table cells parted by tabs.
std::vector<OwnedLine> HtmlLines(std::string_view html, std::string& title);

// The lines of a ReadMe, found one after the other in the text itself (split at
// CR LF, LF or CR), or an HTML page's lines. Nothing is copied and nothing is
// kept per line, so a file of millions of short lines costs no more than its text.
class DocumentLines {
public:
    explicit DocumentLines(std::string_view text) : text_(text) {}
    explicit DocumentLines(std::vector<OwnedLine> lines) : owned_(std::move(lines)), html_(true) {}

    // The line at `at` (0 for the first); `at` moves on to the next one. False
    // after the last line (the empty piece after a final line end is none).
    bool Next(std::size_t& at, SourceLine& line) const;

    template <typename Fn> void ForEach(Fn fn) const {
        std::size_t at = 0;
        SourceLine line;
        while (Next(at, line)) {
            fn(line);
        }
    }

private:
    std::string_view text_;
    std::vector<OwnedLine> owned_;
    bool html_ = false;
};

// A window of three lines going through a document: the line before, the
// current one and the one after, which is all a heading's reader looks at.
class LineWindow {
public:
    explicit LineWindow(const DocumentLines& lines);
    // Moves to the next line; false after the last.
    bool Advance();
    std::size_t Index() const { return index_; }
    // Whether line i is one of the three and exists.
    bool Has(std::size_t i) const;
    const SourceLine& At(std::size_t i) const;

private:
    const DocumentLines& lines_;
    std::size_t at_ = 0;
    std::size_t index_ = static_cast<std::size_t>(-1);
    SourceLine prev_;
    SourceLine cur_;
    SourceLine next_;
    bool hasPrev_ = false;
    bool hasCur_ = false;
    bool hasNext_ = false;
};

// ---- what a line is

struct Heading {
    std::string Name;
    std::string Value;  // on the heading's line
    bool Title = false; // a first-level heading, or ＜＜…＞＞: may name the software
    std::string Shape;  // the heading's kind and depth marker: deeper shapes nest
};

bool Take(std::string_view& s, std::string_view prefix);
// "name：value", "name: value", "name<TAB>value", with the name short enough to be one.
bool SplitFact(std::string_view line, std::string& name, std::string& value);
bool BracketedHeading(std::string_view line, Heading& h);
bool MarkedHeading(std::string_view line, Heading& h);
bool NumberedHeading(std::string_view line, Heading& h);

// A numbered line: its style ("." for "1.", "(" for "(1)", "第章" for "第2章") and number.
struct Numbered {
    std::string Style;
    int Number = 0;
    std::string_view Rest; // what follows the number
};
bool NumberedLine(std::string_view line, Numbered& n);
bool BareHeading(std::string_view line, Heading& h);
bool AtxHeading(std::string_view line, Heading& h);
// "- name: value", "* name：value", "| name | value |": the fact, or false.
bool ListOrTableFact(std::string_view line, std::string& name, std::string& value);
bool IsTableRule(std::string_view line);
// "ソフト名 Ver 1.2 取扱説明書": the name and the version alone.
bool SplitTitle(std::string_view title, std::string& name, std::string& version);
// The line without the box, stars or marks drawn around it.
std::string_view WithoutBanner(std::string_view line);
// "名前 ……… 値", "名前　　値" with a known name.
bool LeaderFact(std::string_view line, std::string& name, std::string& value);
// "tool.zip (845KB)": the archive and its size with its unit ("845KB").
bool SplitArchive(std::string_view value, std::string& archive, std::string& size);
// A date on the line, and what stands beside it.
bool FindDate(std::string_view line, std::string& date, std::string& rest);

// ---- what the whole file says

// The line's leading blanks, half- or full-width or tabs.
std::string IndentOf(std::string_view raw);
// A numbered line's style together with whether it is indented.
std::string NumberStyleKey(std::string_view raw, const Numbered& n);
// The styles at least two known sections of the file are numbered in.
std::vector<std::string> SectionNumberStyles(const DocumentLines& lines);
// "―― 見出し ――": the decoration's shape and the name it holds; empty when none.
std::string DecorationOf(std::string_view raw, std::string& name);
// The decorations that stand around a known name and at least one other line.
std::vector<std::string> RepeatedHeadingShapes(const DocumentLines& lines);

// Tells the headings among the lines of one file.
class HeadingFinder {
public:
    HeadingFinder(const DocumentLines& lines, const LineWindow& window, bool markdown);
    // Whether line i is a heading; `lastNumber` is the number of the last
    // numbered section, so that only the next number starts one.
    bool HeadingAt(std::size_t i, int lastNumber, Heading& h) const;

private:
    bool ShapedHeadingAt(std::size_t i, Heading& h) const;
    bool SetHeadingAt(std::string_view raw, int lastNumber, Heading& h) const;

    const LineWindow& lines_;
    bool markdown_;
    std::vector<std::string> numberStyles_;   // the numbering the sections share
    std::vector<std::string> repeatedShapes_; // decorations the headings repeat
};

// ---- the text of a section

// The section's text (lines parted by CR LF) without the indentation all of its
// lines share.
void DropCommonIndent(std::string& text);
// The text (lines parted by CR LF) without the blank lines at either end.
std::string WithoutBlankEnds(std::string text);
// The text parted at its CR LFs.
std::vector<std::string> SplitAll(const std::string& text);
// "[名前](https://...)" as a value: the name.
std::string WithoutLink(const std::string& value);
// "2.0.0", "ver.1.1.0 2013/03/02": a heading that names a release.
bool NamesARelease(std::string_view name);

} // namespace kelvaro::by_headings

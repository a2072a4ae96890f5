// GitHub Flavored Markdown for a README.md, in UTF-8 with LF line ends, that a
// code-hosting site renders the way the text ReadMe reads: the software's name
// as the first heading, each run of single-line items as one table, each long
// text under a second-level heading with every line break kept, a thematic
// break for a separator, the credit line as a paragraph.
//
// Every name and value is shown as typed. A character Markdown or HTML would
// read as markup is escaped with a backslash wherever it stands (\ ` * _ [ ]
// < > & | ~ # : $), and so is the character that would make a line start a
// list, a heading or a setext underline (- + = and the dot of "1."). Leading
// blanks become &nbsp; so that they show and never make a code block; a
// full-width space is no blank to Markdown and stays as it is. The escaped ':'
// and the dot of "www." keep addresses in values from becoming links: links
// are made only from the home page and the mail address. (A bare e-mail
// address inside another value is still made a link by GFM's autolink
// extension, which no escape inside the text prevents; its text stays as typed.)

#include "compose/layout_lines.h"
#include "compose/readme_layout_internal.h"
#include "platform/text.h"

namespace kelvaro {
namespace {

using layout_lines::markdown::NonBreakingSpace;
namespace markdown = layout_lines::markdown;

bool IsAlwaysEscaped(char c) {
    switch (c) {
    case '\\':
    case '`':
    case '*':
    case '_':
    case '[':
    case ']':
    case '<':
    case '>':
    case '&':
    case '|':
    case '~':
    case '#':
    case ':':
    case '$':
        return true;
    default:
        return false;
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsW(char c) {
    return c == 'w' || c == 'W';
}

// Text inside a line: the markup characters escaped, and the dot of "www." so
// that no www-link starts there. Runs without either are copied whole.
void AppendInline(std::string& out, std::string_view text) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsAlwaysEscaped(c) ||
            (c == '.' && i >= 3 && IsW(text[i - 1]) && IsW(text[i - 2]) && IsW(text[i - 3]))) {
            out.append(text, run, i - run);
            out += '\\';
            run = i;
        }
    }
    out.append(text, run, text.size() - run);
}

// One line as the first thing on a Markdown line: leading blanks kept as
// &nbsp; (a tab as four), then nothing that could open a block. Trailing
// blanks, which no reader sees, are left off: before the backslash of a hard
// line break they would stay in the page as stray spaces.
void AppendLine(std::string& out, std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    std::size_t i = 0;
    for (; i < line.size() && (line[i] == ' ' || line[i] == '\t'); ++i) {
        for (int n = line[i] == '\t' ? 4 : 1; n > 0; --n) {
            out += NonBreakingSpace;
        }
    }
    std::string_view rest = line.substr(i);
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+' || rest[0] == '=')) {
        // a bullet list item, a thematic break or a setext heading underline
        out += '\\';
        out += rest[0];
        rest.remove_prefix(1);
    } else {
        // an ordered list item: one to nine digits and "." or ")"
        std::size_t digits = 0;
        while (digits < rest.size() && digits < 9 && IsDigit(rest[digits])) {
            ++digits;
        }
        if (digits > 0 && digits < rest.size() && (rest[digits] == '.' || rest[digits] == ')')) {
            out += rest.substr(0, digits);
            out += '\\';
            out += rest[digits];
            rest.remove_prefix(digits + 1);
        }
    }
    AppendInline(out, rest);
}

// A text that has to stay on one Markdown line (a table cell, a heading): its
// line breaks become spaces.
void AppendOneLine(std::string& out, std::string_view text) {
    bool first = true;
    ForEachLineEndedByAnyBreak(text, [&](std::string_view line) {
        if (!first) {
            out += ' ';
        }
        first ? AppendLine(out, line) : AppendInline(out, line);
        first = false;
    });
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

class MarkdownLayout final : public ReadMeLayout {
public:
    using ReadMeLayout::ReadMeLayout;

    std::size_t MarkupPerEntry() const override { return 48; }
    bool WritesPauseCharacters() const override { return false; }

    void PageHead() override {
        const std::string& name = Values().LineValues[LineSlot::SoftwareName];
        if (name.empty()) {
            return;
        }
        const std::string& version = Values().LineValues[LineSlot::Version];
        Out() += markdown::NameHeading;
        AppendOneLine(Out(), name);
        if (!IsBlankLine(version)) {
            Out() += ' ';
            AppendOneLine(Out(), version);
        }
        Out() += '\n';
    }

    void SingleLine(const TopicName& name, std::string_view value) override {
        OpenRow(name);
        AppendOneLine(Out(), value);
        CloseRow();
    }

    void Link(const TopicName& name, LinkKind kind, std::string_view value) override {
        const std::string address = LinkAddress(kind, value);
        if (address.empty()) {
            SingleLine(name, value);
            return;
        }
        OpenRow(name);
        Out() += '[';
        AppendOneLine(Out(), value);
        Out() += "](";
        // Renderers decode entities in a link's destination even after a
        // backslash, so an "&" goes in as the entity of itself: the address
        // followed is then exactly the one checked.
        for (char c : address) {
            if (c == '&') {
                Out() += "&amp;";
                continue;
            }
            if (c == '(' || c == ')') {
                Out() += '\\';
            }
            Out() += c;
        }
        Out() += ')';
        CloseRow();
    }

    // Lines next to each other stay one paragraph, each ending in a hard line
    // break (a backslash at its end); blank lines part paragraphs.
    void LongText(const TopicName& name, std::string_view text) override {
        StartBlock();
        Out() += markdown::TextHeading;
        AppendOneLine(Out(), name.Plain);
        Out() += '\n';
        bool inParagraph = false;
        ForEachLineEndedByAnyBreak(text, [&](std::string_view line) {
            if (IsBlankLine(line)) {
                if (inParagraph) {
                    Out() += '\n';
                    inParagraph = false;
                }
                return;
            }
            Out() += inParagraph ? "\\\n" : "\n";
            AppendLine(Out(), line);
            inParagraph = true;
        });
        if (inParagraph) {
            Out() += '\n';
        }
    }

    // Markdown from a README.md goes back as it came, so that it renders as it
    // did there. A code fence it leaves open is closed: it would swallow every
    // entry after it.
    void MarkdownText(const TopicName& name, std::string_view text) override {
        StartBlock();
        Out() += markdown::TextHeading;
        AppendOneLine(Out(), name.Plain);
        Out() += '\n';
        std::string_view fence;
        bool blank = true;
        ForEachLineEndedByAnyBreak(text, [&](std::string_view line) {
            if (blank && IsBlankLine(line)) {
                return; // no blank lines at its start: the heading's blank line is there
            }
            if (blank) {
                Out() += '\n';
                blank = false;
            }
            Out() += line;
            Out() += '\n';
            FenceLine(line, fence);
        });
        if (!fence.empty()) {
            Out() += fence;
            Out() += '\n';
        }
    }

    // Not "---": at the very start of a file that would open front matter.
    void Separator(std::string_view /*pauseLine*/) override {
        StartBlock();
        Out() += markdown::Rule;
        Out() += '\n';
    }

    void CreditLine(std::string_view text) override {
        StartBlock();
        AppendLine(Out(), text);
        Out() += '\n';
    }

    // The composed ReadMe has no line end after its last line.
    void PageEnd() override {
        if (!Out().empty() && Out().back() == '\n') {
            Out().pop_back();
        }
    }

private:
    // Every block is parted from the one before by a blank line; a table ends
    // where another block starts.
    void StartBlock() {
        inTable_ = false;
        if (!Out().empty()) {
            Out() += '\n';
        }
    }

    void OpenRow(const TopicName& name) {
        if (!inTable_) {
            StartBlock();
            Out() += markdown::TableHead;
            Out() += '\n';
            Out() += markdown::TableRule;
            Out() += '\n';
            inTable_ = true;
        }
        Out() += markdown::RowOpen;
        AppendOneLine(Out(), name.Plain);
        Out() += markdown::CellBetween;
    }

    void CloseRow() {
        Out() += markdown::RowClose;
        Out() += '\n';
    }

    bool inTable_ = false;
};

} // namespace

std::unique_ptr<ReadMeLayout> MakeMarkdownLayout(const Form& form, std::string& out) {
    return std::make_unique<MarkdownLayout>(form, out);
}

} // namespace kelvaro

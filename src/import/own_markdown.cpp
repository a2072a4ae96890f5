// Reads back the README.md the program writes: the head, the table of
// single-line items, the long texts under their headings and the credit.

#include "compose/compose_readme.h"
#include "compose/layout_lines.h"
#include "compose/page_style.h"
#include "import/own_layout_parts.h"
#include "model/catalogue.h"
#include "platform/text.h"

namespace kelvaro {
namespace {

using namespace own_layout;
namespace markdown = layout_lines::markdown;

// The text a Markdown line shows: leading &nbsp; as blanks, backslash escapes
// as the characters they stand for.
std::string UnescapeMarkdown(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    while (line.starts_with(markdown::NonBreakingSpace)) {
        out += ' ';
        line.remove_prefix(6);
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        out += line[i];
    }
    return out;
}

// Splits "| a | b |" at the unescaped " | ".
bool SplitRow(std::string_view row, std::string_view& name, std::string_view& value) {
    if (!Take(row, "| ") || !row.ends_with(" |")) {
        return false;
    }
    row.remove_suffix(2);
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] == '\\') {
            ++i;
        } else if (row.compare(i, 3, " | ") == 0) {
            name = row.substr(0, i);
            value = row.substr(i + 3);
            return true;
        }
    }
    return false;
}

// "[text](address)": the text, still escaped.
std::string_view LinkText(std::string_view value) {
    if (!value.starts_with('[') || !value.ends_with(')')) {
        return value;
    }
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == '\\') {
            ++i;
        } else if (value[i] == ']') {
            return value.compare(i, 2, "](") == 0 ? value.substr(1, i - 1) : value;
        }
    }
    return value;
}

class MarkdownReader {
public:
    explicit MarkdownReader(std::string_view text) : credit_(CreditText()) {
        for (std::size_t at = 0;;) {
            const std::size_t end = text.find('\n', at);
            if (end == std::string_view::npos) {
                lines_.push_back(text.substr(at));
                break;
            }
            lines_.push_back(text.substr(at, end - at));
            at = end + 1;
        }
    }

    std::optional<ImportResult> Read() {
        std::size_t i = 0;
        std::optional<std::string_view> head;
        if (lines_[0].starts_with(markdown::NameHeading)) {
            head = lines_[0].substr(2);
            i = 1;
        } else if (lines_.size() == 1 && lines_[0].empty()) {
            i = 1; // an empty ReadMe
        }
        bool first = !head;
        while (i < lines_.size()) {
            if (!first) {
                if (!lines_[i].empty()) {
                    return std::nullopt;
                }
                ++i;
            }
            first = false;
            if (i >= lines_.size() || !Block(i)) {
                return std::nullopt;
            }
        }
        if (head && !Head(*head)) {
            return std::nullopt;
        }
        out_.report().Format = ReadMeFormat::Markdown;
        return out_.Finish();
    }

private:
    bool StartsBlock(std::size_t i) const {
        const std::string_view line = lines_[i];
        return line.starts_with(markdown::TextHeading) || line == markdown::TableHead ||
               line == markdown::Rule || line == credit_;
    }

    bool Block(std::size_t& i) {
        const std::string_view line = lines_[i];
        if (line == markdown::Rule) {
            out_.AddSeparator();
            ++i;
            return true;
        }
        if (line == credit_) {
            out_.AddCredit();
            ++i;
            return true;
        }
        if (line == markdown::TableHead) {
            if (i + 1 >= lines_.size() || lines_[i + 1] != markdown::TableRule) {
                return false;
            }
            i += 2;
            bool any = false;
            while (i < lines_.size() && lines_[i].starts_with("| ")) {
                std::string_view name;
                std::string_view value;
                if (!SplitRow(lines_[i], name, value)) {
                    return false;
                }
                const std::string plain = UnescapeMarkdown(name);
                const CatalogueItem* item = FixedSingleNamed(plain, true);
                if (IsLinkItem(item)) {
                    value = LinkText(value);
                }
                if (!AddSingle(out_, plain, UnescapeMarkdown(value), true)) {
                    return false;
                }
                ++i;
                any = true;
            }
            return any;
        }
        if (line.starts_with(markdown::TextHeading)) {
            const std::string name = UnescapeMarkdown(line.substr(markdown::TextHeading.size()));
            ++i;
            std::string text;
            bool inParagraph = false;
            while (i < lines_.size()) {
                const std::string_view l = lines_[i];
                if (l.empty()) {
                    if (i + 1 >= lines_.size() || StartsBlock(i + 1)) {
                        break;
                    }
                    if (!text.empty()) {
                        text += "\r\n\r\n";
                    }
                    inParagraph = false;
                    ++i;
                    continue;
                }
                if (i == 0 || (!inParagraph && !lines_[i - 1].empty())) {
                    return false;
                }
                std::string_view content = l;
                const bool continues = i + 1 < lines_.size() && !lines_[i + 1].empty();
                if (continues) {
                    if (!content.ends_with('\\')) {
                        return false;
                    }
                    content.remove_suffix(1);
                }
                if (inParagraph) {
                    text += "\r\n";
                }
                text += UnescapeMarkdown(content);
                inParagraph = true;
                ++i;
            }
            return AddLong(out_, name, std::move(text));
        }
        return false;
    }

    // The page's first heading is the software's name and its version: read
    // so that composing the form again writes the same heading.
    bool Head(std::string_view head) {
        Form& form = out_.form();
        const std::string wanted = "# " + std::string(head);
        const auto writes = [&](const std::string& name, const std::string& version) {
            Form probe;
            probe.LineValues[LineSlot::SoftwareName] = name;
            probe.LineValues[LineSlot::Version] = version;
            return ComposeReadMe(probe, ReadMeFormat::Markdown) == wanted;
        };
        std::string& name = form.LineValues[LineSlot::SoftwareName];
        std::string& version = form.LineValues[LineSlot::Version];
        if (writes(name, version)) {
            return true;
        }
        for (std::size_t space = head.size(); space-- > 0;) {
            if (head[space] != ' ' || (space > 0 && head[space - 1] == '\\')) {
                continue;
            }
            const std::string left = UnescapeMarkdown(head.substr(0, space));
            const std::string right = UnescapeMarkdown(head.substr(space + 1));
            if ((out_.HoldsSoftwareName() && left != name) ||
                (out_.Holds(*LookupItem("バージョン")) && right != version)) {
                continue;
            }
            if (writes(left, right)) {
                name = left;
                version = right;
                return true;
            }
        }
        if (!out_.HoldsSoftwareName() && writes(UnescapeMarkdown(head), "")) {
            name = UnescapeMarkdown(head);
            version.clear();
            return true;
        }
        return false;
    }

    std::vector<std::string_view> lines_;
    std::string credit_;
    ImportedForm out_;
};

} // namespace

std::optional<ImportResult> ReadOwnMarkdown(std::string_view text) {
    // The layout parts its blocks by one blank line and folds a long text's
    // blank lines into one: two blank lines in a row are someone else's file,
    // told at once without a line list the size of the file.
    if (text.find("\n\n\n") != std::string_view::npos) {
        return std::nullopt;
    }
    return MarkdownReader(text).Read();
}

} // namespace kelvaro

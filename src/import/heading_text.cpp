// The characters and lines of a ReadMe: blanks, separator lines, entities,
// and an HTML page made lines of text.

#include "import/heading_parts.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace kelvaro::by_headings {

bool IsBlankAt(std::string_view s, std::size_t i, std::size_t& length) {
    if (s[i] == ' ' || s[i] == '\t') {
        length = 1;
        return true;
    }
    if (s.compare(i, 3, "　") == 0) {
        length = 3;
        return true;
    }
    return false;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t length = 0;
    while (!s.empty() && IsBlankAt(s, 0, length)) {
        s.remove_prefix(length);
    }
    while (!s.empty()) {
        if (s.back() == ' ' || s.back() == '\t' || s.back() == '\r') {
            s.remove_suffix(1);
        } else if (s.ends_with("　")) {
            s.remove_suffix(3);
        } else {
            break;
        }
    }
    return s;
}

std::size_t CodePoints(std::string_view s) {
    std::size_t n = 0;
    for (char c : s) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

// A line drawn of one or two characters repeated: ━━━, ＝＝＝, -----, *****, _/_/_/.
bool IsSeparatorLine(std::string_view line) {
    line = TrimBlanks(line);
    static constexpr std::u32string_view drawn = U"━─＝=-*＊_/~～―‐═・+＋－┄┅※┏┓┗┛┌┐└┘╔╗╚╝";
    std::size_t count = 0;
    std::array<char32_t, 3> seen{};
    std::size_t kinds = 0;
    for (std::size_t i = 0; i < line.size();) {
        const char32_t cp = ReadUtf8At(line, i);
        if (cp == ' ') {
            continue;
        }
        if (drawn.find(cp) == std::u32string_view::npos) {
            return false;
        }
        if (std::find(seen.begin(), seen.begin() + kinds, cp) == seen.begin() + kinds) {
            if (kinds == seen.size()) {
                return false;
            }
            seen[kinds++] = cp;
        }
        ++count;
    }
    return count >= 3;
}

bool DocumentLines::Next(std::size_t& at, SourceLine& line) const {
    if (html_) {
        if (at >= owned_.size()) {
            return false;
        }
        line = SourceLine{owned_[at].Text, owned_[at].Level};
        ++at;
        return true;
    }
    if (at >= text_.size()) {
        return false;
    }
    const std::size_t end = text_.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
        line = SourceLine{text_.substr(at), 0};
        at = text_.size();
        return true;
    }
    line = SourceLine{text_.substr(at, end - at), 0};
    at = end + (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1);
    return true;
}

LineWindow::LineWindow(const DocumentLines& lines) : lines_(lines) {
    hasNext_ = lines_.Next(at_, next_);
}

bool LineWindow::Advance() {
    prev_ = cur_;
    hasPrev_ = hasCur_;
    cur_ = next_;
    hasCur_ = hasNext_;
    hasNext_ = hasCur_ && lines_.Next(at_, next_);
    ++index_;
    return hasCur_;
}

bool LineWindow::Has(std::size_t i) const {
    return (i == index_ && hasCur_) || (i == index_ + 1 && hasNext_) ||
           (i + 1 == index_ && hasPrev_);
}

const SourceLine& LineWindow::At(std::size_t i) const {
    return i == index_ ? cur_ : i == index_ + 1 ? next_ : prev_;
}

namespace {

// Where `needle` (lower case) first stands in `text` from `from` on, whatever
// the case of its letters; the text's size when nowhere.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    for (std::size_t at = text.find('<', from); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (text.size() - at < needle.size()) {
            break;
        }
        std::size_t k = 0;
        while (k < needle.size() && AsciiLower(text[at + k]) == needle[k]) {
            ++k;
        }
        if (k == needle.size()) {
            return at;
        }
    }
    return text.size();
}

bool IsBlockTag(std::string_view tag) {
    static constexpr std::array<std::string_view, 26> blocks{
        "p",     "div",  "li",   "tr",      "ul",   "ol",      "table",   "pre",    "blockquote",
        "dt",    "dd",   "dl",   "center",  "body", "section", "article", "header", "footer",
        "title", "html", "head", "address", "main", "nav",     "form",    "caption"};
    return std::find(blocks.begin(), blocks.end(), tag) != blocks.end();
}

} // namespace

// The HTML page as lines of text: tags gone, <BR> and block ends as line ends,
// h1-h6 as headings, <HR> as a separator, table cells parted by tabs.
std::vector<OwnedLine> HtmlLines(std::string_view html, std::string& title) {
    std::vector<OwnedLine> lines;
    std::string current;
    int level = 0;
    bool pre = false;
    std::vector<int> lists; // per open list: the last item's number, -1 in <ul>
    const auto endLine = [&] {
        std::string_view t = TrimBlanks(current);
        if (!t.empty() || level != 0) {
            lines.push_back(OwnedLine{DecodeEntities(t, false), level});
        }
        current.clear();
    };
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                const std::size_t end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const std::size_t close = html.find('>', i);
            if (close == std::string_view::npos) {
                current += html.substr(i);
                break;
            }
            std::string_view tag = html.substr(i + 1, close - i - 1);
            const bool closing = tag.starts_with('/');
            if (closing) {
                tag.remove_prefix(1);
            }
            std::size_t nameEnd = 0;
            while (nameEnd < tag.size() && std::isalnum(static_cast<unsigned char>(tag[nameEnd]))) {
                ++nameEnd;
            }
            const std::string name = AsciiLowered(tag.substr(0, nameEnd));
            i = close + 1;
            if (!closing && name == "title") {
                const std::size_t end = html.find("</", i);
                title = DecodeEntities(
                    TrimBlanks(html.substr(i, end == std::string_view::npos ? 0 : end - i)), false);
            }
            if (!closing && (name == "script" || name == "style" || name == "head")) {
                const std::size_t end = FindNoCase(html, "</" + name, i);
                i = end;
                continue;
            }
            if (name == "br") {
                endLine();
            } else if (name == "hr") {
                endLine();
                lines.push_back(OwnedLine{"----------"});
            } else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
                endLine();
                level = closing ? 0 : name[1] - '0';
            } else if (name == "td" || name == "th") {
                if (closing) {
                    current += '\t';
                }
            } else if (IsBlockTag(name)) {
                endLine();
                if (name == "pre") {
                    pre = !closing;
                } else if (name == "address" || name == "footer") {
                    level = closing ? 0 : FooterLevel;
                } else if ((name == "ol" || name == "ul") && !closing) {
                    lists.push_back(name == "ol" ? 0 : -1);
                } else if ((name == "ol" || name == "ul") && !lists.empty()) {
                    lists.pop_back();
                } else if (name == "li" && !closing && !lists.empty() && lists.back() >= 0) {
                    // A numbered list keeps its numbers as the page shows them.
                    current = std::to_string(++lists.back()) + ". ";
                }
            }
            continue;
        }
        if (!pre && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (!current.empty() && current.back() != ' ') {
                current += ' ';
            }
            ++i;
            continue;
        }
        if (pre && (c == '\r' || c == '\n')) {
            endLine();
            i += (c == '\r' && i + 1 < html.size() && html[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        current += c;
        ++i;
    }
    endLine();
    // Tabs between table cells: the last one ends the row.
    for (OwnedLine& line : lines) {
        while (!line.Text.empty() && (line.Text.back() == '\t' || line.Text.back() == ' ')) {
            line.Text.pop_back();
        }
    }
    return lines;
}

} // namespace kelvaro::by_headings

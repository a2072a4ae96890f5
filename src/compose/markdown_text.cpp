// Markdown shown as plain text, for the ReadMes that are no Markdown: what a
// reader of ReadMe.txt needs of a README.md is its words and addresses, not
// its marks. The block shape (lines, indentation, list markers) is already
// plain text and stays as typed; the inline marks go.

#include "compose/markdown_text.h"

#include "compose/layout_lines.h"
#include "platform/text.h"

#include <cctype>
#include <unordered_map>

namespace kelvaro {
namespace {

bool IsPunct(char c) {
    return std::ispunct(static_cast<unsigned char>(c)) != 0;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::size_t RunOf(std::string_view s, std::size_t i, char c) {
    std::size_t n = 0;
    while (i + n < s.size() && s[i + n] == c) {
        ++n;
    }
    return n;
}

// Where the bracket that closes the one at `open` stands, escapes and nesting
// counted; npos when it is not closed.
std::size_t Closing(std::string_view s, std::size_t open, char in, char out) {
    int depth = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == in) {
            ++depth;
        } else if (s[i] == out && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

void AppendInline(std::string& out, std::string_view s);

// "[text](address)" at `i` as "text (address)"; false when it is no link.
bool AppendLink(std::string& out, std::string_view s, std::size_t& i) {
    const std::size_t close = Closing(s, i, '[', ']');
    if (close == std::string_view::npos || close + 1 >= s.size() || s[close + 1] != '(') {
        return false;
    }
    const std::size_t end = Closing(s, close + 1, '(', ')');
    if (end == std::string_view::npos) {
        return false;
    }
    std::string_view address = Trim(s.substr(close + 2, end - close - 2));
    address = address.substr(0, address.find_first_of(" \t")); // a title after it
    if (address.size() >= 2 && address.front() == '<' && address.back() == '>') {
        address = address.substr(1, address.size() - 2);
    }
    std::string text;
    AppendInline(text, s.substr(i + 1, close - i - 1));
    out += text;
    if (!address.empty() && address != text) {
        out += text.empty() ? "" : " ";
        out += '(';
        out += address;
        out += ')';
    }
    i = end + 1;
    return true;
}

// A code span's text without its backticks; false when the run is not closed.
bool AppendCode(std::string& out, std::string_view s, std::size_t& i) {
    const std::size_t n = RunOf(s, i, '`');
    for (std::size_t j = s.find('`', i + n); j != std::string_view::npos;) {
        const std::size_t m = RunOf(s, j, '`');
        if (m == n) {
            std::string_view code = s.substr(i + n, j - i - n);
            if (code.size() >= 2 && code.front() == ' ' && code.back() == ' ') {
                code = code.substr(1, code.size() - 2);
            }
            out += code;
            i = j + m;
            return true;
        }
        j = s.find('`', j + m);
    }
    return false;
}

// "<https://…>" or "<name@host>" as the address alone.
bool AppendAutolink(std::string& out, std::string_view s, std::size_t& i) {
    const std::size_t end = s.find('>', i);
    if (end == std::string_view::npos) {
        return false;
    }
    const std::string_view inner = s.substr(i + 1, end - i - 1);
    const bool link = inner.starts_with("http://") || inner.starts_with("https://") ||
                      (inner.find('@') != std::string_view::npos);
    if (!link || inner.find_first_of(" \t<") != std::string_view::npos) {
        return false;
    }
    out += inner;
    i = end + 1;
    return true;
}

// A run of '*' or "~~" that touches a word on either side marks emphasis or
// strikethrough; one with blanks on both sides is an ordinary character.
bool IsMarkRun(std::string_view s, std::size_t i, std::size_t n) {
    const char c = s[i];
    if (!((c == '*' && n <= 3) || (c == '~' && n == 2))) {
        return false;
    }
    const bool blankBefore = i == 0 || IsBlank(s[i - 1]);
    const bool blankAfter = i + n >= s.size() || IsBlank(s[i + n]);
    return !(blankBefore && blankAfter);
}

// A character reference at `i` as its character; false when it is none.
bool AppendEntity(std::string& out, std::string_view s, std::size_t& i) {
    const std::size_t semi = s.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
        return false;
    }
    const std::string_view reference = s.substr(i, semi - i + 1);
    const std::string decoded = DecodeEntities(reference, false);
    if (decoded == reference) {
        return false;
    }
    out += decoded;
    i = semi + 1;
    return true;
}

void AppendInline(std::string& out, std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size() && IsPunct(s[i + 1])) {
            out += s[i + 1];
            i += 2;
        } else if (std::size_t image = i + 1;
                   c == '!' && image < s.size() && s[image] == '[' && AppendLink(out, s, image)) {
            i = image;
        } else if ((c == '`' && AppendCode(out, s, i)) || (c == '[' && AppendLink(out, s, i)) ||
                   (c == '<' && AppendAutolink(out, s, i)) ||
                   (c == '&' && AppendEntity(out, s, i))) {
            continue;
        } else if (c == '*' || c == '~' || c == '`') {
            const std::size_t n = RunOf(s, i, c);
            if (c == '`' || !IsMarkRun(s, i, n)) {
                out.append(s, i, n);
            }
            i += n;
        } else {
            out += c;
            ++i;
        }
    }
}

// The marks that open a line and are plain text already: a list item's marker
// and a quote's '>'. Heading marks are left off.
std::size_t LineOpening(std::string& out, std::string_view line) {
    const std::size_t hashes = RunOf(line, 0, '#');
    if (hashes >= 1 && hashes <= 6 && (hashes == line.size() || IsBlank(line[hashes]))) {
        return hashes == line.size() ? hashes : hashes + 1;
    }
    std::size_t n = 0;
    while (n < line.size() && n < 9 && std::isdigit(static_cast<unsigned char>(line[n])) != 0) {
        ++n;
    }
    const bool ordered = n > 0 && n < line.size() && (line[n] == '.' || line[n] == ')');
    const bool bullet =
        !line.empty() && (line[0] == '-' || line[0] == '*' || line[0] == '+' || line[0] == '>');
    if ((ordered || bullet) && (ordered ? n + 1 : 1) < line.size() &&
        IsBlank(line[ordered ? n + 1 : 1])) {
        const std::size_t marker = (ordered ? n + 1 : 1) + 1;
        out.append(line, 0, marker);
        return marker;
    }
    return 0;
}

} // namespace

std::string DecodeEntities(std::string_view text, bool backslashes) {
    static const std::unordered_map<std::string_view, std::string_view> named{
        {"amp", "&"},    {"lt", "<"},     {"gt", ">"},    {"quot", "\""}, {"apos", "'"},
        {"nbsp", " "},   {"copy", "©"},   {"reg", "®"},   {"yen", "¥"},   {"times", "×"},
        {"hellip", "…"}, {"mdash", "—"},  {"ndash", "–"}, {"laquo", "«"}, {"raquo", "»"},
        {"trade", "™"},  {"middot", "·"}, {"ensp", " "},  {"emsp", " "},  {"colon", ":"}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (backslashes && c == '\\' && i + 1 < text.size() &&
            std::ispunct(static_cast<unsigned char>(text[i + 1]))) {
            out += text[++i];
            continue;
        }
        if (c == '&') {
            const std::size_t semi = text.find(';', i);
            if (semi != std::string_view::npos && semi - i <= 10) {
                const std::string_view name = text.substr(i + 1, semi - i - 1);
                if (name.size() > 1 && name[0] == '#') {
                    char32_t cp = 0;
                    bool ok = true;
                    const bool hex = name[1] == 'x' || name[1] == 'X';
                    for (std::size_t k = hex ? 2 : 1; k < name.size() && ok; ++k) {
                        const auto d = static_cast<unsigned char>(name[k]);
                        ok = hex ? std::isxdigit(d) != 0 : std::isdigit(d) != 0;
                        cp = cp * (hex ? 16 : 10) +
                             static_cast<char32_t>(std::isdigit(d) ? d - '0'
                                                                   : (d | 0x20) - 'a' + 10);
                        ok = ok && cp <= 0x10FFFF;
                    }
                    if (ok && name.size() > (hex ? 2u : 1u)) {
                        AppendUtf8(out, cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) ? 0xFFFD : cp);
                        i = semi;
                        continue;
                    }
                } else if (const auto found = named.find(name); found != named.end()) {
                    out += found->second;
                    i = semi;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

std::optional<std::string_view> MarkdownBody(std::string_view text) {
    if (!text.starts_with(layout_lines::MarkdownMarker)) {
        return std::nullopt;
    }
    text.remove_prefix(layout_lines::MarkdownMarker.size());
    if (text.starts_with("\r\n")) {
        text.remove_prefix(2);
    } else if (text.starts_with('\n') || text.starts_with('\r')) {
        text.remove_prefix(1);
    } else if (!text.empty()) {
        return std::nullopt; // the marker with more on its line is a line of text
    }
    return text;
}

bool FenceLine(std::string_view line, std::string_view& fence) {
    std::size_t indent = 0;
    while (indent < line.size() && indent < 4 && line[indent] == ' ') {
        ++indent;
    }
    if (indent == 4 || indent >= line.size() || (line[indent] != '`' && line[indent] != '~')) {
        return false;
    }
    const std::size_t n = RunOf(line, indent, line[indent]);
    const std::string_view run = line.substr(indent, n);
    if (n < 3) {
        return false;
    }
    if (fence.empty()) {
        fence = run;
        return true;
    }
    // Only a run as long as the opening one, of its character, closes it.
    if (run[0] == fence[0] && n >= fence.size() && Trim(line.substr(indent + n)).empty()) {
        fence = {};
        return true;
    }
    return false;
}

std::string MarkdownAsPlainText(std::string_view markdown) {
    std::string out;
    out.reserve(markdown.size());
    std::string_view fence;
    bool first = true;
    ForEachLineEndedByAnyBreak(markdown, [&](std::string_view line) {
        if (FenceLine(line, fence)) {
            return;
        }
        if (!first) {
            out += "\r\n";
        }
        first = false;
        if (!fence.empty()) {
            out += line; // code shows as it stands
            return;
        }
        if (line.ends_with('\\') && RunOf(line, line.find_last_not_of('\\') + 1, '\\') % 2 == 1) {
            line.remove_suffix(1); // a hard line break: the line end itself
        }
        std::size_t indent = 0;
        while (indent < line.size() && IsBlank(line[indent])) {
            ++indent;
        }
        out.append(line, 0, indent);
        line.remove_prefix(indent);
        line.remove_prefix(LineOpening(out, line));
        AppendInline(out, line);
    });
    return out;
}

} // namespace kelvaro

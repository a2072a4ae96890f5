#include "compose/page_style.h"
#include "platform/text.h"

#include <array>
#include <cstdio>
#include <vector>

namespace kelvaro {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The characters a value outside a string may hold: enough for colours
// (#FF0000, rgb(0, 0, 255)), lengths (12px, 1.5em, 100%), keywords, lists of
// them and !important, and nothing that could end a declaration, a rule or the
// style element, open a comment or a string, or escape a character.
bool IsPlainValueCharacter(char c) {
    if (IsLetter(c) || IsDigit(c)) {
        return true;
    }
    switch (c) {
    case '#':
    case '.':
    case ',':
    case '%':
    case '+':
    case '-':
    case '(':
    case ')':
    case '/':
    case '!':
    case ' ':
    case '\t':
        return true;
    default:
        return false;
    }
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// Splits at `separator` outside quotes. An unclosed quote runs to the end.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    char quote = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            }
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The text inside one pair of matching quotes around it, or the text itself.
std::string_view Unquoted(std::string_view text) {
    if (text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// A property name as CSS has them: letters, digits and hyphens, starting with
// a letter or a hyphen. Returned in lower case; "" when it is none.
std::string PropertyName(std::string_view text) {
    text = Trimmed(text);
    if (text.empty() || !(IsLetter(text.front()) || text.front() == '-')) {
        return {};
    }
    std::string name;
    for (char c : text) {
        if (!(IsLetter(c) || IsDigit(c) || c == '-')) {
            return {};
        }
        name += AsciiLower(c);
    }
    return name;
}

// A value outside strings: every quoted part is unquoted (the settings quote
// colours and lengths), and the result has to be made of plain characters only.
std::string PlainValue(std::string_view text) {
    std::string value;
    for (std::string_view part : SplitOutsideQuotes(Trimmed(text), ' ')) {
        part = Unquoted(part);
        if (part.empty()) {
            continue;
        }
        if (!value.empty()) {
            value += ' ';
        }
        value += part;
    }
    for (char c : value) {
        if (!IsPlainValueCharacter(c)) {
            return {};
        }
    }
    return std::string(Trimmed(value));
}

bool IsGenericFamily(std::string_view family) {
    constexpr std::array<std::string_view, 9> generic{"serif",    "sans-serif",    "monospace",
                                                      "cursive",  "fantasy",       "system-ui",
                                                      "ui-serif", "ui-sans-serif", "ui-monospace"};
    for (std::string_view g : generic) {
        if (family == g) {
            return true;
        }
    }
    return false;
}

// Every family as a quoted string, the generic keywords as keywords.
std::string FontFamilies(std::string_view text) {
    std::string families;
    for (std::string_view part : SplitOutsideQuotes(text, ',')) {
        part = Trimmed(part);
        const bool quoted = Unquoted(part).size() != part.size();
        const std::string_view family = Trimmed(Unquoted(part));
        if (family.empty()) {
            continue;
        }
        if (!families.empty()) {
            families += ',';
        }
        families += !quoted && IsGenericFamily(family) ? std::string(family) : CssString(family);
    }
    return families;
}

// The value in lower case without blanks: what old browsers matched their
// script-running values against ("expression (" is "expression(" to them).
std::string Folded(std::string_view value) {
    std::string folded;
    for (char c : value) {
        if (!IsBlank(c)) {
            folded += AsciiLower(c);
        }
    }
    return folded;
}

// An address that a browser fetches from elsewhere: one with a scheme
// ("http:", "data:"; a drive letter such as "C:" is no scheme worth the name)
// or one that starts at a host ("//host/", "\\host\").
bool IsRemoteAddress(std::string_view address) {
    if (address.starts_with("//") || address.starts_with("\\\\")) {
        return true;
    }
    std::size_t i = 0;
    while (i < address.size() &&
           (IsLetter(address[i]) || (i > 0 && (IsDigit(address[i]) || address[i] == '+' ||
                                               address[i] == '-' || address[i] == '.')))) {
        ++i;
    }
    return i >= 2 && i < address.size() && address[i] == ':';
}

// Properties and values that make a page run code or tell a third party that
// it was opened: IE's behaviours and expressions, Mozilla's XBL bindings, and
// anything fetched from another host.
bool RunsOrFetchesRemotely(const std::string& property, std::string_view value) {
    if (property == "behavior" || property == "-ms-behavior" || property == "-moz-binding") {
        return true;
    }
    const std::string folded = Folded(value);
    if (folded.find("expression(") != std::string::npos) {
        return true;
    }
    for (std::size_t at = folded.find("url("); at != std::string::npos;
         at = folded.find("url(", at + 1)) {
        if (IsRemoteAddress(std::string_view(folded).substr(at + 4))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string CssString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\' || c == '<' || byte < 0x20 || byte == 0x7F) {
            // A hex escape ends at the space after it, which CSS drops.
            std::array<char, 8> escape{};
            std::snprintf(escape.data(), escape.size(), "\\%x ", byte);
            out += escape.data();
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string CssDeclarations(std::string_view setting) {
    std::string declarations;
    for (std::string_view declaration : SplitOutsideQuotes(setting, ';')) {
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string property = PropertyName(declaration.substr(0, colon));
        const std::string_view rawValue = declaration.substr(colon + 1);
        const std::string value =
            property == "font-family" ? FontFamilies(rawValue) : PlainValue(rawValue);
        if (property.empty() || value.empty() || RunsOrFetchesRemotely(property, value)) {
            continue;
        }
        if (!declarations.empty()) {
            declarations += ';';
        }
        declarations += property;
        declarations += ':';
        declarations += value;
    }
    return declarations;
}

std::string CssBackgroundColour(std::string_view colour) {
    const std::string value = PlainValue(colour);
    return value.empty() ? std::string() : "background-color:" + value;
}

std::string CssBackgroundImage(std::string_view path) {
    const std::string_view file = Trimmed(Unquoted(Trimmed(path)));
    if (file.empty() || IsRemoteAddress(file)) {
        return {};
    }
    return "background-image:url(" + CssString(file) + ")";
}

} // namespace kelvaro

// Reads back the HTML5 page the program writes: its head with the style
// settings, then the entries of its body.

#include "compose/compose_readme.h"
#include "compose/page_style.h"
#include "import/own_layout_parts.h"
#include "model/catalogue.h"
#include "platform/text.h"

namespace kelvaro {
namespace {

using namespace own_layout;

// A CSS string literal's text, as CssString wrote it.
std::optional<std::string> CssStringText(std::string_view literal, std::size_t& length) {
    if (!literal.starts_with('"')) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < literal.size(); ++i) {
        const char c = literal[i];
        if (c == '"') {
            length = i + 1;
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        ++i;
        std::size_t digits = 0;
        char32_t cp = 0;
        while (i + digits < literal.size() && digits < 6 &&
               std::isxdigit(static_cast<unsigned char>(literal[i + digits]))) {
            const char d = literal[i + digits];
            cp = cp * 16 + static_cast<char32_t>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
            ++digits;
        }
        if (digits == 0) {
            if (i < literal.size()) {
                text += literal[i];
            }
            continue;
        }
        AppendUtf8(text, cp);
        i += digits;
        if (i < literal.size() && literal[i] == ' ') {
            continue;
        }
        --i;
    }
    return std::nullopt;
}

class Html5Reader {
public:
    explicit Html5Reader(std::string_view text) : text_(text) {}

    std::optional<ImportResult> Read() {
        std::vector<std::string_view> lines;
        for (std::size_t at = 0;;) {
            const std::size_t end = text_.find('\n', at);
            if (end == std::string_view::npos) {
                lines.push_back(text_.substr(at));
                break;
            }
            lines.push_back(text_.substr(at, end - at));
            at = end + 1;
        }
        std::size_t i = 0;
        const auto expect = [&](std::string_view wanted) {
            return i < lines.size() && lines[i++] == wanted;
        };
        if (!expect("<!DOCTYPE html>") || !expect("<html lang=\"ja\">") || !expect("<head>") ||
            !expect("<meta charset=\"utf-8\">") ||
            !expect("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">") ||
            i >= lines.size() || !lines[i++].starts_with("<meta name=\"generator\"")) {
            return std::nullopt;
        }
        const std::optional<std::string> title =
            i < lines.size() ? Between(lines[i++], "<title>", "</title>") : std::nullopt;
        if (!title || !expect("<style>") || !expect(".line,.text{white-space:pre-wrap}") ||
            !expect(".text{margin-bottom:1em}") || !expect(".credit{margin:0}")) {
            return std::nullopt;
        }
        ImportedForm blank;
        Form base = blank.form();
        base.HtmlBackgroundMode = 0;
        base.HtmlSettings[HtmlSetting::BackgroundColour].clear();
        for (auto index :
             {HtmlSetting::BodyStyle, HtmlSetting::LinkStyle, HtmlSetting::VisitedLinkStyle,
              HtmlSetting::HoverLinkStyle, HtmlSetting::ActiveLinkStyle, HtmlSetting::PauseStyle,
              HtmlSetting::TopicStyle}) {
            base.HtmlSettings[index].clear();
        }
        static constexpr std::pair<std::string_view, HtmlSetting::Index> rules[] = {
            {"a:link{", HtmlSetting::LinkStyle},
            {"a:visited{", HtmlSetting::VisitedLinkStyle},
            {"a:hover{", HtmlSetting::HoverLinkStyle},
            {"a:active{", HtmlSetting::ActiveLinkStyle},
            {".pause{", HtmlSetting::PauseStyle},
            {".topic{", HtmlSetting::TopicStyle}};
        std::size_t next = 0;
        if (i < lines.size() && lines[i].starts_with("body{")) {
            auto body = Between(lines[i++], "body{", "}");
            if (!body || !ReadBody(*body, base)) {
                return std::nullopt;
            }
        }
        while (i < lines.size() && lines[i] != "</style>") {
            bool known = false;
            for (; next < std::size(rules) && !known; ++next) {
                if (auto value = Between(lines[i], rules[next].first, "}")) {
                    if (!ComposesAsWritten(*value)) {
                        return std::nullopt;
                    }
                    base.HtmlSettings[rules[next].second] = *value;
                    known = true;
                }
            }
            if (!known) {
                return std::nullopt;
            }
            ++i;
        }
        if (!expect("</style>") || !expect("</head>") || !expect("<body>")) {
            return std::nullopt;
        }
        if (lines.size() < i + 2 || lines.back() != "</html>" ||
            lines[lines.size() - 2] != "</body>") {
            return std::nullopt;
        }
        std::vector<Topic> topics;
        const std::size_t last = lines.size() - 2;
        const std::string credit = CreditText();
        while (i < last) {
            std::string_view line = lines[i++];
            Topic t;
            if (line == "<hr class=\"pause\">") {
                t.Separator = t.Rule = true;
            } else if (auto pause = Between(line, "<div class=\"line pause\">", "</div>")) {
                t.Separator = true;
                t.Value = UnescapeHtml5(*pause);
            } else if (auto said = Between(line, "<p class=\"credit\">", "</p>")) {
                if (UnescapeHtml5(*said) != credit) {
                    return std::nullopt;
                }
                t.Credit = true;
            } else if (Take(line, "<div class=\"line\">")) {
                if (Take(line, "<span class=\"topic\">")) {
                    const std::size_t close = line.find("</span>");
                    if (close == std::string_view::npos) {
                        return std::nullopt;
                    }
                    t.Raw = UnescapeHtml5(line.substr(0, close));
                    line.remove_prefix(close + 7);
                }
                if (line == "</div>") {
                    // The long text runs to the first "</div>": its '<' are escaped.
                    if (i >= last || !lines[i].starts_with("<div class=\"text\">")) {
                        return std::nullopt;
                    }
                    std::string text;
                    std::string_view piece = lines[i].substr(18);
                    while (true) {
                        const std::size_t close = piece.find("</div>");
                        if (close != std::string_view::npos) {
                            if (close + 6 != piece.size()) {
                                return std::nullopt;
                            }
                            text += piece.substr(0, close);
                            break;
                        }
                        text += piece;
                        text += '\n';
                        if (++i >= last) {
                            return std::nullopt;
                        }
                        piece = lines[i];
                    }
                    ++i;
                    t.Long = true;
                    t.Value = UnescapeHtml5(text);
                } else if (Take(line, IdeographicSpace) && line.ends_with("</div>")) {
                    line.remove_suffix(6);
                    if (Take(line, "<a href=\"")) {
                        const std::size_t close = line.find("\">");
                        if (close == std::string_view::npos || !line.ends_with("</a>")) {
                            return std::nullopt;
                        }
                        line = line.substr(close + 2, line.size() - close - 6);
                    }
                    t.Value = UnescapeHtml5(line);
                } else {
                    return std::nullopt;
                }
            } else {
                return std::nullopt;
            }
            topics.push_back(std::move(t));
        }
        const std::string name = UnescapeHtml5(*title);
        return FormFromTopics(base, topics, ReadMeFormat::Html5, name == "ReadMe" ? "" : name);
    }

private:
    static bool ReadBody(std::string_view body, Form& form) {
        if (Take(body, "background-color:")) {
            const std::size_t semicolon = body.find(';');
            form.HtmlSettings[HtmlSetting::BackgroundColour] =
                std::string(body.substr(0, semicolon));
            body = semicolon == std::string_view::npos ? std::string_view()
                                                       : body.substr(semicolon + 1);
        } else if (Take(body, "background-image:url(")) {
            std::size_t length = 0;
            auto path = CssStringText(body, length);
            if (!path || body.substr(length, 1) != ")") {
                return false;
            }
            form.HtmlBackgroundMode = 1;
            form.HtmlSettings[HtmlSetting::BackgroundImage] = *path;
            body.remove_prefix(length + 1);
            if (!body.empty() && !Take(body, ";")) {
                return false;
            }
        }
        form.HtmlSettings[HtmlSetting::BodyStyle] = std::string(body);
        return ComposesAsWritten(body);
    }

    // Declarations the page writes as they are: what the page escaped (a quote
    // or a backslash in a font's name) would be escaped once more.
    static bool ComposesAsWritten(std::string_view declarations) {
        return CssDeclarations(declarations) == declarations;
    }

    std::string_view text_;
};

} // namespace

std::optional<ImportResult> ReadOwnHtml5(std::string_view text) {
    return Html5Reader(text).Read();
}

} // namespace kelvaro

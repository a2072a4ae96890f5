// An HTML5 page for today's browsers, in UTF-8 with LF line ends. It reads like
// the text ReadMe: one line per single-line item, each long text under its name
// with its line breaks and leading blanks kept (white-space: pre-wrap), the
// names in the form's brackets and padded as the text ReadMe pads them. Every
// name and value is text on this page (escaped), links are made only from the
// home page and mail address, and the style sheet is the HTML tab's settings
// made valid (compose/page_style.h).

#include "compose/page_style.h"
#include "compose/readme_layout_internal.h"
#include "platform/app_info.h"
#include "platform/text.h"

#include <cstdint>

namespace kelvaro {
namespace {

constexpr std::string_view IdeographicSpace = "　";
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

// Characters an HTML parser reports as errors wherever they stand: controls
// other than tab, line feed and carriage return, and the noncharacters.
bool IsForbiddenInHtml(std::uint32_t c) {
    if (c < 0x20) {
        return c != '\t' && c != '\n' && c != '\r';
    }
    if (c >= 0x7F && c <= 0x9F) {
        return true;
    }
    return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// Text as page content or an attribute value: markup characters escaped, line
// ends as LF (CR LF and a lone CR alike), and what HTML has no place for
// (broken UTF-8, forbidden characters) as U+FFFD.
void AppendEscaped(std::string& out, std::string_view text) {
    std::size_t run = 0; // the start of the bytes that are copied as they are
    std::size_t i = 0;
    const auto replace = [&](std::size_t length, std::string_view with) {
        out.append(text, run, i - run);
        out += with;
        i += length;
        run = i;
    };
    while (i < text.size()) {
        switch (text[i]) {
        case '&':
            replace(1, "&amp;");
            continue;
        case '<':
            replace(1, "&lt;");
            continue;
        case '>':
            replace(1, "&gt;");
            continue;
        case '"':
            replace(1, "&quot;");
            continue;
        case '\r':
            replace(i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1, "\n");
            continue;
        default:
            break;
        }
        const Utf8Char c = DecodeUtf8At(text, i);
        if (c.Form != Utf8Form::Scalar) {
            replace(1, ReplacementCharacter);
        } else if (IsForbiddenInHtml(c.CodePoint)) {
            replace(c.Length, ReplacementCharacter);
        } else {
            i += c.Length;
        }
    }
    out.append(text, run, i - run);
}

class Html5Layout final : public ReadMeLayout {
public:
    using ReadMeLayout::ReadMeLayout;

    std::size_t MarkupPerEntry() const override { return 96; }
    bool WritesPauseCharacters() const override { return !RuleAsHr(); }

    void PageHead() override {
        Out() += "<!DOCTYPE html>\n"
                 "<html lang=\"ja\">\n"
                 "<head>\n"
                 "<meta charset=\"utf-8\">\n"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                 "<meta name=\"generator\" content=\"";
        AppendEscaped(Out(), AppInfoString(AppInfo::ProductAndVersion));
        Out() += "\">\n<title>";
        // A page title may not be empty.
        const std::string& name = Values().LineValues[LineSlot::SoftwareName];
        AppendEscaped(Out(), name.empty() ? std::string_view("ReadMe") : std::string_view(name));
        Out() += "</title>\n<style>\n";
        AppendStyleSheet();
        Out() += "</style>\n</head>\n<body>\n";
    }

    void SingleLine(const TopicName& name, std::string_view value) override {
        OpenLine();
        AppendTopic(name);
        Out() += IdeographicSpace;
        AppendEscaped(Out(), value);
        Out() += "</div>\n";
    }

    void Link(const TopicName& name, LinkKind kind, std::string_view value) override {
        const std::string address = LinkAddress(kind, value);
        if (address.empty()) {
            SingleLine(name, value);
            return;
        }
        OpenLine();
        AppendTopic(name);
        Out() += IdeographicSpace;
        Out() += "<a href=\"";
        AppendEscaped(Out(), address);
        Out() += "\">";
        AppendEscaped(Out(), value);
        Out() += "</a></div>\n";
    }

    void LongText(const TopicName& name, std::string_view text) override {
        OpenLine();
        AppendTopic(name);
        Out() += "</div>\n<div class=\"text\">";
        AppendEscaped(Out(), text);
        Out() += "</div>\n";
    }

    void Separator(std::string_view pauseLine) override {
        if (RuleAsHr()) {
            Out() += "<hr class=\"pause\">\n";
            return;
        }
        Out() += "<div class=\"line pause\">";
        AppendEscaped(Out(), pauseLine);
        Out() += "</div>\n";
    }

    void CreditLine(std::string_view text) override {
        Out() += "<p class=\"credit\">";
        AppendEscaped(Out(), text);
        Out() += "</p>\n";
    }

    void PageEnd() override { Out() += "</body>\n</html>"; }

private:
    bool RuleAsHr() const { return Values().HtmlPauseAsHr == 1; }

    void OpenLine() { Out() += "<div class=\"line\">"; }

    // The name in the form's brackets; an empty one writes no element, which
    // would be an empty span.
    void AppendTopic(const TopicName& name) {
        const Form& f = Values();
        if (f.LeftBracket.empty() && name.Aligned.empty() && f.RightBracket.empty()) {
            return;
        }
        Out() += "<span class=\"topic\">";
        AppendEscaped(Out(), f.LeftBracket);
        AppendEscaped(Out(), name.Aligned);
        AppendEscaped(Out(), f.RightBracket);
        Out() += "</span>";
    }

    void Rule(std::string_view selector, const std::string& declarations) {
        if (declarations.empty()) {
            return;
        }
        Out() += selector;
        Out() += '{';
        Out() += declarations;
        Out() += "}\n";
    }

    // The page's own layout first, then the HTML tab's settings, which may
    // override it. Links in the order that lets each state show: link,
    // visited, hover, active.
    void AppendStyleSheet() {
        const auto& h = Values().HtmlSettings;
        Out() += ".line,.text{white-space:pre-wrap}\n"
                 ".text{margin-bottom:1em}\n"
                 ".credit{margin:0}\n";
        std::string body;
        if (Values().HtmlBackgroundMode == 0) {
            body = CssBackgroundColour(h[HtmlSetting::BackgroundColour]);
        } else if (Values().HtmlBackgroundMode == 1) {
            body = CssBackgroundImage(h[HtmlSetting::BackgroundImage]);
        }
        const std::string bodyStyle = CssDeclarations(h[HtmlSetting::BodyStyle]);
        if (!body.empty() && !bodyStyle.empty()) {
            body += ';';
        }
        body += bodyStyle;
        Rule("body", body);
        Rule("a:link", CssDeclarations(h[HtmlSetting::LinkStyle]));
        Rule("a:visited", CssDeclarations(h[HtmlSetting::VisitedLinkStyle]));
        Rule("a:hover", CssDeclarations(h[HtmlSetting::HoverLinkStyle]));
        Rule("a:active", CssDeclarations(h[HtmlSetting::ActiveLinkStyle]));
        Rule(".pause", CssDeclarations(h[HtmlSetting::PauseStyle]));
        Rule(".topic", CssDeclarations(h[HtmlSetting::TopicStyle]));
    }
};

} // namespace

std::unique_ptr<ReadMeLayout> MakeHtml5Layout(const Form& form, std::string& out) {
    return std::make_unique<Html5Layout>(form, out);
}

} // namespace kelvaro

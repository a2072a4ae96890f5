// The HTML 4.01 Transitional page as the program has always written it: the
// form's HTML settings pasted into the style sheet as typed, every name and
// value pasted into the page as typed (a value may hold markup on purpose),
// <BR> after each line, CR LF line ends.

#include "compose/readme_layout_internal.h"
#include "platform/app_info.h"

namespace kelvaro {
namespace {

constexpr std::string_view CRLF = "\r\n";
constexpr std::string_view IdeographicSpace = "　";
constexpr std::string_view PageStart =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD>\r\n";

class HtmlLayout final : public ReadMeLayout {
public:
    using ReadMeLayout::ReadMeLayout;

    std::size_t MarkupPerEntry() const override { return 128; }
    bool WritesPauseCharacters() const override { return !RuleAsHr(); }

    void PageHead() override {
        const auto& h = Values().HtmlSettings;
        Out() += PageStart;
        HeadLine(Html401CharsetLine("Shift_JIS"));
        HeadLine("<META name=\"Generator\" content=\"", AppInfoString(AppInfo::ProductAndVersion),
                 "\">");
        HeadLine("<STYLE type=\"text/css\"><!--");
        HeadLine("A:link{", h[HtmlSetting::LinkStyle], "}");
        HeadLine("A:active{", h[HtmlSetting::ActiveLinkStyle], "}");
        HeadLine("A:visited{", h[HtmlSetting::VisitedLinkStyle], "}");
        HeadLine("A:hover{", h[HtmlSetting::HoverLinkStyle], "}");
        // A form file may select neither background option: then no declaration.
        std::string background;
        if (Values().HtmlBackgroundMode == 0) {
            background = "background-color:\"" + h[HtmlSetting::BackgroundColour] + "\";";
        } else if (Values().HtmlBackgroundMode == 1) {
            background = "background-image:\"" + h[HtmlSetting::BackgroundImage] + "\";";
        }
        HeadLine("BODY{", background + h[HtmlSetting::BodyStyle], "}");
        HeadLine("FONT.Pause{", h[HtmlSetting::PauseStyle], "}");
        HeadLine("FONT.Topic{", h[HtmlSetting::TopicStyle], "}");
        HeadLine("--></STYLE>");
        HeadLine("<TITLE>", Values().LineValues[LineSlot::SoftwareName], "</TITLE>");
        HeadLine("</HEAD>");
        HeadLine("<BODY>");
    }

    void SingleLine(const TopicName& name, std::string_view value) override {
        AppendTopic(name);
        Out() += IdeographicSpace;
        Out() += value;
        Out() += "<BR>";
        Out() += CRLF;
    }

    void Link(const TopicName& name, LinkKind kind, std::string_view value) override {
        AppendTopic(name);
        Out() += IdeographicSpace;
        Out() += "<A href=\"";
        Out() += kind == LinkKind::Mail ? "mailto:" : "";
        Out() += value;
        Out() += "\">";
        Out() += value;
        Out() += "</A><BR>";
        Out() += CRLF;
    }

    void LongText(const TopicName& name, std::string_view text) override {
        AppendTopic(name);
        Out() += "<BR>";
        Out() += CRLF;
        Out() += text;
        Out() += "<BR><BR>";
        Out() += CRLF;
    }

    void Separator(std::string_view pauseLine) override {
        Out() += "<FONT class=\"Pause\">";
        Out() += RuleAsHr() ? std::string_view("<HR>") : pauseLine;
        Out() += "</FONT>";
        Out() += CRLF;
    }

    void CreditLine(std::string_view text) override { Out() += text; }

    void PageEnd() override {
        Out() += "<BR>";
        Out() += CRLF;
        Out() += "</BODY></HTML>";
    }

private:
    bool RuleAsHr() const { return Values().HtmlPauseAsHr == 1; }

    void HeadLine(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        Out() += a;
        Out() += b;
        Out() += c;
        Out() += CRLF;
    }

    void AppendTopic(const TopicName& name) {
        Out() += "<FONT class=\"Topic\">";
        Out() += Values().LeftBracket;
        Out() += name.Aligned;
        Out() += Values().RightBracket;
        Out() += "</FONT>";
    }
};

} // namespace

std::unique_ptr<ReadMeLayout> MakeHtmlLayout(const Form& form, std::string& out) {
    return std::make_unique<HtmlLayout>(form, out);
}

std::string Html401CharsetLine(std::string_view charset) {
    return "<META http-equiv=\"Content-Type\" content=\"text/html;charset=" + std::string(charset) +
           "\">";
}

std::string_view Html401PageStart() {
    return PageStart;
}

} // namespace kelvaro

// The HTML 4.01 Transitional page as the program has always written it: the
// form's HTML settings pasted into the style sheet as typed, every name and
// value pasted into the page as typed (a value may hold markup on purpose),
// <BR> after each line, CR LF line ends.

#include "compose/layout_lines.h"
#include "compose/readme_layout_internal.h"
#include "platform/app_info.h"

namespace kelvaro {
namespace {

constexpr std::string_view CRLF = "\r\n";
using layout_lines::IdeographicSpace;
namespace html401 = layout_lines::html401;
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
        HeadLine(html401::StyleOpen);
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
        HeadLine(html401::StyleClose);
        HeadLine(html401::TitleOpen, Values().LineValues[LineSlot::SoftwareName],
                 html401::TitleClose);
        HeadLine(html401::HeadClose);
        HeadLine(html401::BodyOpen);
    }

    void SingleLine(const TopicName& name, std::string_view value) override {
        AppendTopic(name);
        Out() += IdeographicSpace;
        Out() += value;
        Out() += html401::LineEnd;
        Out() += CRLF;
    }

    void Link(const TopicName& name, LinkKind kind, std::string_view value) override {
        AppendTopic(name);
        Out() += IdeographicSpace;
        Out() += html401::LinkOpen;
        Out() += kind == LinkKind::Mail ? html401::MailScheme : "";
        Out() += value;
        Out() += html401::LinkMiddle;
        Out() += value;
        Out() += html401::LinkClose;
        Out() += html401::LineEnd;
        Out() += CRLF;
    }

    void LongText(const TopicName& name, std::string_view text) override {
        AppendTopic(name);
        Out() += html401::LineEnd;
        Out() += CRLF;
        Out() += text;
        Out() += html401::TextEnd;
        Out() += CRLF;
    }

    void Separator(std::string_view pauseLine) override {
        Out() += html401::PauseOpen;
        Out() += RuleAsHr() ? html401::Rule : pauseLine;
        Out() += html401::FontClose;
        Out() += CRLF;
    }

    void CreditLine(std::string_view text) override { Out() += text; }

    void PageEnd() override {
        Out() += html401::LineEnd;
        Out() += CRLF;
        Out() += html401::PageEnd;
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
        Out() += html401::TopicOpen;
        Out() += Values().LeftBracket;
        Out() += name.Aligned;
        Out() += Values().RightBracket;
        Out() += html401::FontClose;
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

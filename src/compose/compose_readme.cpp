#include "compose/compose_readme.h"

#include "compose/pause_line.h"
#include "platform/app_info.h"

#include <optional>
#include <string_view>

namespace kelvaro {
namespace {

constexpr std::string_view CRLF = "\r\n";
constexpr std::string_view IdeographicSpace = "　";

// One composition: the output grows at its end, item by item, in the order of
// the item order. Text and HTML differ only in the layouts below.
class Composer {
public:
    Composer(const Form& form, bool isHtml) : form_(form), html_(isHtml) {}

    std::string Run(const UnknownKeyHandler& onUnknownKey) {
        if (html_) {
            AppendPageHead();
        }
        // A count outside 32 bits fails before anything is composed, as it always
        // has; the line itself is built when a separator is written, so a count
        // too large for a line fails only a ReadMe that holds one.
        if (html_ && form_.HtmlPauseAsHr == 1) {
            pauseLine_ = "<HR>";
        } else {
            ReadRepeatCount(form_.PauseCount);
        }
        out_.reserve(EstimatedSize());
        const std::size_t count = form_.Order.size();
        for (std::size_t p = 0; p < count; ++p) {
            const OrderEntry& entry = form_.Order[p];
            if (!entry.Checked) {
                continue;
            }
            const CatalogueItem* item = LookupItem(entry.Key);
            if (item == nullptr) {
                if (onUnknownKey) {
                    onUnknownKey(p + 1, entry.Key);
                }
                continue;
            }
            AppendItem(*item);
        }
        if (html_) {
            out_ += "<BR>";
            out_ += CRLF;
            out_ += "</BODY></HTML>";
        }
        return std::move(out_);
    }

private:
    // Room for the whole ReadMe, so that it is built in one block instead of being
    // copied each time it outgrows the last: every text of the form once, and the
    // names, markup and separator line of each checked entry. A text chosen twice,
    // or a separator line not built yet, makes the estimate short; the string
    // then grows as strings do.
    std::size_t EstimatedSize() const {
        std::size_t size = 1024; // the page head and foot, the credit line
        const auto addAll = [&size](const auto& texts) {
            for (const auto& text : texts) {
                size += text.size();
            }
        };
        addAll(form_.LineValues);
        addAll(form_.ChoiceValues);
        addAll(form_.UserNames);
        addAll(form_.LongTexts);
        if (html_) {
            addAll(form_.HtmlSettings);
        }
        const std::size_t perEntry =
            (html_ ? 128 : 64) + form_.LeftBracket.size() + form_.RightBracket.size();
        for (const OrderEntry& entry : form_.Order) {
            if (entry.Checked) {
                size +=
                    perEntry + (entry.Key == SeparatorKey && pauseLine_ ? pauseLine_->size() : 0);
            }
        }
        return size;
    }

    void AppendItem(const CatalogueItem& item) {
        switch (item.Kind) {
        case ItemKind::SingleLine:
            if (item.Key == "ホームページ") {
                AppendHomePage();
            } else if (item.Key == "メール") {
                AppendMail();
            } else {
                AppendSingleLine(item.OutputName, Line(item.Slot));
            }
            break;
        case ItemKind::SizeWithUnit:
            if (!Skips(Line(item.Slot))) {
                AppendSingleLine(item.OutputName,
                                 Line(item.Slot) + std::string(SizeUnitText(form_.SizeUnit)));
            }
            break;
        case ItemKind::Choice:
            AppendSingleLine(item.OutputName, form_.ChoiceValues[Index(item.Slot)]);
            break;
        case ItemKind::UserSingleLine:
            AppendSingleLine(form_.UserNames[Index(item.UserIndex)], Line(item.Slot));
            break;
        case ItemKind::LongText:
            AppendLongText(item.Key, form_.LongTexts[Index(item.Slot)]);
            break;
        case ItemKind::UserLongText:
            AppendLongText(form_.UserNames[Index(item.UserIndex)],
                           form_.LongTexts[Index(item.Slot)]);
            break;
        case ItemKind::Separator:
            AppendSeparator();
            break;
        case ItemKind::CreditLine:
            out_ += "このReadMeファイルは、「";
            out_ += AppInfoString(AppInfo::ProductName);
            out_ += "」によって作成されました。";
            break;
        }
    }

    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
    const std::string& Line(int slot) const { return form_.LineValues[Index(slot)]; }

    // "空白の項目は記述しない": an empty value writes nothing when the option is on.
    bool Skips(std::string_view value) const { return form_.SkipEmptyItems == 1 && value.empty(); }

    std::string_view Replaced(std::string_view value) const {
        if (form_.ReplaceUserInput == 1 && value == UserInputPlaceholder) {
            return {};
        }
        return value;
    }

    void OpenTopic() {
        if (html_) {
            out_ += "<FONT class=\"Topic\">";
        }
        out_ += form_.LeftBracket;
    }

    void CloseTopic() {
        out_ += form_.RightBracket;
        if (html_) {
            out_ += "</FONT>";
        }
    }

    void AppendSingleLine(std::string_view name, std::string_view rawValue) {
        std::string_view value = Replaced(rawValue);
        if (Skips(value)) {
            return;
        }
        OpenTopic();
        out_ += name;
        CloseTopic();
        out_ += IdeographicSpace;
        out_ += value;
        if (html_) {
            out_ += "<BR>";
        }
        out_ += CRLF;
    }

    void AppendLink(std::string_view name, std::string_view hrefPrefix, const std::string& value) {
        if (Skips(value)) {
            return;
        }
        OpenTopic();
        out_ += name;
        CloseTopic();
        out_ += IdeographicSpace;
        if (html_) {
            out_ += "<A href=\"";
            out_ += hrefPrefix;
            out_ += value;
            out_ += "\">";
            out_ += value;
            out_ += "</A><BR>";
        } else {
            out_ += value;
        }
        out_ += CRLF;
    }

    void AppendHomePage() { AppendLink("ホームページ", "", Line(LineSlot::HomePage)); }
    void AppendMail() { AppendLink("   メール   ", "mailto:", Line(LineSlot::Mail)); }

    void AppendLongText(std::string_view name, const std::string& value) {
        if (Skips(value)) {
            return;
        }
        OpenTopic();
        out_ += name;
        CloseTopic();
        if (html_) {
            out_ += "<BR>";
        }
        out_ += CRLF;
        out_ += value;
        if (html_) {
            out_ += "<BR><BR>";
        } else {
            out_ += CRLF;
        }
        out_ += CRLF;
    }

    const std::string& PauseLine() {
        if (!pauseLine_) {
            pauseLine_ = BuildPauseLine(form_.PauseChars, form_.PauseCount);
        }
        return *pauseLine_;
    }

    void AppendSeparator() {
        if (html_) {
            out_ += "<FONT class=\"Pause\">";
            out_ += PauseLine();
            out_ += "</FONT>";
        } else {
            out_ += PauseLine();
        }
        out_ += CRLF;
    }

    void AppendHeadLine(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        out_ += a;
        out_ += b;
        out_ += c;
        out_ += CRLF;
    }

    void AppendPageHead() {
        const auto& h = form_.HtmlSettings;
        AppendHeadLine("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
        AppendHeadLine("<HTML><HEAD>");
        AppendHeadLine(
            "<META http-equiv=\"Content-Type\" content=\"text/html;charset=Shift_JIS\">");
        AppendHeadLine("<META name=\"Generator\" content=\"",
                       AppInfoString(AppInfo::ProductAndVersion), "\">");
        AppendHeadLine("<STYLE type=\"text/css\"><!--");
        AppendHeadLine("A:link{", h[HtmlSetting::LinkStyle], "}");
        AppendHeadLine("A:active{", h[HtmlSetting::ActiveLinkStyle], "}");
        AppendHeadLine("A:visited{", h[HtmlSetting::VisitedLinkStyle], "}");
        AppendHeadLine("A:hover{", h[HtmlSetting::HoverLinkStyle], "}");
        // A form file may select neither background option: then no declaration.
        std::string background;
        if (form_.HtmlBackgroundMode == 0) {
            background = "background-color:\"" + h[HtmlSetting::BackgroundColour] + "\";";
        } else if (form_.HtmlBackgroundMode == 1) {
            background = "background-image:\"" + h[HtmlSetting::BackgroundImage] + "\";";
        }
        AppendHeadLine("BODY{", background + h[HtmlSetting::BodyStyle], "}");
        AppendHeadLine("FONT.Pause{", h[HtmlSetting::PauseStyle], "}");
        AppendHeadLine("FONT.Topic{", h[HtmlSetting::TopicStyle], "}");
        AppendHeadLine("--></STYLE>");
        AppendHeadLine("<TITLE>", form_.LineValues[LineSlot::SoftwareName], "</TITLE>");
        AppendHeadLine("</HEAD>");
        AppendHeadLine("<BODY>");
    }

    const Form& form_;
    const bool html_;
    std::optional<std::string> pauseLine_; // built when the first separator is written
    std::string out_;
};

} // namespace

std::string ComposeReadMe(const Form& form, bool isHtml, const UnknownKeyHandler& onUnknownKey) {
    return Composer(form, isHtml).Run(onUnknownKey);
}

std::string UnknownKeyMessage(std::size_t position, const std::string& key) {
    return std::to_string(position) + " / " + key;
}

} // namespace kelvaro

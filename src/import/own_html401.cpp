// Reads back the HTML 4.01 page the program writes: its head with the style
// settings, then the topics of its body.

#include "compose/compose_readme.h"
#include "compose/layout_lines.h"
#include "compose/page_style.h"
#include "import/own_layout_parts.h"
#include "model/catalogue.h"
#include "platform/text.h"

namespace kelvaro {
namespace {

using namespace own_layout;

namespace html401 = layout_lines::html401;

class Html401Reader {
public:
    explicit Html401Reader(std::string_view text) : text_(text) {}

    std::optional<ImportResult> Read() {
        std::size_t at = 0;
        if (!Head(at)) {
            return std::nullopt;
        }
        const std::string end =
            std::string(html401::LineEnd) + "\r\n" + std::string(html401::PageEnd);
        if (!text_.ends_with(end) || at > text_.size() - end.size()) {
            return std::nullopt;
        }
        body_ = text_.substr(at, text_.size() - end.size() - at);
        std::vector<Topic> topics;
        std::size_t p = 0;
        while (p < body_.size()) {
            std::optional<Topic> topic = Entry(p);
            if (!topic) {
                return std::nullopt;
            }
            topics.push_back(std::move(*topic));
        }
        return FormFromTopics(base_, topics, ReadMeFormat::Html, title_);
    }

private:
    std::optional<std::string_view> NextLine(std::size_t& at) const {
        const std::size_t end = text_.find("\r\n", at);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = text_.substr(at, end - at);
        at = end + 2;
        return line;
    }

    bool Head(std::size_t& at) {
        ImportedForm blank;
        base_ = blank.form();
        const auto expect = [&](std::string_view wanted) {
            const auto line = NextLine(at);
            return line && *line == wanted;
        };
        const auto setting = [&](std::string_view head, HtmlSetting::Index index) {
            const auto line = NextLine(at);
            std::optional<std::string> value;
            if (line) {
                value = Between(*line, head, "}");
            }
            if (value) {
                base_.HtmlSettings[index] = *value;
            }
            return value.has_value();
        };
        if (!expect("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">") ||
            !expect(html401::HtmlHead)) {
            return false;
        }
        const auto charset = NextLine(at);
        if (!charset || !charset->starts_with("<META http-equiv=\"Content-Type\"")) {
            return false;
        }
        const auto generator = NextLine(at);
        if (!generator || !generator->starts_with("<META name=\"Generator\"") ||
            !expect(html401::StyleOpen) || !setting("A:link{", HtmlSetting::LinkStyle) ||
            !setting("A:active{", HtmlSetting::ActiveLinkStyle) ||
            !setting("A:visited{", HtmlSetting::VisitedLinkStyle) ||
            !setting("A:hover{", HtmlSetting::HoverLinkStyle)) {
            return false;
        }
        const auto bodyLine = NextLine(at);
        std::optional<std::string> body;
        if (bodyLine) {
            body = Between(*bodyLine, "BODY{", "}");
        }
        if (!body || !setting("FONT.Pause{", HtmlSetting::PauseStyle) ||
            !setting("FONT.Topic{", HtmlSetting::TopicStyle) || !expect(html401::StyleClose)) {
            return false;
        }
        ReadBackground(*body);
        const auto title = NextLine(at);
        std::optional<std::string> name;
        if (title) {
            name = Between(*title, html401::TitleOpen, html401::TitleClose);
        }
        if (!name || !expect(html401::HeadClose) || !expect(html401::BodyOpen)) {
            return false;
        }
        title_ = *name;
        return true;
    }

    void ReadBackground(std::string_view body) {
        for (int mode = 0; mode < 2; ++mode) {
            const std::string_view head = mode == 0 ? "background-color:\"" : "background-image:\"";
            if (body.starts_with(head)) {
                const std::size_t close = body.find("\";", head.size());
                if (close != std::string_view::npos) {
                    base_.HtmlBackgroundMode = mode;
                    base_.HtmlSettings[mode == 0 ? HtmlSetting::BackgroundColour
                                                 : HtmlSetting::BackgroundImage] =
                        std::string(body.substr(head.size(), close - head.size()));
                    base_.HtmlSettings[HtmlSetting::BodyStyle] =
                        std::string(body.substr(close + 2));
                    return;
                }
            }
        }
        base_.HtmlBackgroundMode = 2; // neither option chosen: no declaration
        base_.HtmlSettings[HtmlSetting::BodyStyle] = std::string(body);
    }

    bool StartsEntry(std::size_t p) const {
        if (p == body_.size()) {
            return true;
        }
        const std::string_view rest = body_.substr(p);
        return rest.starts_with(html401::TopicOpen) || rest.starts_with(html401::PauseOpen) ||
               rest.starts_with(credit_);
    }

    std::optional<Topic> Entry(std::size_t& p) const {
        std::string_view rest = body_.substr(p);
        Topic topic;
        if (rest.starts_with(credit_)) {
            topic.Credit = true;
            p += credit_.size();
            return topic;
        }
        const std::size_t end = rest.find("\r\n");
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view line = rest.substr(0, end);
        if (Take(line, html401::PauseOpen)) {
            if (!line.ends_with(html401::FontClose)) {
                return std::nullopt;
            }
            line.remove_suffix(html401::FontClose.size());
            topic.Separator = true;
            topic.Rule = line == html401::Rule;
            topic.Value = std::string(line);
            p += end + 2;
            return topic;
        }
        if (!Take(line, html401::TopicOpen)) {
            return std::nullopt;
        }
        const std::size_t close = line.find(html401::FontClose);
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        topic.Raw = std::string(line.substr(0, close));
        line.remove_prefix(close + html401::FontClose.size());
        if (line == html401::LineEnd) {
            topic.Long = true;
            const std::size_t start = p + end + 2;
            const std::string textEnd = std::string(html401::TextEnd) + "\r\n";
            std::size_t stop = body_.find(textEnd, start);
            while (stop != std::string_view::npos && !StartsEntry(stop + textEnd.size())) {
                stop = body_.find(textEnd, stop + 1);
            }
            if (stop == std::string_view::npos) {
                return std::nullopt;
            }
            topic.Value = std::string(body_.substr(start, stop - start));
            p = stop + textEnd.size();
            return topic;
        }
        if (!Take(line, IdeographicSpace) || !line.ends_with(html401::LineEnd)) {
            return std::nullopt;
        }
        line.remove_suffix(html401::LineEnd.size());
        topic.Value = std::string(line);
        p += end + 2;
        return topic;
    }

    std::string_view text_;
    std::string_view body_;
    std::string credit_ = CreditText();
    std::string title_;
    Form base_;
};

} // namespace

std::optional<ImportResult> ReadOwnHtml(std::string_view text) {
    return Html401Reader(text).Read();
}

} // namespace kelvaro

// The readers of the layouts the program writes itself (compose/*_layout.cpp),
// each the inverse of its layout: the entries in the order they were written,
// the brackets, the separator line and the style settings the page shows.
// Each reader refuses (nullopt) a text it cannot read entry for entry; the
// reader by headings then takes it.

#include "compose/compose_readme.h"
#include "compose/page_style.h"
#include "import/import_internal.h"
#include "model/catalogue.h"
#include "model/name_fold.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace kelvaro {
namespace {

constexpr std::string_view IdeographicSpace = "　";

struct Brackets {
    std::string Left;
    std::string Right;
    bool operator<(const Brackets& other) const {
        return std::tie(Left, Right) < std::tie(other.Left, other.Right);
    }
};

bool IsFixedSingle(const CatalogueItem& item) {
    return !item.OutputName.empty();
}

// The fixed single-line item a layout names so: its centred name in the text
// and HTML pages, its key in Markdown.
const CatalogueItem* FixedSingleNamed(std::string_view name, bool byKey) {
    for (const CatalogueItem& item : Catalogue()) {
        if (IsFixedSingle(item) && (byKey ? item.Key : item.OutputName) == name) {
            return &item;
        }
    }
    return nullptr;
}

const CatalogueItem* FixedLongNamed(std::string_view name) {
    const CatalogueItem* item = LookupItem(name);
    return item != nullptr && item->Kind == ItemKind::LongText ? item : nullptr;
}

bool IsLinkItem(const CatalogueItem* item) {
    return item != nullptr && (item->Key == "ホームページ" || item->Key == "メール");
}

// The brackets most entries agree on, from the names found in the topics;
// a few candidates, the likeliest first.
std::vector<Brackets> RankBrackets(const std::map<Brackets, int>& counts) {
    std::vector<std::pair<int, Brackets>> ranked;
    ranked.reserve(counts.size());
    for (const auto& [brackets, count] : counts) {
        ranked.emplace_back(-count, brackets);
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<Brackets> candidates;
    for (const auto& entry : ranked) {
        if (candidates.size() == 3) {
            break;
        }
        candidates.push_back(entry.second);
    }
    // A ReadMe of user items alone: their names keep the brackets.
    candidates.push_back(Brackets{});
    return candidates;
}

// Adds the single-line entry to the form: a fixed item by its name, else a user item.
bool AddSingle(ImportedForm& out, const std::string& name, std::string value, bool byKey) {
    if (const CatalogueItem* item = FixedSingleNamed(name, byKey)) {
        if (out.SetSingle(*item, value, name)) {
            return true;
        }
    }
    return out.SetUserSingle(name, std::move(value), name);
}

bool AddLong(ImportedForm& out, const std::string& name, std::string text) {
    if (const CatalogueItem* item = FixedLongNamed(name)) {
        if (out.SetLong(*item, text, name)) {
            return true;
        }
    }
    return out.SetUserLong(name, std::move(text), name);
}

// The length of the shortest piece that, repeated, makes the whole line.
std::size_t RepeatedUnit(std::string_view line) {
    for (std::size_t unit = 1; unit < line.size(); ++unit) {
        if (line.size() % unit != 0) {
            continue;
        }
        bool repeats = true;
        for (std::size_t i = unit; i < line.size() && repeats; i += unit) {
            repeats = line.compare(i, unit, line.substr(0, unit)) == 0;
        }
        if (repeats) {
            return unit;
        }
    }
    return line.size();
}

// The separator line as characters and count: the shortest piece it repeats.
void SetPauseLine(Form& form, std::string_view line) {
    if (line.empty()) {
        form.PauseCount = "0";
        return;
    }
    const std::size_t unit = RepeatedUnit(line);
    form.PauseChars = std::string(line.substr(0, unit));
    form.PauseCount = std::to_string(line.size() / unit);
}

bool Repeats(std::string_view line) {
    return !line.empty() && RepeatedUnit(line) * 2 <= line.size();
}

// ---- the text ReadMe --------------------------------------------------------

class TextReader {
public:
    TextReader(std::string_view text, Brackets brackets)
        : text_(text), b_(std::move(brackets)), credit_(CreditText()) {
        for (const CatalogueItem& item : Catalogue()) {
            if (IsFixedSingle(item)) {
                singles_.emplace_back(b_.Left + std::string(item.OutputName) + b_.Right +
                                          std::string(IdeographicSpace),
                                      std::string(item.OutputName));
            } else if (item.Kind == ItemKind::LongText) {
                longs_.push_back(b_.Left + std::string(item.Key) + b_.Right);
            }
        }
    }

    std::optional<ImportResult> Read() {
        std::size_t at = 0;
        while (at < text_.size()) {
            if (!ReadEntry(at)) {
                return std::nullopt;
            }
        }
        out_.report().Format = ReadMeFormat::Text;
        return out_.Finish();
    }

private:
    enum class Kind { None, Credit, Separator, Single, FixedLong, UserSingle, UserLong };

    struct Line {
        std::string_view Text;
        std::size_t Next; // after its CR LF; npos without one
    };

    Line LineAt(std::size_t at) const {
        const std::size_t end = text_.find("\r\n", at);
        if (end == std::string_view::npos) {
            return Line{text_.substr(at), std::string_view::npos};
        }
        return Line{text_.substr(at, end - at), end + 2};
    }

    Kind KindAt(std::size_t at, bool learning) const {
        if (text_.compare(at, credit_.size(), credit_) == 0) {
            return Kind::Credit;
        }
        const Line line = LineAt(at);
        if (line.Next == std::string_view::npos) {
            return Kind::None;
        }
        if (pause_ && line.Text == *pause_) {
            return Kind::Separator;
        }
        for (const auto& single : singles_) {
            if (line.Text.starts_with(single.first)) {
                return Kind::Single;
            }
        }
        if (std::find(longs_.begin(), longs_.end(), line.Text) != longs_.end()) {
            return Kind::FixedLong;
        }
        if (!pause_ && Repeats(line.Text)) {
            return Kind::Separator;
        }
        const bool userShaped = line.Text.starts_with(b_.Left) &&
                                line.Text.size() >= b_.Left.size() + b_.Right.size() &&
                                (line.Text.ends_with(b_.Right) ||
                                 line.Text.find(b_.Right + std::string(IdeographicSpace),
                                                b_.Left.size()) != std::string_view::npos);
        if (!pause_ && learning && (!userShaped || line.Text.empty())) {
            return Kind::Separator; // the first line that is no entry's: the separator line
        }
        if (line.Text.starts_with(b_.Left) &&
            line.Text.find(b_.Right + std::string(IdeographicSpace), b_.Left.size()) !=
                std::string_view::npos) {
            return Kind::UserSingle;
        }
        if (line.Text.starts_with(b_.Left) && line.Text.ends_with(b_.Right) &&
            line.Text.size() >= b_.Left.size() + b_.Right.size()) {
            return Kind::UserLong;
        }
        return Kind::None;
    }

    bool StartsEntry(std::size_t at) const {
        return at == text_.size() || KindAt(at, false) != Kind::None;
    }

    // The long text after its name's line: up to the blank line before the next entry.
    std::optional<std::string> LongBody(std::size_t& at) const {
        std::size_t end = text_.find("\r\n\r\n", at);
        while (end != std::string_view::npos && !StartsEntry(end + 4)) {
            end = text_.find("\r\n\r\n", end + 1);
        }
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        std::string body(text_.substr(at, end - at));
        at = end + 4;
        return body;
    }

    bool ReadEntry(std::size_t& at) {
        const Kind kind = KindAt(at, true);
        const Line line = LineAt(at);
        switch (kind) {
        case Kind::None:
            return false;
        case Kind::Credit:
            out_.AddCredit();
            at += credit_.size();
            return true;
        case Kind::Separator:
            if (!pause_) {
                pause_ = std::string(line.Text);
                SetPauseLine(out_.form(), line.Text);
            }
            out_.AddSeparator();
            at = line.Next;
            return true;
        case Kind::Single:
            for (const auto& single : singles_) {
                if (line.Text.starts_with(single.first)) {
                    at = line.Next;
                    return AddSingle(out_, single.second,
                                     std::string(line.Text.substr(single.first.size())), false);
                }
            }
            return false;
        case Kind::UserSingle: {
            const std::size_t right =
                line.Text.find(b_.Right + std::string(IdeographicSpace), b_.Left.size());
            const std::string name(line.Text.substr(b_.Left.size(), right - b_.Left.size()));
            at = line.Next;
            return out_.SetUserSingle(
                name,
                std::string(line.Text.substr(right + b_.Right.size() + IdeographicSpace.size())),
                name);
        }
        case Kind::FixedLong:
        case Kind::UserLong: {
            const std::string name(line.Text.substr(
                b_.Left.size(), line.Text.size() - b_.Left.size() - b_.Right.size()));
            at = line.Next;
            std::optional<std::string> body = LongBody(at);
            if (!body) {
                return false;
            }
            return kind == Kind::FixedLong ? AddLong(out_, name, std::move(*body))
                                           : out_.SetUserLong(name, std::move(*body), name);
        }
        }
        return false;
    }

    std::string_view text_;
    Brackets b_;
    std::string credit_;
    std::vector<std::pair<std::string, std::string>> singles_; // line start, centred name
    std::vector<std::string> longs_;
    std::optional<std::string> pause_;
    ImportedForm out_;
};

// Brackets from the first lines that hold a fixed item's name.
std::vector<Brackets> TextBrackets(std::string_view text) {
    std::map<Brackets, int> counts;
    std::size_t at = 0;
    int found = 0;
    for (int lines = 0; lines < 4000 && found < 16 && at < text.size(); ++lines) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(at, end - at);
        at = end + 2;
        if (line.size() > 1024) {
            continue; // a long text's line, no entry's
        }
        for (const CatalogueItem& item : Catalogue()) {
            if (IsFixedSingle(item)) {
                const std::size_t pos = line.find(item.OutputName);
                const std::size_t gap =
                    pos == std::string_view::npos
                        ? pos
                        : line.find(IdeographicSpace, pos + item.OutputName.size());
                if (gap != std::string_view::npos && pos <= 32 &&
                    gap - pos - item.OutputName.size() <= 32) {
                    const std::size_t after = pos + item.OutputName.size();
                    ++counts[Brackets{std::string(line.substr(0, pos)),
                                      std::string(line.substr(after, gap - after))}];
                    ++found;
                }
            } else if (item.Kind == ItemKind::LongText && line.size() <= item.Key.size() + 64) {
                const std::size_t pos = line.find(item.Key);
                if (pos != std::string_view::npos) {
                    ++counts[Brackets{std::string(line.substr(0, pos)),
                                      std::string(line.substr(pos + item.Key.size()))}];
                    ++found;
                }
            }
        }
    }
    return RankBrackets(counts);
}

// ---- the HTML 4.01 page ------------------------------------------------------

constexpr std::string_view TopicOpen = "<FONT class=\"Topic\">";
constexpr std::string_view PauseOpen = "<FONT class=\"Pause\">";
constexpr std::string_view FontClose = "</FONT>";

bool Take(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

// "<head>X<tail>" on one line: X.
std::optional<std::string> Between(std::string_view line, std::string_view head,
                                   std::string_view tail) {
    if (line.size() < head.size() + tail.size() || !line.starts_with(head) ||
        !line.ends_with(tail)) {
        return std::nullopt;
    }
    return std::string(line.substr(head.size(), line.size() - head.size() - tail.size()));
}

// A topic written by one of the HTML layouts, and the brackets it shows.
struct Topic {
    std::string Raw; // brackets and name as written
    bool Long = false;
    std::string Value; // a single line's value, a long text's text
    bool Separator = false;
    bool Rule = false;
    bool Credit = false;
};

std::string Html401LinkValue(const std::string& value, bool mail);

bool ApplyTopics(ImportedForm& out, const std::vector<Topic>& topics, const Brackets& b,
                 bool html401, bool& ruleSeen, std::optional<std::string>& pause) {
    for (const Topic& t : topics) {
        if (t.Credit) {
            out.AddCredit();
            continue;
        }
        if (t.Separator) {
            if (t.Rule) {
                ruleSeen = true;
            } else if (!pause) {
                pause = t.Value;
            } else if (*pause != t.Value) {
                return false;
            }
            out.AddSeparator();
            continue;
        }
        if (t.Raw.size() < b.Left.size() + b.Right.size() || !t.Raw.starts_with(b.Left) ||
            !t.Raw.ends_with(b.Right)) {
            return false;
        }
        const std::string name =
            t.Raw.substr(b.Left.size(), t.Raw.size() - b.Left.size() - b.Right.size());
        std::string value = t.Value;
        const CatalogueItem* fixed = t.Long ? nullptr : FixedSingleNamed(name, false);
        if (html401 && IsLinkItem(fixed)) {
            value = Html401LinkValue(value, fixed->Key == "メール");
        }
        if (t.Long ? !AddLong(out, name, value) : !AddSingle(out, name, value, false)) {
            return false;
        }
    }
    return !(ruleSeen && pause);
}

std::vector<Brackets> TopicBrackets(const std::vector<Topic>& topics) {
    std::map<Brackets, int> counts;
    for (const Topic& t : topics) {
        if (t.Separator || t.Credit) {
            continue;
        }
        for (const CatalogueItem& item : Catalogue()) {
            const std::string_view name =
                t.Long ? (item.Kind == ItemKind::LongText ? item.Key : std::string_view())
                       : item.OutputName;
            if (name.empty()) {
                continue;
            }
            const std::size_t pos = t.Raw.find(name);
            if (pos != std::string::npos) {
                ++counts[Brackets{t.Raw.substr(0, pos), t.Raw.substr(pos + name.size())}];
            }
        }
    }
    return RankBrackets(counts);
}

// The form the page's topics give under the first bracket pair that reads every
// topic as an item; the page's title names the software when no item does.
std::optional<ImportResult> FormFromTopics(const Form& base, const std::vector<Topic>& topics,
                                           ReadMeFormat format, const std::string& title) {
    for (const Brackets& b : TopicBrackets(topics)) {
        ImportedForm out;
        out.form() = base;
        bool rule = false;
        std::optional<std::string> pause;
        if (!ApplyTopics(out, topics, b, format == ReadMeFormat::Html, rule, pause)) {
            continue;
        }
        if (rule) {
            out.form().HtmlPauseAsHr = 1;
        } else if (pause) {
            out.form().HtmlPauseAsHr = 0;
            SetPauseLine(out.form(), *pause);
        }
        if (!out.HoldsSoftwareName()) {
            out.form().LineValues[LineSlot::SoftwareName] = title;
        }
        out.form().LeftBracket = b.Left;
        out.form().RightBracket = b.Right;
        out.report().Format = format;
        return out.Finish();
    }
    return std::nullopt;
}

// The link the HTML 4.01 page writes for the home page and mail: its value.
std::string Html401LinkValue(const std::string& value, bool mail) {
    const std::string head = std::string("<A href=\"") + (mail ? "mailto:" : "");
    const std::string_view tail = "</A>";
    if (!value.starts_with(head) || !value.ends_with(tail)) {
        return value;
    }
    const std::size_t inner = value.size() - head.size() - tail.size();
    if (inner < 2 || (inner - 2) % 2 != 0) {
        return value;
    }
    const std::size_t length = (inner - 2) / 2;
    const std::string v = value.substr(head.size(), length);
    return value == head + v + "\">" + v + std::string(tail) ? v : value;
}

std::string UnescapeHtml5(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            static constexpr std::pair<std::string_view, char> entities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
            bool done = false;
            for (const auto& [entity, c] : entities) {
                if (text.compare(i, entity.size(), entity) == 0) {
                    out += c;
                    i += entity.size() - 1;
                    done = true;
                    break;
                }
            }
            if (done) {
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

class Html401Reader {
public:
    explicit Html401Reader(std::string_view text) : text_(text) {}

    std::optional<ImportResult> Read() {
        std::size_t at = 0;
        if (!Head(at)) {
            return std::nullopt;
        }
        constexpr std::string_view end = "<BR>\r\n</BODY></HTML>";
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
            !expect("<HTML><HEAD>")) {
            return false;
        }
        const auto charset = NextLine(at);
        if (!charset || !charset->starts_with("<META http-equiv=\"Content-Type\"")) {
            return false;
        }
        const auto generator = NextLine(at);
        if (!generator || !generator->starts_with("<META name=\"Generator\"") ||
            !expect("<STYLE type=\"text/css\"><!--") ||
            !setting("A:link{", HtmlSetting::LinkStyle) ||
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
            !setting("FONT.Topic{", HtmlSetting::TopicStyle) || !expect("--></STYLE>")) {
            return false;
        }
        ReadBackground(*body);
        const auto title = NextLine(at);
        std::optional<std::string> name;
        if (title) {
            name = Between(*title, "<TITLE>", "</TITLE>");
        }
        if (!name || !expect("</HEAD>") || !expect("<BODY>")) {
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
        return rest.starts_with(TopicOpen) || rest.starts_with(PauseOpen) ||
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
        if (Take(line, PauseOpen)) {
            if (!line.ends_with(FontClose)) {
                return std::nullopt;
            }
            line.remove_suffix(FontClose.size());
            topic.Separator = true;
            topic.Rule = line == "<HR>";
            topic.Value = std::string(line);
            p += end + 2;
            return topic;
        }
        if (!Take(line, TopicOpen)) {
            return std::nullopt;
        }
        const std::size_t close = line.find(FontClose);
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        topic.Raw = std::string(line.substr(0, close));
        line.remove_prefix(close + FontClose.size());
        if (line == "<BR>") {
            topic.Long = true;
            const std::size_t start = p + end + 2;
            std::size_t stop = body_.find("<BR><BR>\r\n", start);
            while (stop != std::string_view::npos && !StartsEntry(stop + 10)) {
                stop = body_.find("<BR><BR>\r\n", stop + 1);
            }
            if (stop == std::string_view::npos) {
                return std::nullopt;
            }
            topic.Value = std::string(body_.substr(start, stop - start));
            p = stop + 10;
            return topic;
        }
        if (!Take(line, IdeographicSpace) || !line.ends_with("<BR>")) {
            return std::nullopt;
        }
        line.remove_suffix(4);
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

// ---- the HTML5 page -----------------------------------------------------------

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

// ---- Markdown -------------------------------------------------------------------

// The text a Markdown line shows: leading &nbsp; as blanks, backslash escapes
// as the characters they stand for.
std::string UnescapeMarkdown(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    while (line.starts_with("&nbsp;")) {
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
        if (lines_[0].starts_with("# ")) {
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
        return line.starts_with("## ") || line == "| 項目 | 内容 |" || line == "***" ||
               line == credit_;
    }

    bool Block(std::size_t& i) {
        const std::string_view line = lines_[i];
        if (line == "***") {
            out_.AddSeparator();
            ++i;
            return true;
        }
        if (line == credit_) {
            out_.AddCredit();
            ++i;
            return true;
        }
        if (line == "| 項目 | 内容 |") {
            if (i + 1 >= lines_.size() || lines_[i + 1] != "| --- | --- |") {
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
        if (line.starts_with("## ")) {
            const std::string name = UnescapeMarkdown(line.substr(3));
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

std::optional<ImportResult> ReadOwnText(std::string_view text) {
    for (const Brackets& b : TextBrackets(text)) {
        if (auto result = TextReader(text, b).Read()) {
            result->form.LeftBracket = b.Left;
            result->form.RightBracket = b.Right;
            return result;
        }
    }
    return std::nullopt;
}

std::optional<ImportResult> ReadOwnHtml(std::string_view text) {
    return Html401Reader(text).Read();
}

std::optional<ImportResult> ReadOwnHtml5(std::string_view text) {
    return Html5Reader(text).Read();
}

std::optional<ImportResult> ReadOwnMarkdown(std::string_view text) {
    return MarkdownReader(text).Read();
}

} // namespace kelvaro

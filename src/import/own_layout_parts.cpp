// What the readers of the program's own layouts share: the brackets around the
// names, the entries added to the form, the separator line and the topics the
// two HTML pages are read into.

#include "import/own_layout_parts.h"

#include "compose/layout_lines.h"

#include "model/catalogue.h"

#include <algorithm>
#include <map>

namespace kelvaro::own_layout {

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

namespace {

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

} // namespace

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

namespace {

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

} // namespace

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
    namespace html401 = layout_lines::html401;
    const std::string head =
        std::string(html401::LinkOpen) + std::string(mail ? html401::MailScheme : "");
    const std::string_view tail = html401::LinkClose;
    if (!value.starts_with(head) || !value.ends_with(tail)) {
        return value;
    }
    const std::size_t inner = value.size() - head.size() - tail.size();
    if (inner < 2 || (inner - 2) % 2 != 0) {
        return value;
    }
    const std::size_t length = (inner - 2) / 2;
    const std::string v = value.substr(head.size(), length);
    return value == head + v + std::string(html401::LinkMiddle) + v + std::string(tail) ? v : value;
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

} // namespace kelvaro::own_layout

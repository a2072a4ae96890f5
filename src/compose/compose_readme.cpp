#include "compose/compose_readme.h"

#include "compose/pause_line.h"
#include "compose/readme_layout_internal.h"
#include "compose/references.h"
#include "platform/app_info.h"

#include <optional>
#include <string_view>

namespace kelvaro {
namespace {

std::unique_ptr<ReadMeLayout> MakeLayout(ReadMeFormat format, const Form& form, std::string& out) {
    switch (format) {
    case ReadMeFormat::Text:
        return MakeTextLayout(form, out);
    case ReadMeFormat::Html:
        return MakeHtmlLayout(form, out);
    case ReadMeFormat::Markdown:
        return MakeMarkdownLayout(form, out);
    case ReadMeFormat::Html5:
        return MakeHtml5Layout(form, out);
    }
    return MakeTextLayout(form, out);
}

// One composition: the output grows at its end, item by item, in the order of
// the item order. What each format writes for an entry is its layout's business;
// which entries are written, under which name and with which value is decided
// here, alike for every format.
class Composer {
public:
    Composer(const Form& form, ReadMeFormat format)
        : form_(form), layout_(MakeLayout(format, form, out_)) {}

    std::string Run(const UnknownKeyHandler& onUnknownKey) {
        layout_->PageHead();
        // A count outside 32 bits fails before anything is composed, as it always
        // has; the line itself is built when a separator is written, so a count
        // too large for a line fails only a ReadMe that holds one.
        if (layout_->WritesPauseCharacters()) {
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
        layout_->PageEnd();
        return std::move(out_);
    }

private:
    // The separator characters repeated by the count, built once for the whole
    // ReadMe when its first separator is written; a layout that draws its own
    // rule never has the count read.
    const std::string& SeparatorLine() {
        if (!pauseLine_) {
            pauseLine_ = layout_->WritesPauseCharacters()
                             ? BuildPauseLine(form_.PauseChars, form_.PauseCount)
                             : std::string();
        }
        return *pauseLine_;
    }

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
        addAll(form_.HtmlSettings);
        const std::size_t perEntry =
            layout_->MarkupPerEntry() + form_.LeftBracket.size() + form_.RightBracket.size();
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
                AppendLink(item, LinkKind::HomePage, Line(LineSlot::HomePage));
            } else if (item.Key == "メール") {
                AppendLink(item, LinkKind::Mail, Line(LineSlot::Mail));
            } else {
                AppendSingleLine(FixedName(item), Line(item.Slot));
            }
            break;
        case ItemKind::SizeWithUnit:
            if (!Skips(Line(item.Slot))) {
                AppendSingleLine(FixedName(item),
                                 Line(item.Slot) + std::string(SizeUnitText(form_.SizeUnit)));
            }
            break;
        case ItemKind::Choice:
            AppendSingleLine(FixedName(item), form_.ChoiceValues[Index(item.Slot)]);
            break;
        case ItemKind::UserSingleLine:
            AppendSingleLine(UserName(item), Line(item.Slot));
            break;
        case ItemKind::LongText:
            AppendLongText(TopicName{item.Key, item.Key}, form_.LongTexts[Index(item.Slot)]);
            break;
        case ItemKind::UserLongText:
            AppendLongText(UserName(item), form_.LongTexts[Index(item.Slot)]);
            break;
        case ItemKind::Separator:
            layout_->Separator(SeparatorLine());
            break;
        case ItemKind::CreditLine:
            layout_->CreditLine("このReadMeファイルは、「" + AppInfoString(AppInfo::ProductName) +
                                "」によって作成されました。");
            break;
        }
    }

    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
    const std::string& Line(int slot) const { return form_.LineValues[Index(slot)]; }

    static TopicName FixedName(const CatalogueItem& item) {
        return TopicName{item.Key, item.OutputName};
    }
    TopicName UserName(const CatalogueItem& item) const {
        const std::string& name = form_.UserNames[Index(item.UserIndex)];
        return TopicName{name, name};
    }

    // "空白の項目は記述しない": an empty value writes nothing when the option is on.
    bool Skips(std::string_view value) const { return form_.SkipEmptyItems == 1 && value.empty(); }

    std::string_view Replaced(std::string_view value) const {
        if (form_.ReplaceUserInput == 1 && value == UserInputPlaceholder) {
            return {};
        }
        return value;
    }

    void AppendSingleLine(const TopicName& name, std::string_view rawValue) {
        std::string_view value = Replaced(rawValue);
        if (Skips(value)) {
            return;
        }
        layout_->SingleLine(name, value);
    }

    // The link items keep their value as typed: the placeholder is not replaced.
    void AppendLink(const CatalogueItem& item, LinkKind kind, std::string_view value) {
        if (Skips(value)) {
            return;
        }
        layout_->Link(FixedName(item), kind, value);
    }

    // References to one-line items are written as their values; a text
    // without one goes to the layout as it is, uncopied.
    void AppendLongText(const TopicName& name, std::string_view text) {
        std::string expanded;
        if (text.find("{{") != std::string_view::npos) {
            expanded = ExpandReferences(form_, text);
            text = expanded;
        }
        const std::optional<std::string_view> markdown = MarkdownBody(text);
        if (Skips(markdown ? *markdown : text)) {
            return;
        }
        if (markdown) {
            layout_->MarkdownText(name, *markdown);
            return;
        }
        layout_->LongText(name, text);
    }

    const Form& form_;
    std::string out_;
    std::unique_ptr<ReadMeLayout> layout_;
    std::optional<std::string> pauseLine_; // built when the first separator is written
};

} // namespace

std::string ComposeReadMe(const Form& form, ReadMeFormat format,
                          const UnknownKeyHandler& onUnknownKey) {
    return Composer(form, format).Run(onUnknownKey);
}

std::string UnknownKeyMessage(std::size_t position, const std::string& key) {
    return std::to_string(position) + " / " + key;
}

} // namespace kelvaro

#include "model/form_texts.h"

#include "model/catalogue.h"
#include "model/form_fields.h"
#include "model/long_text.h"

#include <array>

namespace kelvaro {
namespace {

// The name a user item goes by: the name the user gave it, or its key while
// that is empty.
std::string UserItemName(const Form& form, int userIndex) {
    const std::string& name = form.UserNames[static_cast<std::size_t>(userIndex)];
    return name.empty() ? UserItemKey(userIndex + 1) : name;
}

} // namespace

std::vector<NamedText> NamedFormTexts(const Form& form) {
    std::array<std::string, LineValueCount> lineNames;
    std::array<std::string, ChoiceValueCount> choiceNames;
    for (const CatalogueItem& item : Catalogue()) {
        const auto slot = static_cast<std::size_t>(item.Slot);
        switch (item.Kind) {
        case ItemKind::SingleLine:
        case ItemKind::SizeWithUnit:
            lineNames[slot] = std::string(item.Key);
            break;
        case ItemKind::UserSingleLine:
            lineNames[slot] = UserItemName(form, item.UserIndex);
            break;
        case ItemKind::Choice:
            choiceNames[slot] = std::string(item.Key);
            break;
        case ItemKind::LongText:
        case ItemKind::UserLongText:
        case ItemKind::Separator:
        case ItemKind::CreditLine:
            break;
        }
    }
    std::vector<NamedText> texts;
    texts.reserve(FormFields().size() + form.Order.size());
    ForEachFormText(form, [&](const FormField& field, std::string_view text) {
        switch (field.Kind) {
        case FieldKind::LineValue:
            texts.push_back({lineNames[field.Slot], text});
            break;
        case FieldKind::Choice:
            texts.push_back({choiceNames[field.Slot], text});
            break;
        case FieldKind::UserName:
            texts.push_back({UserItemKey(static_cast<int>(field.Slot) + 1) + "の項目名", text});
            break;
        case FieldKind::LongText: {
            std::string name = LongTextName(form, static_cast<int>(field.Slot));
            if (name.empty()) { // a user item not named yet
                name = LongItemKey(static_cast<int>(field.Slot));
            }
            texts.push_back({std::move(name), text, false});
            break;
        }
        case FieldKind::Order:
            texts.push_back({"項目順序", text});
            break;
        case FieldKind::Text:
        case FieldKind::HtmlSetting:
            texts.push_back({std::string(field.Name), text});
            break;
        case FieldKind::Header:
        case FieldKind::Version:
        case FieldKind::SizeUnit:
        case FieldKind::CheckBox:
        case FieldKind::OptionFlag:
            break;
        }
    });
    return texts;
}

std::string AsSingleLine(std::string_view text) {
    constexpr std::string_view LineSeparator = "\u2028";
    constexpr std::string_view ParagraphSeparator = "\u2029";
    constexpr std::string_view NextLine = "\u0085";
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i);
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            line += ' ';
        } else if (text[i] == '\n') {
            line += ' ';
        } else if (rest.starts_with(LineSeparator) || rest.starts_with(ParagraphSeparator)) {
            line += ' ';
            i += LineSeparator.size() - 1;
        } else if (rest.starts_with(NextLine)) {
            line += ' ';
            i += NextLine.size() - 1;
        } else {
            line += text[i];
        }
    }
    return line;
}

} // namespace kelvaro

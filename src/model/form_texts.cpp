#include "model/form_texts.h"

#include "model/catalogue.h"
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

// The captions of the HTML page's settings, in HtmlSetting order.
constexpr std::array<std::string_view, HtmlSettingCount> kHtmlSettingNames{
    "HTMLの背景色",      "HTMLの背景画像",     "HTMLのLink",
    "HTMLのActive Link", "HTMLのVisited Link", "HTMLのHover Link",
    "HTMLのBODY",        "HTMLの区切り線",     "HTMLの括弧項目",
};

} // namespace

std::vector<NamedText> NamedFormTexts(const Form& form) {
    std::vector<NamedText> texts;
    texts.reserve(LineValueCount + ChoiceValueCount + UserNameCount + LongTextCount +
                  form.Order.size() + 4 + HtmlSettingCount);
    std::array<std::string, LineValueCount> lineNames;
    std::array<std::string, ChoiceValueCount> choiceNames;
    std::array<std::string, LongTextCount> longNames;
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
            longNames[slot] = LongTextName(form, item.Slot);
            if (longNames[slot].empty()) {
                longNames[slot] = std::string(item.Key); // a user item not named yet
            }
            break;
        case ItemKind::Separator:
        case ItemKind::CreditLine:
            break;
        }
    }
    for (std::size_t i = 0; i < LineValueCount; ++i) {
        texts.push_back({lineNames[i], form.LineValues[i]});
    }
    for (std::size_t i = 0; i < ChoiceValueCount; ++i) {
        texts.push_back({choiceNames[i], form.ChoiceValues[i]});
    }
    for (std::size_t i = 0; i < UserNameCount; ++i) {
        texts.push_back({UserItemKey(static_cast<int>(i) + 1) + "の項目名", form.UserNames[i]});
    }
    for (std::size_t k = 0; k < LongTextCount; ++k) {
        texts.push_back({longNames[k], form.LongTexts[k], false});
    }
    for (const OrderEntry& entry : form.Order) {
        texts.push_back({"項目順序", entry.Key});
    }
    texts.push_back({"区切り線の文字", form.PauseChars});
    texts.push_back({"区切り線の回数", form.PauseCount});
    texts.push_back({"括弧（左）", form.LeftBracket});
    texts.push_back({"括弧（右）", form.RightBracket});
    for (std::size_t i = 0; i < HtmlSettingCount; ++i) {
        texts.push_back({std::string(kHtmlSettingNames[i]), form.HtmlSettings[i]});
    }
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

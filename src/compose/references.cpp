#include "compose/references.h"

#include "model/catalogue.h"
#include "model/name_fold.h"

namespace kelvaro {
namespace {

constexpr std::string_view kOpen = "{{";
constexpr std::string_view kClose = "}}";

bool Referable(const CatalogueItem* item) {
    return item != nullptr && item->Slot >= 0 && item->Kind != ItemKind::LongText &&
           item->Kind != ItemKind::UserLongText;
}

// Calls `each(open, end, item, escaped)` for every reference to a one-line or
// choice item in `text`: it spans [open, end), and `escaped` when a backslash
// stands just before it (at open - 1).
template <typename Each> void ForEachReference(std::string_view text, Each&& each) {
    std::size_t done = 0;
    for (std::size_t open = text.find(kOpen); open != std::string_view::npos;
         open = text.find(kOpen, open + 1)) {
        const std::size_t close = text.find(kClose, open + kOpen.size());
        if (close == std::string_view::npos) {
            return;
        }
        const std::string_view key = text.substr(open + kOpen.size(), close - open - kOpen.size());
        // A line break inside is no reference: braces in code samples stay.
        if (key.find_first_of("\r\n") != std::string_view::npos) {
            continue;
        }
        const CatalogueItem* item = FindItemByFoldedKey(key);
        if (!Referable(item)) {
            continue;
        }
        done = close + kClose.size();
        each(open, done, *item, open > 0 && text[open - 1] == '\\');
        open = done - 1; // the search goes on after the reference
    }
}

} // namespace

std::string ReferencedValue(const Form& form, const CatalogueItem& item) {
    const auto slot = static_cast<std::size_t>(item.Slot);
    switch (item.Kind) {
    case ItemKind::SizeWithUnit:
        return form.LineValues[slot] + std::string(SizeUnitText(form.SizeUnit));
    case ItemKind::Choice:
        // As the item's own entry writes it: the placeholder emptied when asked.
        if (form.ReplaceUserInput == 1 && form.ChoiceValues[slot] == UserInputPlaceholder) {
            return {};
        }
        return form.ChoiceValues[slot];
    default:
        return form.LineValues[slot];
    }
}

std::string ExpandReferences(const Form& form, std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    ForEachReference(
        text, [&](std::size_t open, std::size_t end, const CatalogueItem& item, bool escaped) {
            // The backslash goes; the braces stay as written.
            out.append(text.substr(done, open - done - (escaped ? 1 : 0)));
            out.append(escaped ? std::string(text.substr(open, end - open))
                               : ReferencedValue(form, item));
            done = end;
        });
    out.append(text.substr(done));
    return out;
}

std::vector<std::string_view> ReferencedKeys(std::string_view text) {
    std::vector<std::string_view> keys;
    ForEachReference(text, [&](std::size_t, std::size_t, const CatalogueItem& item, bool escaped) {
        if (!escaped) {
            keys.push_back(item.Key);
        }
    });
    return keys;
}

} // namespace kelvaro

#include "compose/references.h"

#include "model/catalogue.h"
#include "model/name_fold.h"

namespace kelvaro {
namespace {

constexpr std::string_view kOpen = "{{";
constexpr std::string_view kClose = "}}";

} // namespace

const std::string* ReferencedValue(const Form& form, std::string_view key, std::string& scratch) {
    const CatalogueItem* item = FindItemByFoldedKey(key);
    if (item == nullptr || item->Slot < 0) {
        return nullptr;
    }
    const auto slot = static_cast<std::size_t>(item->Slot);
    switch (item->Kind) {
    case ItemKind::SingleLine:
    case ItemKind::UserSingleLine:
        return &form.LineValues[slot];
    case ItemKind::SizeWithUnit:
        scratch = form.LineValues[slot] + std::string(SizeUnitText(form.SizeUnit));
        return &scratch;
    case ItemKind::Choice:
        return &form.ChoiceValues[slot];
    case ItemKind::LongText:
    case ItemKind::UserLongText:
    case ItemKind::Separator:
    case ItemKind::CreditLine:
        break;
    }
    return nullptr;
}

std::string ExpandReferences(const Form& form, std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::string scratch;
    std::size_t done = 0;
    for (std::size_t open = text.find(kOpen); open != std::string_view::npos;
         open = text.find(kOpen, open + 1)) {
        const std::size_t close = text.find(kClose, open + kOpen.size());
        if (close == std::string_view::npos) {
            break;
        }
        const std::string_view key = text.substr(open + kOpen.size(), close - open - kOpen.size());
        // A line break inside is no reference: braces in code samples stay.
        if (key.find_first_of("\r\n") != std::string_view::npos) {
            continue;
        }
        const std::string* value = ReferencedValue(form, key, scratch);
        if (value == nullptr) {
            continue;
        }
        const bool escaped = open > done && text[open - 1] == '\\';
        out.append(text.substr(done, open - done - (escaped ? 1 : 0)));
        if (escaped) {
            out.append(text.substr(open, close + kClose.size() - open));
        } else {
            out.append(*value);
        }
        done = close + kClose.size();
        open = done - 1; // the search goes on after the reference
    }
    out.append(text.substr(done));
    return out;
}

} // namespace kelvaro

#pragma once

// What an imported form holds for an item, as the window shows it.

#include "model/catalogue.h"
#include "model/form.h"

#include <string>

namespace kelvaro::test {

// The item's value; a user item is found by its name, and a name that is
// neither a user item's nor the catalogue's holds nothing a test could want.
inline std::string Held(const Form& form, const std::string& name) {
    for (std::size_t u = 0; u < UserNameCount; ++u) {
        if (form.UserNames[u] == name) {
            return u < 2 ? form.LineValues[LineSlot::UserItem1 + u] : form.LongTexts[u + 11];
        }
    }
    const CatalogueItem* item = LookupItem(name);
    if (item == nullptr) {
        return "(no item named " + name + ")";
    }
    const auto slot = static_cast<std::size_t>(item->Slot);
    switch (item->Kind) {
    case ItemKind::Choice:
        return form.ChoiceValues[slot];
    case ItemKind::SizeWithUnit:
        return form.LineValues[slot] + std::string(SizeUnitText(form.SizeUnit));
    case ItemKind::LongText:
        return form.LongTexts[slot];
    default:
        return form.LineValues[slot];
    }
}

} // namespace kelvaro::test

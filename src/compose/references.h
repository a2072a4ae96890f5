#pragma once

// A long text may name a one-line or choice item in double braces,
// "{{バージョン}}", and every ReadMe writes that item's value there, while the
// form keeps the reference: the next release changes one value and every text
// that names it follows. Names are matched as a person types them (FoldName).
// Braces around anything that is no such item stay as written; a backslash
// before them, "\{{バージョン}}", writes a real item's braces themselves.

#include "model/catalogue.h"
#include "model/form.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The value a reference to `item`, a one-line or choice item, writes: its
// value, the archive size with its unit as the ReadMe writes it.
std::string ReferencedValue(const Form& form, const CatalogueItem& item);

// `text` with every reference replaced by its value and every escaped
// reference by its braces. A text without "{{" comes back unchanged.
std::string ExpandReferences(const Form& form, std::string_view text);

// The keys of the items `text` refers to, in order, escaped ones left out.
std::vector<std::string_view> ReferencedKeys(std::string_view text);

} // namespace kelvaro

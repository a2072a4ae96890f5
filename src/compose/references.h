#pragma once

// A long text may name a one-line or choice item in double braces,
// "{{バージョン}}", and every ReadMe writes that item's value there, while the
// form keeps the reference: the next release changes one value and every text
// that names it follows. Names are matched as a person types them (FoldName).
// Braces around anything that is no such item stay as written; a backslash
// before them, "\{{バージョン}}", writes a real item's braces themselves.

#include "model/form.h"

#include <string>
#include <string_view>

namespace kelvaro {

// The value "{{key}}" stands for: a one-line item's value (the archive size
// with its unit, as the ReadMe writes it), a choice item's value, or nothing
// when `key` names no such item.
const std::string* ReferencedValue(const Form& form, std::string_view key, std::string& scratch);

// `text` with every reference replaced by its value and every escaped
// reference by its braces. A text without "{{" comes back unchanged.
std::string ExpandReferences(const Form& form, std::string_view text);

} // namespace kelvaro

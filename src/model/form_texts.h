#pragma once

// The texts of a form by the names the user knows their items by, for checks
// that have to tell the user where a text is that cannot be stored or written
// as it stands, and the rule that keeps single-line values on one line.

#include "model/form.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

struct NamedText {
    std::string Item;      // "作者名", a user item's name, "区切り線の文字", ...
    std::string_view Text; // points into the form it was taken from
    bool SingleLine = true;
};

// Every text a form file holds, in the file's order: single-line values,
// choices, the user items' names, the fifteen long texts, the keys of the item
// order, the separator and bracket settings and the HTML settings.
std::vector<NamedText> NamedFormTexts(const Form& form);

// A value for a single-line field: every line break (CR LF, a lone CR or LF,
// and the Unicode line and paragraph separators) becomes one blank, so text
// pasted or typed into a one-line box stays on one line.
std::string AsSingleLine(std::string_view text);

} // namespace kelvaro

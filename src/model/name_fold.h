#pragma once

// Names as a person types them, made comparable: half- and full-width forms of
// the same letter, digit or katakana count as one, and so do upper and lower
// case ASCII letters; blanks of either width do not count at all. "ｱｰｶｲﾌﾞｻｲｽﾞ",
// "アーカイブ サイズ" and "アーカイブサイズ" fold to one name.

#include "model/catalogue.h"

#include <string>
#include <string_view>

namespace kelvaro {

std::string FoldName(std::string_view name);

// The catalogue item whose key folds to the same name as `key`, or nullptr.
const CatalogueItem* FindItemByFoldedKey(std::string_view key);

} // namespace kelvaro

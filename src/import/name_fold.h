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

// The length of the UTF-8 sequence at `text[i]` and its code point; a byte that
// starts no well-formed sequence counts as one byte of U+FFFD.
std::size_t NextCodePoint(std::string_view text, std::size_t i, char32_t& codePoint);

void AppendUtf8(std::string& out, char32_t cp);

} // namespace kelvaro

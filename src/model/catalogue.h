#pragma once

// The fixed catalogue of ReadMe items. Each item is identified by its ItemKey, a
// Japanese string that is at once the caption of its label, the key stored in
// form files and the key the composers dispatch on. Keys compare byte for byte:
// no trimming, no width or case folding.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kelvaro {

enum class ItemKind {
    SingleLine,
    SizeWithUnit,
    Choice,
    UserSingleLine,
    LongText,
    UserLongText,
    Separator,
    CreditLine,
};

// The control whose font emphasis makes bold.
enum class EmphasisControl {
    None,
    LineLabel,  // TopicsLine(i)
    UserName,   // TopicsAdd(i)
    LongOption, // OptTopics(i)
};

struct CatalogueItem {
    std::string_view Key;
    ItemKind Kind;
    // Slot of the value: LineValues for SingleLine, SizeWithUnit (the size) and
    // UserSingleLine; ChoiceValues for Choice; LongTexts for the long kinds; -1 none.
    int Slot;
    // For the user-defined items, the index into UserNames; otherwise -1.
    int UserIndex;
    EmphasisControl Control;
    int ControlIndex; // index within its control array, -1 for none
    // Index of the item's bold flag (0..32), -1 for the separator and credit line.
    int EmphasisIndex;
    // The name the text and HTML layouts write for fixed-name single-line items,
    // centred in 12 columns; empty for the others.
    std::string_view OutputName;
};

inline constexpr std::size_t CatalogueSize = 35;
inline constexpr std::size_t EmphasisCount = 33;
inline constexpr std::size_t LineValueCount = 11;
inline constexpr std::size_t ChoiceValueCount = 7;
inline constexpr std::size_t UserNameCount = 4;
inline constexpr std::size_t LongTextCount = 15;
inline constexpr std::size_t HtmlSettingCount = 9;
// Items whose name is a label on the single-line page (TopicsLine).
inline constexpr std::size_t LineLabelCount = 16;
// Text, HTML(Text), HTML(Browser).
inline constexpr std::size_t PreviewModeCount = 3;

inline constexpr std::string_view SeparatorKey = "区切り線";
inline constexpr std::string_view CreditKey = "このソフトウェアの情報";
// The placeholder shown until the user fills a choice item in.
inline constexpr std::string_view UserInputPlaceholder = "ユーザー入力可能";

std::span<const CatalogueItem, CatalogueSize> Catalogue();

// The catalogue row of a key, or nullptr for a key outside the catalogue.
const CatalogueItem* LookupItem(std::string_view key);

// "追加" followed by the ASCII digit n, for n = 1..4.
std::string UserItemKey(int n);

// The key whose input control is OptTopics(slot), slot 0..14.
std::string_view LongItemKey(int slot);

// Units of ｱｰｶｲﾌﾞｻｲｽﾞ, indexed by SizeUnit; -1 (no unit) gives "".
std::string_view SizeUnitText(int sizeUnit);

struct DefaultOrderRow {
    std::string_view Key;
    bool Checked;
};
std::span<const DefaultOrderRow, 39> DefaultOrderTable();

// Suggestion lists of the combo boxes, in list order.
std::span<const std::string_view> SizeUnitList();
std::span<const std::string_view> ChoiceSuggestions(int choiceSlot); // 0..6

} // namespace kelvaro

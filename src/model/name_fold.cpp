#include "model/name_fold.h"

#include "platform/text.h"

#include <array>

namespace kelvaro {
namespace {

// U+FF61 .. U+FF9D in full width, one three-byte character each.
constexpr std::string_view kHalfWidthKana =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    "マミムメモヤユヨラリルレロワン";

char32_t KanaAt(std::size_t index) {
    std::size_t at = index * 3;
    return ReadUtf8At(kHalfWidthKana, at);
}

// Katakana that take the voiced mark: カ..ト (every other one), ハ..ホ, ウ.
bool TakesVoicedMark(char32_t kana) {
    if (kana == U'ウ') {
        return true;
    }
    if (kana >= U'カ' && kana <= U'ト') {
        // カガキギ... alternate up to ツ, which is preceded by the small ッ.
        if (kana == U'ッ') {
            return false;
        }
        if (kana >= U'ツ') {
            return (kana - U'ツ') % 2 == 0;
        }
        return (kana - U'カ') % 2 == 0;
    }
    return kana >= U'ハ' && kana <= U'ホ' && (kana - U'ハ') % 3 == 0;
}

} // namespace

std::string FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    char32_t previous = 0; // the last katakana written, for a following voiced mark
    for (std::size_t i = 0; i < name.size();) {
        char32_t cp = ReadUtf8At(name, i);
        if (cp >= 0xFF01 && cp <= 0xFF5E) {
            cp = cp - 0xFF01 + 0x21;
        }
        if (cp == ' ' || cp == '\t' || cp == 0x3000) {
            continue;
        }
        if (cp >= 'A' && cp <= 'Z') {
            cp = cp - 'A' + 'a';
        }
        if (cp >= 0xFF61 && cp <= 0xFF9D) {
            cp = KanaAt(cp - 0xFF61);
        } else if ((cp == 0xFF9E || cp == 0x309B || cp == 0x3099) && TakesVoicedMark(previous)) {
            // Replace the katakana just written by its voiced form.
            folded.resize(folded.size() - 3);
            AppendUtf8(folded, previous == U'ウ' ? U'ヴ' : previous + 1);
            previous = 0;
            continue;
        } else if ((cp == 0xFF9F || cp == 0x309C || cp == 0x309A) && previous >= U'ハ' &&
                   previous <= U'ホ' && (previous - U'ハ') % 3 == 0) {
            folded.resize(folded.size() - 3);
            AppendUtf8(folded, previous + 2);
            previous = 0;
            continue;
        } else if (cp == 0xFF9E) {
            cp = 0x309B;
        } else if (cp == 0xFF9F) {
            cp = 0x309C;
        }
        previous = cp;
        AppendUtf8(folded, cp);
    }
    return folded;
}

const CatalogueItem* FindItemByFoldedKey(std::string_view key) {
    if (const CatalogueItem* exact = LookupItem(key)) {
        return exact;
    }
    const std::string folded = FoldName(key);
    for (const CatalogueItem& item : Catalogue()) {
        if (FoldName(item.Key) == folded) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace kelvaro

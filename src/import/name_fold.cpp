#include "import/name_fold.h"

#include <array>

namespace kelvaro {
namespace {

// U+FF61 .. U+FF9D in full width, one three-byte character each.
constexpr std::string_view kHalfWidthKana =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    "マミムメモヤユヨラリルレロワン";

char32_t KanaAt(std::size_t index) {
    char32_t cp = 0;
    NextCodePoint(kHalfWidthKana, index * 3, cp);
    return cp;
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

std::size_t NextCodePoint(std::string_view text, std::size_t i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        min = 0x10000;
    } else {
        codePoint = 0xFFFD;
        return 1;
    }
    if (i + length > text.size()) {
        codePoint = 0xFFFD;
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            codePoint = 0xFFFD;
            return 1;
        }
        codePoint = (codePoint << 6) | (byte(k) & 0x3Fu);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        codePoint = 0xFFFD;
        return 1;
    }
    return length;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    char32_t previous = 0; // the last katakana written, for a following voiced mark
    for (std::size_t i = 0; i < name.size();) {
        char32_t cp = 0;
        i += NextCodePoint(name, i, cp);
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

#include "model/catalogue.h"

#include <unordered_map>

namespace kelvaro {
namespace {

using K = ItemKind;
using C = EmphasisControl;

constexpr std::array<CatalogueItem, CatalogueSize> kCatalogue{{
    {"作者名", K::SingleLine, 0, -1, C::LineLabel, 0, 0, "   作者名   "},
    {"ソフト名", K::SingleLine, 1, -1, C::LineLabel, 1, 1, "  ソフト名  "},
    {"バージョン", K::SingleLine, 2, -1, C::LineLabel, 2, 2, " バージョン "},
    {"作成日", K::SingleLine, 3, -1, C::LineLabel, 3, 3, "   作成日   "},
    {"アーカイブ名", K::SingleLine, 4, -1, C::LineLabel, 4, 4, "アーカイブ名"},
    {"ｱｰｶｲﾌﾞｻｲｽﾞ", K::SizeWithUnit, 5, -1, C::LineLabel, 5, 5, " ｱｰｶｲﾌﾞｻｲｽﾞ "},
    {"種別", K::Choice, 0, -1, C::LineLabel, 6, 6, "    種別    "},
    {"ｼｪｱｳｪｱ代金", K::SingleLine, 6, -1, C::LineLabel, 7, 7, " ｼｪｱｳｪｱ代金 "},
    {"開発言語", K::Choice, 1, -1, C::LineLabel, 8, 8, "  開発言語  "},
    {"必要ﾗﾝﾀｲﾑ", K::Choice, 2, -1, C::LineLabel, 9, 9, " 必要ﾗﾝﾀｲﾑ  "},
    {"DirectX", K::Choice, 3, -1, C::LineLabel, 10, 10, "  DirectX   "},
    {"動作OS", K::Choice, 4, -1, C::LineLabel, 11, 11, "   動作OS   "},
    {"再配布", K::Choice, 5, -1, C::LineLabel, 12, 12, "   再配布   "},
    {"転載", K::Choice, 6, -1, C::LineLabel, 13, 13, "    転載    "},
    {"ホームページ", K::SingleLine, 7, -1, C::LineLabel, 14, 14, "ホームページ"},
    {"メール", K::SingleLine, 8, -1, C::LineLabel, 15, 15, "   メール   "},
    {"追加1", K::UserSingleLine, 9, 0, C::UserName, 0, 16, ""},
    {"追加2", K::UserSingleLine, 10, 1, C::UserName, 1, 17, ""},
    {"アーカイブ内容", K::LongText, 0, -1, C::LongOption, 0, 18, ""},
    {"送金方法", K::LongText, 1, -1, C::LongOption, 1, 19, ""},
    {"特徴", K::LongText, 2, -1, C::LongOption, 2, 20, ""},
    {"開発環境", K::LongText, 3, -1, C::LongOption, 3, 21, ""},
    {"動作環境(スペック)", K::LongText, 4, -1, C::LongOption, 4, 22, ""},
    {"インストール方法", K::LongText, 5, -1, C::LongOption, 5, 23, ""},
    {"アンインストール方法", K::LongText, 6, -1, C::LongOption, 6, 24, ""},
    {"使用方法", K::LongText, 7, -1, C::LongOption, 7, 25, ""},
    {"著作権", K::LongText, 8, -1, C::LongOption, 8, 26, ""},
    {"再配布・転載", K::LongText, 9, -1, C::LongOption, 9, 27, ""},
    {"免責", K::LongText, 10, -1, C::LongOption, 10, 28, ""},
    {"謝辞", K::LongText, 11, -1, C::LongOption, 11, 29, ""},
    {"開発履歴", K::LongText, 12, -1, C::LongOption, 12, 30, ""},
    {"追加3", K::UserLongText, 13, 2, C::UserName, 2, 31, ""},
    {"追加4", K::UserLongText, 14, 3, C::UserName, 3, 32, ""},
    {"区切り線", K::Separator, -1, -1, C::None, -1, -1, ""},
    {"このソフトウェアの情報", K::CreditLine, -1, -1, C::None, -1, -1, ""},
}};

constexpr std::size_t CountLineLabels() {
    std::size_t count = 0;
    for (const CatalogueItem& item : kCatalogue) {
        count += item.Control == EmphasisControl::LineLabel ? 1 : 0;
    }
    return count;
}
static_assert(CountLineLabels() == LineLabelCount, "one TopicsLine label per line-label item");

constexpr std::array<DefaultOrderRow, 39> kDefaultOrder{{
    {"区切り線", true},
    {"作者名", true},
    {"ソフト名", true},
    {"バージョン", true},
    {"作成日", true},
    {"アーカイブ名", false},
    {"ｱｰｶｲﾌﾞｻｲｽﾞ", false},
    {"種別", true},
    {"ｼｪｱｳｪｱ代金", false},
    {"開発言語", true},
    {"必要ﾗﾝﾀｲﾑ", true},
    {"DirectX", false},
    {"動作OS", true},
    {"再配布", true},
    {"転載", true},
    {"ホームページ", true},
    {"メール", true},
    {"追加1", false},
    {"追加2", false},
    {"区切り線", true},
    {"アーカイブ内容", true},
    {"送金方法", false},
    {"特徴", false},
    {"開発環境", true},
    {"動作環境(スペック)", true},
    {"インストール方法", true},
    {"アンインストール方法", true},
    {"使用方法", true},
    {"著作権", true},
    {"再配布・転載", true},
    {"免責", true},
    {"謝辞", false},
    {"開発履歴", true},
    {"追加3", false},
    {"追加4", false},
    {"区切り線", true},
    {"このソフトウェアの情報", true},
    {"区切り線", false},
    {"区切り線", false},
}};

constexpr std::array<std::string_view, 4> kSizeUnits{"Byte", "KB", "MB", "GB"};

constexpr std::array<std::string_view, 10> kKinds{"フリーウェア",
                                                  "フリーウェア(寄付歓迎)",
                                                  "フリーウェア(GPL)",
                                                  "シェアウェア",
                                                  "メールウェア",
                                                  "メールウェア(寄付カンパ)",
                                                  "カンパウェア",
                                                  "製品版",
                                                  "体験版",
                                                  "デモ版"};
constexpr std::array<std::string_view, 21> kLanguages{".NET Framework",
                                                      "Visual Basic .NET",
                                                      "Visual Basic 6.0(SP5)",
                                                      "Visual Basic 6.0",
                                                      "Visual Basic 5.0(SP3)",
                                                      "Visual Basic 5.0",
                                                      "Visual Basic 4.0",
                                                      "Visual C++ .NET",
                                                      "Visual C++ 6.0",
                                                      "Visual C++ 5.0",
                                                      "Visual C#",
                                                      "Visual J++",
                                                      "Visual Studio",
                                                      "Visual SourseSafe",
                                                      "Borland C++ Builder",
                                                      "Borland JBuilder",
                                                      "Borland Delphi",
                                                      "Borland Kylix",
                                                      "Sun Microsystems Java",
                                                      "Hot Soup Processor",
                                                      "Active Basic"};
constexpr std::array<std::string_view, 12> kRuntimes{"必要なし",
                                                     ".NET Framework",
                                                     "Visual Basic 6.0(SP5)",
                                                     "Visual Basic 6.0",
                                                     "Visual Basic 5.0(SP3)",
                                                     "Visual Basic 5.0",
                                                     "Visual Basic 4.0",
                                                     "Click&Create",
                                                     "Click&Play",
                                                     "OpenGL",
                                                     "Macromedia Flash Player",
                                                     "Macromedia Shockwave Player"};
constexpr std::array<std::string_view, 13> kDirectX{
    "必要なし",          "DirectX 9.0 以上", "DirectX 8.2 以上",  "DirectX 8.1b 以上",
    "DirectX 8.0a 以上", "DirectX 7.1 以上", "DirectX 7.0a 以上", "DirectX 6.2 以上",
    "DirectX 6.1 以上",  "DirectX 6.0 以上", "DirectX 5.2 以上",  "DirectX 5.1 以上",
    "DirectX 5.0 以上"};
constexpr std::array<std::string_view, 23> kSystems{"Windows 95/98/ME/2000/XP",
                                                    "Windows 98SE/ME/2000/XP",
                                                    "Windows 98/ME/2000/XP",
                                                    "Windows NT/2000/XP",
                                                    "Windows 2000/XP",
                                                    "Windows ME/2000/XP",
                                                    "Windows 95/98/ME",
                                                    "Windows 95/98/NT",
                                                    "Windows 98/ME",
                                                    "Windows 95/98",
                                                    "Windows XP以降",
                                                    "Windows 2000以降",
                                                    "Windows NT4.0以降",
                                                    "Windows NT3.51以降",
                                                    "Windows ME以降",
                                                    "Windows 98SE以降",
                                                    "Windows 98以降",
                                                    "Windows 95以降",
                                                    "Windows",
                                                    "MacOS",
                                                    "Linux",
                                                    "UNIX",
                                                    "FreeBSD"};
constexpr std::array<std::string_view, 6> kRedistribution{
    "可", "不可", "二次配布まで可", "改変したものは不可", "改変したものも可", "GPLに基づく"};
constexpr std::array<std::string_view, 4> kReprint{"可", "不可", "事前連絡が必要",
                                                   "事後でもいいので連絡が必要"};

} // namespace

std::span<const CatalogueItem, CatalogueSize> Catalogue() {
    return kCatalogue;
}

const CatalogueItem* LookupItem(std::string_view key) {
    // Composing and reading form files look keys up once per order entry, and a
    // form file may hold any number of entries: hash rather than scan.
    static const auto index = [] {
        std::unordered_map<std::string_view, const CatalogueItem*> map;
        for (const auto& item : kCatalogue) {
            map.emplace(item.Key, &item);
        }
        return map;
    }();
    auto found = index.find(key);
    return found == index.end() ? nullptr : found->second;
}

std::string UserItemKey(int n) {
    return std::string("追加") + static_cast<char>('0' + n);
}

std::string_view LongItemKey(int slot) {
    for (const auto& item : kCatalogue) {
        if ((item.Kind == ItemKind::LongText || item.Kind == ItemKind::UserLongText) &&
            item.Slot == slot) {
            return item.Key;
        }
    }
    return {};
}

std::string_view SizeUnitText(int sizeUnit) {
    if (sizeUnit < 0 || sizeUnit >= static_cast<int>(kSizeUnits.size())) {
        return {};
    }
    return kSizeUnits[static_cast<std::size_t>(sizeUnit)];
}

std::span<const DefaultOrderRow, 39> DefaultOrderTable() {
    return kDefaultOrder;
}

std::span<const std::string_view> SizeUnitList() {
    return kSizeUnits;
}

std::span<const std::string_view> ChoiceSuggestions(int choiceSlot) {
    switch (choiceSlot) {
    case 0:
        return kKinds;
    case 1:
        return kLanguages;
    case 2:
        return kRuntimes;
    case 3:
        return kDirectX;
    case 4:
        return kSystems;
    case 5:
        return kRedistribution;
    case 6:
        return kReprint;
    default:
        return {};
    }
}

} // namespace kelvaro

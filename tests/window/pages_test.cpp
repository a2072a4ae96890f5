// The eight pages as data, without a toolkit: every control reachable and
// named, every field of the form shown by exactly one control, and a grid a
// toolkit can lay out by rows and columns alone without two controls on one
// spot.

#include "model/catalogue.h"
#include "model/form_fields.h"
#include "window/buttons.h"
#include "window/check_boxes.h"
#include "window/menus.h"
#include "window/pages.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {
namespace {

bool Focusable(ControlKind kind) {
    return kind != ControlKind::Label && kind != ControlKind::Frame;
}

const ControlDescription* Find(const PageDescription& page, std::string_view name) {
    for (const ControlDescription& c : page.Controls) {
        if (c.Name == name) {
            return &c;
        }
    }
    return nullptr;
}

bool Inside(const GridPlace& inner, const GridPlace& outer) {
    return inner.Row >= outer.Row && inner.Column >= outer.Column &&
           inner.Row + inner.RowSpan <= outer.Row + outer.RowSpan &&
           inner.Column + inner.ColumnSpan <= outer.Column + outer.ColumnSpan;
}

TEST(WindowPages, EveryNameOfTheWindowIsUnique) {
    std::set<std::string> names{std::string(WindowName), std::string(TabStripName)};
    const auto name = [&](std::string_view n) {
        EXPECT_FALSE(n.empty());
        EXPECT_TRUE(names.insert(std::string(n)).second) << n << " named twice";
    };
    for (const TabDescription& tab : WindowTabs()) {
        name(tab.Name);
    }
    for (const MenuDescription& menu : WindowMenus()) {
        name(menu.Name);
        for (const MenuItem& item : menu.Items) {
            if (item.Submenu == nullptr) {
                name(item.Name);
            }
        }
    }
    // An option group's name is shared by its options and by nothing else.
    std::set<std::string> groups;
    for (const PageDescription& page : WindowPages()) {
        for (const ControlDescription& c : page.Controls) {
            if (!c.Name.empty()) {
                name(c.Name);
            }
            if (c.Kind == ControlKind::Option) {
                EXPECT_FALSE(c.Group.empty()) << c.Name;
                groups.insert(c.Group);
            } else {
                EXPECT_TRUE(c.Group.empty()) << c.Name;
            }
        }
    }
    for (const std::string& group : groups) {
        name(group);
    }
}

TEST(WindowPages, EveryFocusableControlIsNamedAndVisitedByTabOnce) {
    ASSERT_EQ(WindowPages().size(), PageCount);
    for (std::size_t p = 0; p < PageCount; ++p) {
        const PageDescription& page = WindowPages()[p];
        SCOPED_TRACE(WindowTabs()[p].Caption);
        EXPECT_EQ(page.Which, static_cast<Page>(p));
        EXPECT_EQ(&PageOf(page.Which), &page);
        std::map<int, int> visits;
        for (int index : page.TabOrder) {
            EXPECT_LT(static_cast<std::size_t>(index), page.Controls.size());
            ++visits[index];
        }
        for (std::size_t i = 0; i < page.Controls.size(); ++i) {
            const ControlDescription& c = page.Controls[i];
            const int times =
                visits.contains(static_cast<int>(i)) ? visits[static_cast<int>(i)] : 0;
            EXPECT_EQ(times, Focusable(c.Kind) ? 1 : 0) << "control " << i << " " << c.Name;
            if (Focusable(c.Kind)) {
                EXPECT_FALSE(c.Name.empty()) << "control " << i;
            }
        }
    }
}

// The one control kind that can show each kind of field.
TEST(WindowPages, EveryFieldOfTheFormIsShownByExactlyOneFittingControl) {
    const std::map<FieldKind, std::set<ControlKind>> fits{
        {FieldKind::LineValue, {ControlKind::LineBox}},
        {FieldKind::Choice, {ControlKind::ChoiceBox}},
        {FieldKind::SizeUnit, {ControlKind::ListBox}},
        {FieldKind::UserName, {ControlKind::LineBox}},
        {FieldKind::Text, {ControlKind::LineBox}},
        {FieldKind::CheckBox, {ControlKind::CheckBox}},
        {FieldKind::OptionFlag, {ControlKind::Option}},
        {FieldKind::HtmlSetting, {ControlKind::LineBox}},
    };
    const auto fields = FormFields();
    std::vector<int> bound(fields.size(), 0);
    for (const PageDescription& page : WindowPages()) {
        for (const ControlDescription& c : page.Controls) {
            if (c.FieldRow == NoControl) {
                continue;
            }
            ASSERT_GE(c.FieldRow, 0) << c.Name;
            ASSERT_LT(static_cast<std::size_t>(c.FieldRow), fields.size()) << c.Name;
            const FormField& field = fields[static_cast<std::size_t>(c.FieldRow)];
            ++bound[static_cast<std::size_t>(c.FieldRow)];
            ASSERT_TRUE(fits.contains(field.Kind)) << c.Name << " shows line " << field.Line;
            EXPECT_TRUE(fits.at(field.Kind).contains(c.Kind)) << c.Name;
            // Opening a form shows it whole.
            EXPECT_TRUE(c.RefreshedBy.Has(Change::Form)) << c.Name;
        }
    }
    for (std::size_t row = 0; row < fields.size(); ++row) {
        const int expected = fits.contains(fields[row].Kind) ? 1 : 0;
        EXPECT_EQ(bound[row], expected) << "field on line " << fields[row].Line;
    }
}

// What each control shows is what its name says: the name's index is the
// field's slot. A slip between two rows of a kind shows one field in the other's box.
TEST(WindowPages, ControlsShowTheFieldTheirNameSays) {
    // The field's line in the form file (long texts one line each, order empty);
    // 0: no field (Markdown is a preview mode form files do not store).
    const struct {
        Page OnPage;
        std::string_view Name;
        int Line;
    } cases[] = {
        {Page::Lines, "TopicsLineText_0", 3},      {Page::Lines, "TopicsLineText_5", 8},
        {Page::Lines, "TopicsLineText_10", 13},    {Page::Lines, "ComboSize", 14},
        {Page::Lines, "ComboTopics_0", 15},        {Page::Lines, "ComboTopics_6", 21},
        {Page::Lines, "TopicsAdd_1", 23},          {Page::LongTexts, "TopicsAdd_3", 25},
        {Page::Other, "TopicsOtherPauseChar", 73}, {Page::Other, "TopicsOtherPauseNum", 74},
        {Page::Other, "TopicsOtherLeftChar", 75},  {Page::Other, "TopicsOtherRightChar", 76},
        {Page::Html, "OptTopicsHTML_1", 80},       {Page::Html, "TopicsHTMLInput_0", 81},
        {Page::Html, "TopicsHTMLInput_8", 89},     {Page::Preview, "OptPreviewMode_2", 93},
        {Page::Preview, "OptPreviewMode_3", 0},
    };
    for (const auto& c : cases) {
        const ControlDescription* control = Find(PageOf(c.OnPage), c.Name);
        ASSERT_NE(control, nullptr) << c.Name;
        const int line = control->FieldRow == NoControl
                             ? 0
                             : FormFields()[static_cast<std::size_t>(control->FieldRow)].Line;
        EXPECT_EQ(line, c.Line) << c.Name;
    }
}

TEST(WindowPages, PushButtonsAndCheckBoxesStandOnTheirPageOnce) {
    for (const ButtonDescription& button : PageButtons()) {
        SCOPED_TRACE(button.Name);
        int found = 0;
        for (const PageDescription& page : WindowPages()) {
            const ControlDescription* c = Find(page, button.Name);
            if (c != nullptr) {
                ++found;
                EXPECT_EQ(page.Which, button.OnPage);
                EXPECT_EQ(c->Kind, ControlKind::Button);
                EXPECT_EQ(c->Caption, button.Caption);
                EXPECT_EQ(c->Command, button.Command);
            }
        }
        EXPECT_EQ(found, 1);
    }
    for (const CheckDescription& check : PageChecks()) {
        SCOPED_TRACE(check.Name);
        const ControlDescription* c = Find(PageOf(check.OnPage), check.Name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Caption, check.Caption);
        EXPECT_EQ(FormFields()[static_cast<std::size_t>(c->FieldRow)].Number, check.Field);
    }
    // Every push button runs something.
    for (const PageDescription& page : WindowPages()) {
        for (const ControlDescription& c : page.Controls) {
            if (c.Kind == ControlKind::Button) {
                EXPECT_NE(c.Command, nullptr) << c.Name;
            }
        }
    }
}

TEST(WindowPages, ReferencesPointAtWhatTheyName) {
    for (const PageDescription& page : WindowPages()) {
        const auto at = [&](int index) -> const ControlDescription* {
            return index >= 0 && static_cast<std::size_t>(index) < page.Controls.size()
                       ? &page.Controls[static_cast<std::size_t>(index)]
                       : nullptr;
        };
        for (const ControlDescription& c : page.Controls) {
            SCOPED_TRACE(c.Name);
            if (c.LabelledBy != NoControl) {
                ASSERT_NE(at(c.LabelledBy), nullptr);
                EXPECT_EQ(at(c.LabelledBy)->Kind, ControlKind::Label);
                EXPECT_TRUE(Focusable(c.Kind));
            }
            if (c.SpokenBy != NoControl) {
                ASSERT_NE(at(c.SpokenBy), nullptr);
                EXPECT_EQ(at(c.SpokenBy)->Kind, ControlKind::LineBox);
            }
            if (c.InFrame != NoControl) {
                ASSERT_NE(at(c.InFrame), nullptr);
                EXPECT_EQ(at(c.InFrame)->Kind, ControlKind::Frame);
                EXPECT_TRUE(Inside(c.Place, at(c.InFrame)->Place));
            }
            // A box says something: its own words, its label's or its namer's.
            const bool box = c.Kind == ControlKind::LineBox || c.Kind == ControlKind::ChoiceBox ||
                             c.Kind == ControlKind::ListBox || c.Kind == ControlKind::OrderList ||
                             c.Kind == ControlKind::TemplateList ||
                             c.Kind == ControlKind::TextViewer || c.Kind == ControlKind::TextEditor;
            if (box) {
                EXPECT_TRUE(!c.Spoken.empty() || c.LabelledBy != NoControl ||
                            c.SpokenBy != NoControl);
            } else if (Focusable(c.Kind)) {
                EXPECT_TRUE(!c.Caption.empty() || c.SpokenBy != NoControl);
            }
        }
    }
}

// A toolkit that lays out by row, column and span alone gets every control
// its own cells inside the page; only a frame holds the controls in it.
TEST(WindowPages, NoTwoControlsOfAPageShareAGridCell) {
    for (const PageDescription& page : WindowPages()) {
        SCOPED_TRACE(WindowTabs()[static_cast<std::size_t>(page.Which)].Caption);
        std::map<std::pair<int, int>, std::string> taken;
        for (const ControlDescription& c : page.Controls) {
            const GridPlace& p = c.Place;
            EXPECT_GE(p.Row, 0) << c.Name;
            EXPECT_GE(p.Column, 0) << c.Name;
            EXPECT_GE(p.RowSpan, 1) << c.Name;
            EXPECT_GE(p.ColumnSpan, 1) << c.Name;
            EXPECT_LE(p.Row + p.RowSpan, page.Rows) << c.Name;
            EXPECT_LE(p.Column + p.ColumnSpan, page.Columns) << c.Name;
            if (c.Kind == ControlKind::Frame) {
                continue;
            }
            for (int r = p.Row; r < p.Row + p.RowSpan; ++r) {
                for (int col = p.Column; col < p.Column + p.ColumnSpan; ++col) {
                    const auto [spot, fresh] = taken.emplace(std::pair(r, col), c.Name);
                    EXPECT_TRUE(fresh)
                        << c.Name << " and " << spot->second << " at " << r << "," << col;
                }
            }
        }
    }
}

// A letter reaches one control of a page, one entry of a menu. The ReadMe
// menu's two clipboard entries share their "C" as users know them; a toolkit
// then moves between the two on the letter, so it stays the one exception.
TEST(WindowPages, MnemonicsAreUniqueWithinAPageAndAMenu) {
    for (const PageDescription& page : WindowPages()) {
        std::set<char> letters;
        for (const ControlDescription& c : page.Controls) {
            const char letter = Mnemonic(c.Caption);
            if (letter != 0) {
                EXPECT_TRUE(letters.insert(letter).second) << c.Name;
            }
        }
    }
    const std::set<std::pair<MenuId, char>> shared{{MenuId::ReadMe, 'C'}};
    for (const MenuDescription& menu : WindowMenus()) {
        std::map<char, int> letters;
        for (const MenuItem& item : menu.Items) {
            const char letter =
                Mnemonic(item.Submenu != nullptr ? MenuOf(*item.Submenu).Caption : item.Caption);
            if (letter != 0) {
                ++letters[letter];
            }
        }
        for (const auto& [letter, count] : letters) {
            EXPECT_EQ(count, shared.contains({menu.Id, letter}) ? 2 : 1)
                << menu.Caption << " " << letter;
        }
    }
}

// The order Tab visits a page in, as keyboard users know it.
TEST(WindowPages, TabReadsEachPageAsItIsRead) {
    struct Case {
        Page Which;
        std::vector<std::string_view> Names;
    };
    const Case cases[] = {
        {Page::Other,
         {"TopicsOtherPauseChar", "TopicsOtherPauseNum", "CmdGetPauseNum", "TopicsOtherLeftChar",
          "TopicsOtherRightChar", "TopicsOtherCheckChange", "TopicsOtherCheckUserInput"}},
        {Page::Order,
         {"SortList", "CmdListUpDown_0", "CmdListUpDown_1", "CmdListAllCheck_0",
          "CmdListAllCheck_1", "CmdListAllCheck_2", "CmdListAllCheck_3", "TopicsSortCheckSpace"}},
        {Page::Options,
         {"OptTopicsOptionBold_0", "OptTopicsOptionBold_1", "CmdFontSelect_0", "CmdFontSelect_1",
          "CmdGetInformation", "TopicsOptionInfo"}},
        {Page::TemplateViewer, {"CmdLoadTemplate", "TemplateList", "TemplateText"}},
    };
    for (const Case& c : cases) {
        const PageDescription& page = PageOf(c.Which);
        std::vector<std::string_view> order;
        for (int index : page.TabOrder) {
            order.push_back(page.Controls[static_cast<std::size_t>(index)].Name);
        }
        EXPECT_EQ(order, c.Names);
    }
    // On the single-line page each row is read from left to right: an item's
    // name box, its value, then the right column's value.
    const PageDescription& lines = PageOf(Page::Lines);
    std::vector<std::string_view> first;
    for (std::size_t i = 0; i < 5; ++i) {
        first.push_back(lines.Controls[static_cast<std::size_t>(lines.TabOrder[i])].Name);
    }
    EXPECT_EQ(first, (std::vector<std::string_view>{"TopicsLineText_0", "ComboTopics_1",
                                                    "TopicsLineText_1", "ComboTopics_2",
                                                    "TopicsLineText_2"}));
}

// Captions, and what a screen reader says where the caption alone does not
// tell, character for character (full and half width alike).
TEST(WindowPages, WordsAsUsersKnowThem) {
    struct Case {
        Page Which;
        std::string_view Name;
        std::string_view Caption;
        std::string_view Spoken;
    };
    const Case cases[] = {
        {Page::Lines, "ComboSize", "", "ｱｰｶｲﾌﾞｻｲｽﾞの単位"},
        {Page::Lines, "TopicsAdd_0", "", "追加1の項目名"},
        {Page::Lines, "CmdGetToday", "≪今日の日付", "今日の日付"},
        {Page::LongTexts, "TopicsFrame", "長文項目", ""},
        {Page::LongTexts, "TopicsAdd_2", "", "追加3の項目名"},
        {Page::Order, "TopicsSort", "項目順序の並び替え", ""},
        {Page::Order, "CmdListUpDown_0", "▲", "上へ移動"},
        {Page::Other, "TopicsOtherPauseNum", "", "区切り線を繰り返す回数"},
        {Page::Other, "TopicsOtherRightChar", "", "右の括弧"},
        {Page::Html, "TopicsHTMLInput_1", "", "背景画像"},
        {Page::TemplateViewer, "TemplateList", "", "テンプレート一覧"},
        {Page::TemplateViewer, "TopicsTemplate", "テンプレートビューア", ""},
        {Page::TemplateViewer, "CmdLoadTemplate", "テンプレートの読み込み", ""},
        {Page::LongTexts, "CmdTemplate_0", "テンプレートを読み込む", ""},
        {Page::Options, "CmdFontSelect_1", "デフォルトのフォント", ""},
        {Page::Other, "CmdGetPauseNum", "記号から適切な回数を取得", ""},
        {Page::Order, "TopicsSortCheckSpace", "空白の項目はチェックがついていても記述しない", ""},
        {Page::Other, "TopicsOtherCheckUserInput",
         "「ユーザー入力可能」 は 「」 (何も書かない) に置き換える", ""},
        {Page::Html, "TopicsHTMLCheckHR", "区切り線は<HR>タグで代用", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const ControlDescription* control = Find(PageOf(c.Which), c.Name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->Caption, c.Caption);
        EXPECT_EQ(control->Spoken, c.Spoken);
    }
}

// The captions of each numbered row of controls, in the row's order.
TEST(WindowPages, NumberedCaptionsAsUsersKnowThem) {
    struct Case {
        Page Which;
        std::string_view Prefix;
        std::vector<std::string_view> Captions;
    };
    const Case cases[] = {
        {Page::Lines,
         "TopicsLine_",
         {"作者名", "ソフト名", "バージョン", "作成日", "アーカイブ名", "ｱｰｶｲﾌﾞｻｲｽﾞ", "種別",
          "ｼｪｱｳｪｱ代金", "開発言語", "必要ﾗﾝﾀｲﾑ", "DirectX", "動作OS", "再配布", "転載",
          "ホームページ", "メール"}},
        {Page::LongTexts,
         "OptTopics_",
         {"アーカイブ内容", "送金方法", "特徴", "開発環境", "動作環境(スペック)",
          "インストール方法", "アンインストール方法", "使用方法", "著作権", "再配布・転載", "免責",
          "謝辞", "開発履歴", "", ""}},
        {Page::Order,
         "CmdListAllCheck_",
         {"すべてにチェックをつける", "すべてのチェックをはずす", "すべてのチェックの反転",
          "リストをデフォルトに戻す"}},
        {Page::Order, "CmdListUpDown_", {"▲", "▼"}},
        {Page::Other, "TopicsOther_", {"区切り線", "を", "回繰り返す", "括弧", "置換"}},
        {Page::Html, "TopicsHTML_", {"背景", "色設定 (StyleSheet)", "その他"}},
        {Page::Html, "OptTopicsHTML_", {"背景色を使用する", "背景画像を使用する"}},
        {Page::Html,
         "TopicsHTMLColor_",
         {"Link", "Active Link", "Visited Link", "Hover Link", "BODY", "区切り線", "括弧項目"}},
        {Page::Preview, "OptPreviewMode_", {"Text", "HTML(Text)", "HTML(Browser)", "Markdown"}},
        {Page::Options,
         "TopicsOption_",
         {"入力補助", "長文項目 ・ ﾌﾟﾚﾋﾞｭｰ ・ ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ のフォント指定", "各種情報取得"}},
        {Page::Options,
         "OptTopicsOptionBold_",
         {"チェックがついている項目の名前を強調表示", "強調表示を利用しない"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string_view> captions;
        for (const ControlDescription& control : PageOf(c.Which).Controls) {
            if (control.Name.starts_with(c.Prefix)) {
                captions.push_back(control.Caption);
            }
        }
        EXPECT_EQ(captions, c.Captions) << c.Prefix;
    }
}

// A user item's value and option are called what the user named the item.
TEST(WindowPages, UserItemsAreCalledByTheirNameBox) {
    const struct {
        Page Which;
        std::string_view Control;
        std::string_view NameBox;
    } cases[] = {{Page::Lines, "TopicsLineText_9", "TopicsAdd_0"},
                 {Page::Lines, "TopicsLineText_10", "TopicsAdd_1"},
                 {Page::LongTexts, "OptTopics_13", "TopicsAdd_2"},
                 {Page::LongTexts, "OptTopics_14", "TopicsAdd_3"}};
    for (const auto& c : cases) {
        const PageDescription& page = PageOf(c.Which);
        const ControlDescription* control = Find(page, c.Control);
        ASSERT_NE(control, nullptr) << c.Control;
        ASSERT_NE(control->SpokenBy, NoControl) << c.Control;
        EXPECT_EQ(page.Controls[static_cast<std::size_t>(control->SpokenBy)].Name, c.NameBox);
        EXPECT_TRUE(control->RefreshedBy.Has(Change::Form)) << c.Control;
    }
}

// An option is stored by a form field, or its group says what choosing it
// runs and which one is chosen (the preview's modes, three of which form
// files store as well, are chosen so); a group is one or the other whole.
TEST(WindowPages, EveryOptionIsStoredOrChosen) {
    for (const PageDescription& page : WindowPages()) {
        std::map<std::string, std::set<bool>> byField;
        for (const ControlDescription& c : page.Controls) {
            if (c.Kind != ControlKind::Option) {
                EXPECT_TRUE(c.Choose == nullptr && c.Chosen == nullptr) << c.Name;
                continue;
            }
            const bool chosen = c.Choose != nullptr && c.Chosen != nullptr;
            EXPECT_NE(c.Choose == nullptr, chosen) << c.Name;
            // A group with a mode no form field stores is chosen as a whole.
            byField[c.Group].insert(chosen);
            if (!chosen) {
                EXPECT_NE(c.FieldRow, NoControl) << c.Name;
            }
        }
        for (const auto& [group, kinds] : byField) {
            EXPECT_EQ(kinds.size(), 1U) << group;
        }
    }
}

// Every item that can be emphasised has the one control drawn bold for it.
TEST(WindowPages, EveryEmphasisFlagDrawsOneControl) {
    std::vector<int> drawn(EmphasisCount, 0);
    for (const PageDescription& page : WindowPages()) {
        for (const ControlDescription& c : page.Controls) {
            if (c.Emphasis == NoControl) {
                continue;
            }
            ASSERT_GE(c.Emphasis, 0) << c.Name;
            ASSERT_LT(static_cast<std::size_t>(c.Emphasis), EmphasisCount) << c.Name;
            ++drawn[static_cast<std::size_t>(c.Emphasis)];
            EXPECT_TRUE(c.RefreshedBy.Has(Change::Emphasis)) << c.Name;
        }
    }
    for (const CatalogueItem& item : Catalogue()) {
        if (item.EmphasisIndex >= 0) {
            EXPECT_EQ(drawn[static_cast<std::size_t>(item.EmphasisIndex)], 1) << item.Key;
        }
    }
}

} // namespace
} // namespace kelvaro

// The window's description without a toolkit: every name unique, every entry
// reachable by its letter, no shortcut taken twice, and the captions users
// know, character for character.

#include "model/form_fields.h"
#include "window/buttons.h"
#include "window/check_boxes.h"
#include "window/menus.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {
namespace {

// Each entry as "caption|shortcut", a separator as "---", a submenu by its caption.
std::vector<std::string> Entries(MenuId id) {
    std::vector<std::string> out;
    for (const MenuItem& item : MenuOf(id).Items) {
        if (item.Separator()) {
            out.emplace_back("---");
            continue;
        }
        std::string shown(item.Submenu ? MenuOf(*item.Submenu).Caption : item.Caption);
        shown += "|";
        if (item.Shortcut.FunctionKey > 0) {
            shown += "F" + std::to_string(item.Shortcut.FunctionKey);
        } else if (item.Shortcut.Key != 0) {
            shown += (item.Shortcut.Modifiers & KeyChord::Ctrl) != 0 ? "Ctrl+" : "";
            shown += item.Shortcut.Key;
        }
        out.push_back(shown);
    }
    return out;
}

TEST(WindowDescription, CaptionsAndShortcutsAsUsersKnowThem) {
    struct Expected {
        MenuId Menu;
        std::string_view Caption;
        std::vector<std::string> Entries;
    };
    const Expected menus[] = {
        {MenuId::File,
         "ファイル(&F)",
         {"フォームの新規作成(&N)|Ctrl+N", "フォームを開く(&O)|Ctrl+O", "ReadMeを読み込む(&I)...|",
          "フォームを上書き保存(&S)|", "フォームを名前をつけて保存(&A)|Ctrl+S", "---",
          "ReadMe出力(&R)|", "---", "アプリケーションの終了(&X)|Ctrl+Q"}},
        {MenuId::ReadMe,
         "ReadMe出力(&R)",
         {"Textファイルで出力(&T)|", "HTMLファイルで出力(&H)|", "Markdownファイルで出力(&M)|",
          "---", "Text形式でクリップボードに出力(&C)|", "HTML形式でクリップボードに出力(&C)|",
          "Markdown形式でクリップボードに出力(&D)|", "HTML5形式でクリップボードに出力(&5)|", "---",
          "HTML5形式でブラウザに表示(&B)|"}},
        {MenuId::Help,
         "ヘルプ(&H)",
         {"ヘルプファイルを開く(&H)|F1", "---", "オンラインヘルプ(&O)|", "開発元ホームページ(&P)|",
          "---", "バージョン情報(&V)|"}},
    };
    for (const Expected& m : menus) {
        SCOPED_TRACE(m.Caption);
        EXPECT_EQ(MenuOf(m.Menu).Caption, m.Caption);
        EXPECT_EQ(Entries(m.Menu), m.Entries);
    }
    const std::vector<std::string_view> tabs{"１行項目", "長文項目", "項目順序", "その他",
                                             "HTML",     "ﾌﾟﾚﾋﾞｭｰ",  "ｵﾌﾟｼｮﾝ",   "ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ"};
    for (std::size_t n = 0; n < PageCount; ++n) {
        EXPECT_EQ(WindowTabs()[n].Caption, tabs[n]);
    }
}

TEST(WindowDescription, NamesUniqueEntriesReachableShortcutsUnique) {
    std::set<std::string_view> names{WindowName, TabStripName};
    std::set<std::string> shortcuts;
    const auto name = [&](std::string_view n) {
        EXPECT_FALSE(n.empty());
        EXPECT_TRUE(names.insert(n).second) << n << " named twice";
    };
    for (const TabDescription& tab : WindowTabs()) {
        name(tab.Name);
    }
    for (const CheckDescription& check : PageChecks()) {
        name(check.Name);
        EXPECT_EQ(&CheckOf(check.Id), &check);
    }
    for (const ButtonDescription& button : PageButtons()) {
        name(button.Name);
        EXPECT_EQ(&ButtonOf(button.Id), &button);
        EXPECT_NE(button.Command, nullptr) << button.Caption;
    }
    std::size_t submenus = 0;
    for (const MenuDescription& menu : WindowMenus()) {
        SCOPED_TRACE(menu.Caption);
        name(menu.Name);
        EXPECT_NE(Mnemonic(menu.Caption), 0);
        EXPECT_EQ(&MenuOf(menu.Id), &menu);
        for (const MenuItem& item : menu.Items) {
            if (item.Submenu != nullptr) {
                ++submenus;
                EXPECT_FALSE(MenuOf(*item.Submenu).OnMenuBar);
                continue;
            }
            name(item.Name);
            if (item.Separator()) {
                continue;
            }
            EXPECT_NE(Mnemonic(item.Caption), 0) << item.Caption;
            // An entry that runs something has something to run.
            EXPECT_EQ(item.Does == MenuAct::Run, item.Command != nullptr) << item.Caption;
            if (!item.Shortcut.Empty()) {
                const std::string chord = std::to_string(item.Shortcut.Modifiers) + "+" +
                                          item.Shortcut.Key +
                                          std::to_string(item.Shortcut.FunctionKey);
                EXPECT_TRUE(shortcuts.insert(chord).second) << item.Caption;
            }
        }
    }
    // Every menu not on the bar is reached from exactly one entry.
    std::size_t offBar = 0;
    for (const MenuDescription& menu : WindowMenus()) {
        offBar += menu.OnMenuBar ? 0 : 1;
    }
    EXPECT_EQ(submenus, offBar);
}

} // namespace
} // namespace kelvaro

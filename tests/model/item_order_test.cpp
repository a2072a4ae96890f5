#include "model/item_order.h"

#include "model/catalogue.h"
#include "model/defaults.h"
#include "model/long_text.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvaro {
namespace {

int BoldCount(const Workspace& ws) {
    return static_cast<int>(std::count(ws.ItemEmphasis.begin(), ws.ItemEmphasis.end(), true));
}

std::vector<bool> Checks(const Workspace& ws) {
    std::vector<bool> checks;
    for (const auto& e : ws.form.Order) {
        checks.push_back(e.Checked);
    }
    return checks;
}

TEST(Catalogue, KeysCompareByteForByte) {
    EXPECT_EQ(Catalogue().size(), 35u);
    EXPECT_NE(LookupItem("追加1"), nullptr);
    EXPECT_EQ(LookupItem("追加１"), nullptr);           // full-width digit
    EXPECT_EQ(LookupItem("作者名 "), nullptr);          // trailing blank
    EXPECT_EQ(LookupItem("アーカイブサイズ"), nullptr); // the other katakana width
    EXPECT_NE(LookupItem("ｱｰｶｲﾌﾞｻｲｽﾞ"), nullptr);
    EXPECT_EQ(LookupItem("動作環境（スペック）"), nullptr);
    EXPECT_EQ(UserItemKey(1), "追加1");
    EXPECT_EQ(UserItemKey(4), "追加4");
    EXPECT_EQ(LongItemKey(0), "アーカイブ内容");
    EXPECT_EQ(LongItemKey(13), "追加3");
}

TEST(Catalogue, OutputNamesAreTwelveColumnsWide) {
    // A half-width character takes one column, a full-width two: CP932 byte widths.
    int names = 0;
    for (const auto& item : Catalogue()) {
        if (item.OutputName.empty()) {
            continue;
        }
        ++names;
        int columns = 0;
        for (std::size_t i = 0; i < item.OutputName.size();) {
            auto b = static_cast<unsigned char>(item.OutputName[i]);
            std::size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            bool halfWidthKana = len == 3 && b == 0xEF &&
                                 (static_cast<unsigned char>(item.OutputName[i + 1]) == 0xBD ||
                                  static_cast<unsigned char>(item.OutputName[i + 1]) == 0xBE);
            columns += (len == 1 || halfWidthKana) ? 1 : 2;
            i += len;
        }
        EXPECT_EQ(columns, 12) << item.Key;
    }
    EXPECT_EQ(names, 16);
}

TEST(Catalogue, SuggestionListSizes) {
    EXPECT_EQ(SizeUnitList().size(), 4u);
    const std::size_t sizes[] = {10, 21, 12, 13, 23, 6, 4};
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(ChoiceSuggestions(slot).size(), sizes[slot]) << slot;
    }
    EXPECT_EQ(ChoiceSuggestions(3)[1], "DirectX 9.0 以上");
}

TEST(DefaultOrder, ThirtyNineEntriesWithUserNamesAndEmphasis) {
    Workspace ws = FreshWorkspace();
    const auto& order = ws.form.Order;
    ASSERT_EQ(order.size(), 39u);
    const auto checks = Checks(ws);
    EXPECT_EQ(std::count(checks.begin(), checks.end(), true), 26);
    std::vector<int> separators;
    for (std::size_t p = 0; p < order.size(); ++p) {
        if (order[p].Key == "区切り線") {
            separators.push_back(static_cast<int>(p + 1));
        }
    }
    EXPECT_EQ(separators, (std::vector<int>{1, 20, 36, 38, 39}));
    EXPECT_FALSE(order[37].Checked);
    EXPECT_FALSE(order[38].Checked);
    EXPECT_EQ(order[17].Text, "ユーザー入力可能1");
    EXPECT_EQ(order[17].Key, "追加1");
    EXPECT_EQ(order[34].Text, "ユーザー入力可能4");
    EXPECT_EQ(BoldCount(ws), 22); // the checked value items; separators and credit have no control
    EXPECT_TRUE(ItemIsEmphasised(ws, "作者名"));
    EXPECT_FALSE(ItemIsEmphasised(ws, "アーカイブ名"));
}

TEST(ResetOrder, AsksFirstAndKeepsEverythingOnNo) {
    Workspace ws = FreshWorkspace();
    SetUserName(ws, 2, "独自");
    InvertChecks(ws);
    SelectEntry(ws, 1);
    MoveEntryUp(ws);
    Workspace before = ws;

    test::ScriptedHost host;
    host.MessageAnswers.push_back(MessageAnswer::No);
    EXPECT_FALSE(ResetOrderToDefault(ws, host));
    EXPECT_EQ(ws.form, before.form);
    EXPECT_EQ(ws.ItemEmphasis, before.ItemEmphasis);
    ASSERT_EQ(host.Messages.size(), 1u);
    const auto& m = host.Messages[0];
    EXPECT_EQ(m.Text, "項目順序、チェックの有無はすべて初期化されます。\r\n"
                      "デフォルトに戻してもよろしいですか？");
    EXPECT_EQ(m.Title, test::kProductAndVersion);
    EXPECT_EQ(m.Buttons, MessageButtons::YesNo);
    EXPECT_EQ(m.Icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.DefaultButton, MessageAnswer::Yes);

    host.MessageAnswers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(ResetOrderToDefault(ws, host));
    EXPECT_EQ(ws.form.Order.size(), 39u);
    EXPECT_EQ(ws.form.Order[33].Text, "独自"); // the typed name, not the default one
    EXPECT_EQ(Checks(ws), Checks(FreshWorkspace()));
}

TEST(Checks, AllNoneInvertWithEmphasisFollowing) {
    Workspace ws = FreshWorkspace();
    const auto defaults = Checks(ws);
    const auto defaultBold = ws.ItemEmphasis;
    CheckAll(ws);
    EXPECT_EQ(BoldCount(ws), 33);
    UncheckAll(ws);
    EXPECT_EQ(BoldCount(ws), 0);
    CheckAll(ws);
    BuildDefaultOrder(ws);
    InvertChecks(ws);
    EXPECT_EQ(BoldCount(ws), 33 - 22);
    InvertChecks(ws);
    EXPECT_EQ(Checks(ws), defaults);
    EXPECT_EQ(ws.ItemEmphasis, defaultBold);
}

TEST(Checks, DisabledEmphasisLeavesFlagsAloneUntilReenabled) {
    Workspace ws = FreshWorkspace();
    SelectEmphasisOption(ws, false);
    EXPECT_EQ(BoldCount(ws), 0);
    CheckAll(ws);
    InvertChecks(ws);
    SetEntryChecked(ws, 1, true);
    BuildDefaultOrder(ws);
    EXPECT_EQ(BoldCount(ws), 0);
    SelectEmphasisOption(ws, true);
    EXPECT_EQ(ws.ItemEmphasis, FreshWorkspace().ItemEmphasis);
}

TEST(Checks, DuplicateKeysLeaveTheFlagOfTheLastEntry) {
    Workspace ws = FreshWorkspace();
    ws.form.Order = {{"作者名", "作者名", true},
                     {"作者名", "作者名", false},
                     {"謎", "謎", true},
                     {"追加１", "追加１", true}};
    ApplyEmphasis(ws);
    EXPECT_FALSE(ItemIsEmphasised(ws, "作者名"));
    InvertChecks(ws);
    EXPECT_TRUE(ItemIsEmphasised(ws, "作者名"));
    EXPECT_FALSE(ItemIsEmphasised(ws, "追加1")); // a full-width digit is another key
}

TEST(Checks, SingleToggleFollowsOnlyWhileEnabled) {
    Workspace ws = FreshWorkspace();
    SetEntryChecked(ws, 5, true); // アーカイブ名
    EXPECT_TRUE(ItemIsEmphasised(ws, "アーカイブ名"));
    SetEntryChecked(ws, 5, false);
    EXPECT_FALSE(ItemIsEmphasised(ws, "アーカイブ名"));
    SetEntryChecked(ws, 0, false); // a separator: nothing to emphasise, nothing breaks
    EXPECT_FALSE(ws.form.Order[0].Checked);
    SetEntryChecked(ws, 1000, true); // outside the list: ignored
    EXPECT_EQ(ws.form.Order.size(), 39u);
}

TEST(Moves, CarryTheEntryAndTheSelection) {
    Workspace ws = FreshWorkspace();
    const auto bold = ws.ItemEmphasis;
    SelectEntry(ws, 1);
    MoveEntryUp(ws);
    EXPECT_EQ(ws.Selected, 0);
    EXPECT_EQ(ws.form.Order[0], (OrderEntry{"作者名", "作者名", true}));
    EXPECT_EQ(ws.form.Order[1], (OrderEntry{"区切り線", "区切り線", true}));
    MoveEntryUp(ws); // at the top: nothing changes
    EXPECT_EQ(ws.Selected, 0);
    EXPECT_EQ(ws.form.Order[0].Key, "作者名");
    EXPECT_EQ(ws.ItemEmphasis, bold);

    SelectEntry(ws, 5); // アーカイブ名, unchecked, over ｱｰｶｲﾌﾞｻｲｽﾞ... then over 作成日 (checked)
    MoveEntryUp(ws);
    EXPECT_EQ(ws.form.Order[4], (OrderEntry{"アーカイブ名", "アーカイブ名", false}));
    EXPECT_EQ(ws.form.Order[5], (OrderEntry{"作成日", "作成日", true}));

    SelectEntry(ws, 38);
    MoveEntryDown(ws); // at the bottom
    EXPECT_EQ(ws.Selected, 38);
    SelectEntry(ws, 17); // 追加1 keeps its user name and later renames reach it
    MoveEntryDown(ws);
    EXPECT_EQ(ws.Selected, 18);
    EXPECT_EQ(ws.form.Order[18].Key, "追加1");
    SetUserName(ws, 0, "名前");
    EXPECT_EQ(ws.form.Order[18].Text, "名前");
}

TEST(Moves, AMoveAcrossTheListIsTheArrowButtonsPressedThatOften) {
    // Every pair of positions: the drag ends where as many ▲ or ▼ presses would.
    const Workspace fresh = FreshWorkspace();
    const std::size_t size = fresh.form.Order.size();
    for (std::size_t from = 0; from < size; from += 3) {
        for (std::size_t to = 0; to < size; to += 4) {
            Workspace dragged = fresh;
            MoveEntry(dragged, from, to);

            Workspace pressed = fresh;
            SelectEntry(pressed, static_cast<int>(from));
            for (std::size_t n = from; n < to; ++n) {
                MoveEntryDown(pressed);
            }
            for (std::size_t n = to; n < from; ++n) {
                MoveEntryUp(pressed);
            }
            EXPECT_EQ(dragged.form.Order, pressed.form.Order) << from << " -> " << to;
            EXPECT_EQ(dragged.Selected, static_cast<int>(to));
            EXPECT_EQ(dragged.ItemEmphasis, fresh.ItemEmphasis);
        }
    }
}

TEST(Moves, ADraggedEntryKeepsItsTextKeyAndCheck) {
    Workspace ws = FreshWorkspace();
    SetUserName(ws, 0, "独自の項目");
    SetEntryChecked(ws, 17, true); // 追加1
    const auto bold = ws.ItemEmphasis;
    MoveEntry(ws, 17, 2);
    EXPECT_EQ(ws.form.Order[2], (OrderEntry{"独自の項目", "追加1", true}));
    EXPECT_EQ(ws.form.Order[1].Key, "作者名");
    EXPECT_EQ(ws.form.Order[3].Key, "ソフト名"); // the entries below close up
    EXPECT_EQ(ws.form.Order[18].Key, "追加2");
    EXPECT_EQ(ws.Selected, 2);
    EXPECT_EQ(ws.ItemEmphasis, bold);
    SetUserName(ws, 0, "改名");
    EXPECT_EQ(ws.form.Order[2].Text, "改名");

    MoveEntry(ws, 2, 38); // to the very end
    EXPECT_EQ(ws.form.Order[38].Key, "追加1");
    EXPECT_EQ(ws.form.Order[37].Key, "区切り線");
    EXPECT_EQ(ws.Selected, 38);
}

TEST(Moves, ADropOntoItselfOrOutsideTheListChangesNoEntry) {
    Workspace ws = FreshWorkspace();
    const Form before = ws.form;
    SelectEntry(ws, 4);
    MoveEntry(ws, 7, 7);
    EXPECT_EQ(ws.form, before);
    EXPECT_EQ(ws.Selected, 7);
    MoveEntry(ws, 39, 0);
    MoveEntry(ws, 0, 39);
    MoveEntry(ws, static_cast<std::size_t>(-1), 3);
    EXPECT_EQ(ws.form, before);
    EXPECT_EQ(ws.Selected, 7);
    ws.form.Order.clear();
    MoveEntry(ws, 0, 0);
    EXPECT_TRUE(ws.form.Order.empty());
}

TEST(Moves, WithoutSelectionOrEntriesDoNothing) {
    Workspace ws = FreshWorkspace();
    const Form before = ws.form;
    ws.Selected = -1;
    MoveEntryUp(ws);
    MoveEntryDown(ws);
    EXPECT_EQ(ws.form, before);
    ws.form.Order.clear();
    SelectEntry(ws, 0);
    EXPECT_EQ(ws.Selected, -1);
    ws.Selected = 3; // stale selection beyond the list
    MoveEntryUp(ws);
    MoveEntryDown(ws);
    EXPECT_TRUE(ws.form.Order.empty());
}

} // namespace
} // namespace kelvaro

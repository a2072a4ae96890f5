#include "model/long_text.h"

#include "model/defaults.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(LongTextEditor, SwitchingStoresAndRestoresEachItem) {
    Workspace ws = FreshWorkspace();
    SelectLongItem(ws, 2); // 特徴
    ws.EditorText = "特徴の文";
    SelectLongItem(ws, 7); // 使用方法
    EXPECT_EQ(ws.EditorText, "");
    ws.EditorText = "使い方";
    SelectLongItem(ws, 2);
    EXPECT_EQ(ws.EditorText, "特徴の文");
    EXPECT_EQ(ws.form.LongTexts[7], "使い方");
    EXPECT_EQ(ws.CurrentLongItem, 2);

    ws.EditorText = "変更";
    SelectLongItem(ws, 2); // the same item again: stored, and shown unchanged
    EXPECT_EQ(ws.EditorText, "変更");
    EXPECT_EQ(ws.form.LongTexts[2], "変更");
}

TEST(LongTextEditor, CommitBringsTypedTextInWithoutSwitching) {
    Workspace ws = FreshWorkspace();
    SelectLongItem(ws, 14);
    ws.EditorText = "追加の文";
    EXPECT_EQ(ws.form.LongTexts[14], "");
    CommitLongText(ws);
    EXPECT_EQ(ws.form.LongTexts[14], "追加の文");
    EXPECT_EQ(ws.CurrentLongItem, 14);
    EXPECT_EQ(ws.EditorText, "追加の文");
    SelectLongItem(ws, 15); // no such option button
    EXPECT_EQ(ws.CurrentLongItem, 14);
}

TEST(UserItems, RenamingReachesEveryEntryOfTheKeyOnly) {
    Workspace ws = FreshWorkspace();
    ws.form.Order.push_back({"x", "追加3", true});
    ws.form.Order.push_back({"y", "追加３", true});
    std::string typed;
    for (const char* step : {"R", "Re", "Rea", "ReadMe"}) {
        SetUserName(ws, 2, step);
        EXPECT_EQ(ws.form.Order[33].Text, step);
        EXPECT_EQ(ws.form.Order[39].Text, step);
    }
    EXPECT_EQ(ws.form.Order[33].Key, "追加3");
    EXPECT_FALSE(ws.form.Order[33].Checked);
    EXPECT_EQ(ws.form.Order[40].Text, "y");
    EXPECT_EQ(ws.form.Order[34].Text, "ユーザー入力可能4");
    SetUserName(ws, 2, "");
    EXPECT_EQ(ws.form.Order[33].Text, "");
    EXPECT_EQ(ws.form.Order[33].Key, "追加3");
}

TEST(Defaults, FreshFormValues) {
    Workspace ws = FreshWorkspace();
    const Form& f = ws.form;
    EXPECT_EQ(f.LineValues[LineSlot::Version], "Ver ");
    EXPECT_EQ(f.LineValues[LineSlot::HomePage], "http://");
    EXPECT_EQ(f.SizeUnit, 0);
    for (const auto& choice : f.ChoiceValues) {
        EXPECT_EQ(choice, "ユーザー入力可能");
    }
    EXPECT_EQ(f.UserNames[3], "ユーザー入力可能4");
    EXPECT_EQ(f.PauseChars, "*");
    EXPECT_EQ(f.PauseCount, "78");
    EXPECT_EQ(f.LeftBracket, "【");
    EXPECT_EQ(f.RightBracket, "】");
    EXPECT_EQ(f.HtmlBackgroundMode, 0);
    EXPECT_EQ(f.HtmlPauseAsHr, 1);
    EXPECT_EQ(f.HtmlSettings[HtmlSetting::BodyStyle],
              "color:\"#000000\";font-size:\"12px\";font-family:\"ＭＳ ゴシック\";");
    for (std::size_t i = 2; i < 9; ++i) {
        EXPECT_TRUE(f.HtmlSettings[i].ends_with(";")) << i;
    }
    EXPECT_EQ(f.SkipEmptyItems, 0);
    EXPECT_EQ(f.ReplaceUserInput, 0);
    EXPECT_EQ(f.PreviewMode, 0);
}

TEST(Defaults, LineGroupEmptiesEveryLongTextButKeepsTheCurrentItem) {
    Workspace ws = FreshWorkspace();
    SelectLongItem(ws, 13);
    ws.EditorText = "a";
    ws.form.LongTexts[14] = "b";
    ws.form.LongTexts[0] = "c";
    DefaultTopicsLine(ws);
    EXPECT_EQ(ws.CurrentLongItem, 13);
    EXPECT_EQ(ws.EditorText, "");
    for (const auto& t : ws.form.LongTexts) {
        EXPECT_EQ(t, "");
    }
}

TEST(LongText, NamesFollowTheKeyOrTheUsersOwnName) {
    Workspace ws = FreshWorkspace();
    EXPECT_EQ(LongTextName(ws.form, 0), "アーカイブ内容");
    EXPECT_EQ(LongTextName(ws.form, 12), "開発履歴");
    SetUserName(ws, 2, "更新情報");
    SetUserName(ws, 3, "連絡先");
    SetUserName(ws, 1, "not a long text");
    EXPECT_EQ(LongTextName(ws.form, 13), "更新情報");
    EXPECT_EQ(LongTextName(ws.form, 14), "連絡先");
}

} // namespace
} // namespace kelvaro

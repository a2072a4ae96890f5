#include "files/lifecycle.h"

#include "files/form_file.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/file_io.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::ScriptedHost;
using test::TempFolder;
using test::WriteBytes;

class Lifecycle : public ::testing::Test {
protected:
    Lifecycle() : session(host, dir.Path()) { StartUp(session); }

    void ExpectCancelled() {
        ASSERT_FALSE(host.Messages.empty());
        EXPECT_EQ(host.LastMessage().Text, "キャンセルされました。");
        EXPECT_EQ(host.LastMessage().Title, "Kelvaro Ver 1.0.0");
        EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Information);
    }

    void ExpectUnexpected(int number) {
        ASSERT_FALSE(host.Messages.empty());
        EXPECT_EQ(host.LastMessage().Text, "Error No." + std::to_string(number) +
                                               "\r\n予期しないエラーです。\r\n"
                                               "製作者にErrorNumberを知らせてください。");
        EXPECT_EQ(host.LastMessage().Title, "Kelvaro");
        EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Critical);
    }

    TempFolder dir;
    ScriptedHost host;
    Session session;
};

TEST_F(Lifecycle, StartUpTitleAndDefaults) {
    EXPECT_EQ(session.WindowTitle, "Kelvaro Ver 1.0.0");
    EXPECT_EQ(session.ws.form, FreshWorkspace().form);
    EXPECT_TRUE(session.ws.EmphasisEnabled);
    EXPECT_EQ(session.TemplateFolder, dir.Path() + "/Templates");
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(Lifecycle, NewFormAsksWithNoAsDefaultAndResetsOnlyOnYes) {
    session.ws.form.LineValues[LineSlot::Author] = "作者";
    SelectEmphasisOption(session.ws, false);
    session.BoxFont.Font.Bold = true;
    session.ws.form.SkipEmptyItems = 1;
    session.FormFilePath = "/x/a.ref";
    session.FormFileTitle = "a.ref";

    host.MessageAnswers.push_back(MessageAnswer::No);
    NewForm(session);
    const auto& question = host.LastMessage();
    EXPECT_EQ(question.Text, "現在作業中のデータはすべて初期化されます。\r\n"
                             "フォームを新規作成しますか？\r\n"
                             "(作業中のデータを保存したい場合は\r\n"
                             "[いいえ]を押してください。)");
    EXPECT_EQ(question.Buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.Icon, MessageIcon::Exclamation);
    EXPECT_EQ(question.DefaultButton, MessageAnswer::No);
    EXPECT_EQ(question.Title, "Kelvaro Ver 1.0.0");
    EXPECT_EQ(session.ws.form.LineValues[LineSlot::Author], "作者");
    EXPECT_EQ(session.FormFilePath, "/x/a.ref");

    host.MessageAnswers.push_back(MessageAnswer::Yes);
    NewForm(session);
    EXPECT_EQ(session.ws.form.LineValues[LineSlot::Author], "");
    EXPECT_EQ(session.ws.form.Order, FreshWorkspace().form.Order);
    EXPECT_FALSE(session.ws.EmphasisEnabled); // the emphasis option stays
    EXPECT_TRUE(session.BoxFont.Font.Bold);   // and so does the font
    EXPECT_EQ(session.ws.form.SkipEmptyItems, 1);
    EXPECT_EQ(session.FormFilePath, "");
    EXPECT_EQ(session.WindowTitle, "Kelvaro Ver 1.0.0 --- ");
}

TEST_F(Lifecycle, SaveAsAddsRefAndSaveThenWritesSilently) {
    host.AnswerFile(dir.File("readme"));
    SaveForm(session); // no current file: save as
    ASSERT_EQ(host.FileDialogs.size(), 1u);
    const auto& dialog = host.FileDialogs[0];
    EXPECT_EQ(dialog.Kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.Title, "Kelvaroフォームの出力先指定");
    EXPECT_EQ(dialog.Filter, "Kelvaroフォーム (*.ref)|*.ref|すべてのファイル (*.*)|*.*");
    EXPECT_TRUE(dialog.Options.OverwritePrompt);
    EXPECT_EQ(session.FormFilePath, dir.File("readme.ref"));
    EXPECT_EQ(session.WindowTitle, "Kelvaro Ver 1.0.0 --- readme.ref");
    EXPECT_EQ(ReadBytes(dir.File("readme.ref")), test::ReadFixture("fresh_form.ref"));

    session.ws.EditorText = "typed, not committed";
    SaveForm(session);
    EXPECT_EQ(host.FileDialogs.size(), 1u);
    Workspace back = FreshWorkspace();
    ReadFormFile(back, dir.File("readme.ref"));
    EXPECT_EQ(back.form.LongTexts[0], "typed, not committed");

    host.AnswerFile(dir.File("README.REF"));
    SaveFormAs(session);
    EXPECT_EQ(session.FormFileTitle, "README.REF");
    // the shared dialog remembers the name it returned, before ".ref" was added
    EXPECT_EQ(host.FileDialogs.back().InitialFileName, dir.File("readme"));
    host.AnswerFile(dir.File("readme.txt"));
    SaveFormAs(session);
    EXPECT_EQ(session.FormFileTitle, "readme.txt.ref");
}

TEST_F(Lifecycle, AddedExtensionMatchingAnExistingFileIsConfirmed) {
    WriteBytes(dir.File("old.ref"), "precious");
    host.AnswerFile(dir.File("old"));
    host.MessageAnswers.push_back(MessageAnswer::No);
    SaveFormAs(session);
    EXPECT_EQ(host.LastMessage().Text,
              dir.File("old.ref") + " は既に存在します。\r\n上書きしますか？");
    EXPECT_EQ(host.LastMessage().DefaultButton, MessageAnswer::No);
    EXPECT_EQ(ReadBytes(dir.File("old.ref")), "precious");
    EXPECT_EQ(session.FormFilePath, "");

    host.AnswerFile(dir.File("old"));
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    SaveFormAs(session);
    EXPECT_EQ(ReadBytes(dir.File("old.ref")), test::ReadFixture("fresh_form.ref"));
}

TEST_F(Lifecycle, CancelledDialogsChangeNothing) {
    host.CancelFile();
    OpenForm(session);
    ExpectCancelled();
    host.CancelFile();
    SaveFormAs(session);
    ExpectCancelled();
    EXPECT_EQ(session.WindowTitle, "Kelvaro Ver 1.0.0");
    EXPECT_EQ(session.FormFilePath, "");
    EXPECT_EQ(session.ws.form, FreshWorkspace().form);
}

TEST_F(Lifecycle, OpenReadsTheFileAndNamesItInTheTitle) {
    Workspace other = FreshWorkspace();
    other.form.LineValues[LineSlot::SoftwareName] = "ソフト";
    SetUserName(other, 0, "独自1");
    const std::string path = dir.File("sample.ref");
    WriteFormFile(other, path);

    SelectLongItem(session.ws, 5);
    host.AnswerFile(path);
    OpenForm(session);
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(host.FileDialogs[0].Kind, FileDialogKind::Open);
    EXPECT_TRUE(host.FileDialogs[0].Options.FileMustExist);
    EXPECT_EQ(session.ws.form.LineValues[LineSlot::SoftwareName], "ソフト");
    EXPECT_EQ(session.ws.form.Order[17].Text, "独自1");
    EXPECT_EQ(session.ws.CurrentLongItem, 0);
    EXPECT_EQ(session.WindowTitle, "Kelvaro Ver 1.0.0 --- sample.ref");
    EXPECT_EQ(session.FormFilePath, path);
}

TEST_F(Lifecycle, FailedReadKeepsThePreviousFileCurrentAndTheTitle) {
    const std::string good = dir.File("good.ref");
    host.AnswerFile(good);
    SaveFormAs(session);
    const std::string title = session.WindowTitle;

    // A file cut off in the middle of the item order.
    std::string bytes = test::ReadFixture("fresh_form.ref");
    std::size_t cut = 0;
    for (int line = 0; line < 80; ++line) {
        cut = bytes.find("\r\n", cut) + 2;
    }
    WriteBytes(dir.File("cut.ref"), bytes.substr(0, cut));
    session.ws.form.LineValues[LineSlot::Author] = "before";
    host.AnswerFile(dir.File("cut.ref"));
    OpenForm(session);
    ExpectUnexpected(62);
    EXPECT_EQ(session.ws.form.LineValues[LineSlot::Author], ""); // read before the failure
    EXPECT_EQ(session.FormFilePath, good);
    EXPECT_EQ(session.WindowTitle, title);

    host.AnswerFile(dir.File("missing.ref"));
    OpenForm(session);
    ExpectUnexpected(53);
}

TEST_F(Lifecycle, SaveRefusesMarkerLinesAndAsksAboutUnrepresentableCharacters) {
    const std::string path = dir.File("f.ref");
    host.AnswerFile(path);
    SaveFormAs(session);
    const std::string saved = ReadBytes(path);

    SelectLongItem(session.ws, 2);
    session.ws.EditorText = "ok\r\n!%# not a marker";
    SaveForm(session);
    EXPECT_NE(host.LastMessage().Text.find("「特徴」"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), saved);

    session.ws.EditorText = "絵文字😀";
    host.MessageAnswers.push_back(MessageAnswer::No);
    SaveForm(session);
    EXPECT_EQ(host.LastMessage().Buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Exclamation);
    EXPECT_EQ(ReadBytes(path), saved);
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    SaveForm(session);
    Workspace back = FreshWorkspace();
    ReadFormFile(back, path);
    EXPECT_EQ(back.form.LongTexts[2], "絵文字?");
}

TEST_F(Lifecycle, FailedWriteReportsAndLeavesTheOldFile) {
    const std::string path = dir.File("keep.ref");
    WriteBytes(path, "old");
    session.FormFilePath = path;
    session.FormFileTitle = "keep.ref";
    SetWriteFaultHook([](std::string_view step) {
        if (step == "write") {
            throw RuntimeError(ErrorNo::DiskFull);
        }
    });
    SaveForm(session);
    SetWriteFaultHook({});
    ExpectUnexpected(61);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(session.WindowTitle, "Kelvaro Ver 1.0.0"); // not refreshed after a failed save

    session.FormFilePath = dir.File("no-such-folder/keep.ref");
    SaveForm(session);
    ExpectUnexpected(76);
}

TEST_F(Lifecycle, CloseDeletesTheBrowserPageWhateverTheAnswer) {
    const std::string page = dir.File("BrowserSample.html");
    WriteBytes(page, "<HTML>");
    host.MessageAnswers.push_back(MessageAnswer::No);
    EXPECT_FALSE(ConfirmClose(session));
    EXPECT_EQ(host.LastMessage().Text, "終了しますか？\r\n(作業中のデータを保存したい場合は\r\n"
                                       "[いいえ]を押してください。)");
    EXPECT_EQ(host.LastMessage().DefaultButton, MessageAnswer::No);
    EXPECT_THROW(ReadBytes(page), std::runtime_error);
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(ConfirmClose(session)); // no page: nothing to delete, no message
    EXPECT_EQ(host.Messages.size(), 2u);
}

} // namespace
} // namespace kelvaro

#include "templates/template_files.h"

#include "model/catalogue.h"
#include "model/long_text.h"
#include "platform/cp932.h"
#include "support/fixtures.h"
#include "template_session.h"
#include "templates/template_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const char* const kFilter = "テンプレート (*.txt)|*.txt|すべてのファイル (*.*)|*.*";

class TemplateFiles : public test::TemplateSession {
protected:
    void Save(const std::string& path) {
        host.AnswerFile(path);
        SaveTemplate(session);
    }

    // `where`: the message's fourth line without its brackets.
    void ExpectUnexpected(int number, const std::string& where) {
        ExpectOnlyMessage(test::ErrorLines(number) + "\r\n（" + where + "）", "Kelvaro",
                          MessageIcon::Critical);
    }
};

TEST_F(TemplateFiles, WithoutTheFolderBothCommandsAdviseDownloadingAndShowNoDialog) {
    for (auto command : {LoadTemplate, SaveTemplate}) {
        host.Messages.clear();
        session.ws.EditorText = "手元の文章\r\n";
        command(session);
        ExpectOnlyMessage("テンプレートフォルダ\r\n" + dir.File("Templates") +
                              "\r\nは、存在しません。\r\n開発元ホームページから、\r\n"
                              "最新版のテンプレートをダウンロードしてください。",
                          test::kProductAndVersion, MessageIcon::Exclamation);
        EXPECT_EQ(host.FileDialogs.size(), 0u);
        EXPECT_EQ(session.ws.EditorText, "手元の文章\r\n");
    }
    EXPECT_FALSE(std::filesystem::exists(session.TemplateFolder));
}

TEST_F(TemplateFiles, AFileNamedTemplatesPassesTheFolderTest) {
    WriteBytes(session.TemplateFolder, "");
    LoadTemplate(session);
    EXPECT_EQ(host.FileDialogs.size(), 1u);
    ExpectOnlyMessage("キャンセルされました。", test::kProductAndVersion, MessageIcon::Information);
}

TEST_F(TemplateFiles, DialogsStartInTheFolderFromTheLastChosenFile) {
    MakeFolder();
    Load("a\r\n");
    Save(InFolder("saved.txt"));
    LoadTemplate(session); // cancelled: the name chosen before stays remembered
    ASSERT_EQ(host.FileDialogs.size(), 3u);

    const FileDialogRequest& open = host.FileDialogs[0];
    EXPECT_EQ(open.Kind, FileDialogKind::Open);
    EXPECT_EQ(open.Title, "読み込むテンプレートの指定");
    EXPECT_EQ(open.Filter, kFilter);
    EXPECT_EQ(open.InitialFolder, session.TemplateFolder);
    EXPECT_EQ(open.InitialFileName, "");
    EXPECT_EQ(open.DefaultExtension, "");
    EXPECT_TRUE(open.Options.FileMustExist);
    EXPECT_TRUE(open.Options.HideReadOnly);
    EXPECT_FALSE(open.Options.OverwritePrompt);

    const FileDialogRequest& save = host.FileDialogs[1];
    EXPECT_EQ(save.Kind, FileDialogKind::Save);
    EXPECT_EQ(save.Title, "テンプレートの出力先指定");
    EXPECT_EQ(save.Filter, kFilter);
    EXPECT_EQ(save.InitialFolder, session.TemplateFolder);
    EXPECT_EQ(save.InitialFileName, InFolder("load.txt"));
    EXPECT_EQ(save.DefaultExtension, "");
    EXPECT_TRUE(save.Options.OverwritePrompt);
    EXPECT_TRUE(save.Options.HideReadOnly);
    EXPECT_FALSE(save.Options.FileMustExist);

    EXPECT_EQ(host.FileDialogs[2].InitialFileName, InFolder("saved.txt"));
}

TEST_F(TemplateFiles, CancellingEitherDialogSaysSoAndChangesNothing) {
    MakeFolder();
    for (auto command : {LoadTemplate, SaveTemplate}) {
        host.Messages.clear();
        session.ws.EditorText = "そのまま";
        host.CancelFile();
        command(session);
        ExpectOnlyMessage("キャンセルされました。", test::kProductAndVersion,
                          MessageIcon::Information);
        EXPECT_EQ(session.ws.EditorText, "そのまま");
    }
    EXPECT_TRUE(std::filesystem::is_empty(session.TemplateFolder));
    EXPECT_EQ(changes.Seen, std::vector<Change>{});
}

TEST_F(TemplateFiles, LoadedLinesAllEndWithCrLf) {
    MakeFolder();
    EXPECT_EQ(Load(""), "");
    EXPECT_EQ(Load(Utf8ToCp932("一行だけ")), "一行だけ\r\n");
    EXPECT_EQ(Load("a\r\nb"), "a\r\nb\r\n");
    EXPECT_EQ(Load("a\r\nb\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(Load("\r\n\r\n"), "\r\n\r\n");
    EXPECT_EQ(Load("a\rb\r"), "a\r\nb\r\n");
    EXPECT_EQ(Load("a\nb\n"), "a\nb\n\r\n");
    EXPECT_EQ(Load("\x83\x65\x83\x93\x83\x76\x83\x8c\x81\x5b\x83\x67\x87\x40"),
              "テンプレート①\r\n");
    EXPECT_EQ(host.Messages.size(), 0u);
    EXPECT_EQ(changes.Seen, std::vector<Change>(8, Change::LongText));
}

TEST_F(TemplateFiles, LoadingReplacesOnlyTheEditorOfTheCurrentItem) {
    MakeFolder();
    ASSERT_EQ(LongItemKey(12), "開発履歴");
    SelectLongItem(session.ws, 12);
    session.ws.EditorText = "1.0 初版";
    session.ws.form.LongTexts[3] = "ほかの項目";
    const Form before = session.ws.form;
    EXPECT_EQ(Load(Utf8ToCp932("1.1 修正\r\n")), "1.1 修正\r\n");
    EXPECT_EQ(session.ws.CurrentLongItem, 12);
    EXPECT_EQ(session.ws.form, before);
    EXPECT_EQ(session.FormFilePath, "");
    CommitLongText(session.ws);
    EXPECT_EQ(session.ws.form.LongTexts[12], "1.1 修正\r\n");
    EXPECT_EQ(session.ws.form.LongTexts[3], "ほかの項目");
}

TEST_F(TemplateFiles, ATemplateThatCannotBeReadKeepsTheEditor) {
    MakeFolder();
    session.ws.EditorText = "書きかけ";
    host.AnswerFile(InFolder("gone.txt"));
    LoadTemplate(session);
    ExpectUnexpected(ErrorNo::FileNotFound, InFolder("gone.txt") + ": ファイルが見つかりません");
    EXPECT_EQ(session.ws.EditorText, "書きかけ");

    host.Messages.clear();
    std::filesystem::create_directory(InFolder("folder.txt"));
    host.AnswerFile(InFolder("folder.txt"));
    LoadTemplate(session);
    ExpectUnexpected(ErrorNo::PathFileAccess,
                     InFolder("folder.txt") + ": ファイルではなくフォルダです");
    EXPECT_EQ(session.ws.EditorText, "書きかけ");
}

TEST_F(TemplateFiles, SavingAndLoadingAgainDoesNotGrowTheTemplate) {
    MakeFolder();
    const std::string path = InFolder("round.txt");
    session.ws.EditorText = "一行目\r\n二行目";
    Save(path);
    const std::string once = ReadBytes(path);
    EXPECT_EQ(once, Utf8ToCp932("一行目\r\n二行目\r\n"));
    for (int round = 0; round < 2; ++round) {
        host.AnswerFile(path);
        LoadTemplate(session);
        EXPECT_EQ(session.ws.EditorText, "一行目\r\n二行目\r\n");
        Save(path);
        EXPECT_EQ(ReadBytes(path), once);
    }

    // An empty editor gives an empty file, which loads back as empty.
    session.ws.EditorText = "";
    Save(path);
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(Load(""), "");
    EXPECT_EQ(host.Messages.size(), 0u);
}

TEST_F(TemplateFiles, ANameWithoutTxtGainsItAndAnExistingOneIsAskedAbout) {
    MakeFolder();
    std::filesystem::create_directory(dir.File("elsewhere"));
    session.ws.EditorText = "x";
    Save(InFolder("my-note"));
    EXPECT_EQ(ReadBytes(InFolder("my-note.txt")), "x\r\n");
    EXPECT_FALSE(std::filesystem::exists(InFolder("my-note")));
    EXPECT_TRUE(host.Messages.empty());
    // It is a template now: the viewer lists it.
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateList, std::vector<std::string>{"my-note.txt"});

    // Any folder will do, and a name ending in ".TXT" is left as it is.
    Save(dir.File("elsewhere/拡張子なし"));
    EXPECT_EQ(ReadBytes(dir.File("elsewhere/拡張子なし.txt")), "x\r\n");
    Save(InFolder("UPPER.TXT"));
    EXPECT_EQ(ReadBytes(InFolder("UPPER.TXT")), "x\r\n");
    EXPECT_FALSE(std::filesystem::exists(InFolder("UPPER.TXT.txt")));

    // The dialog asked about "my-note", not about "my-note.txt": asked here, No by default.
    session.ws.EditorText = "y";
    Save(InFolder("my-note"));
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.LastMessage().Text,
              InFolder("my-note.txt") + " は既に存在します。\r\n上書きしますか？");
    EXPECT_EQ(host.LastMessage().Buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.LastMessage().DefaultButton, MessageAnswer::No);
    EXPECT_EQ(ReadBytes(InFolder("my-note.txt")), "x\r\n");
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    Save(InFolder("my-note"));
    EXPECT_EQ(ReadBytes(InFolder("my-note.txt")), "y\r\n");
}

TEST_F(TemplateFiles, CharactersThatWouldChangeAreNamedAndNoIsTheDefault) {
    MakeFolder();
    const std::string path = InFolder("yen.txt");
    WriteBytes(path, "old\r\n");
    // ¥ has a CP932 code, but it reads back as "\"; 〜 reads back as ～.
    session.ws.EditorText = "yen ¥ 500 〜 顔😀です";

    Save(path);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(test::NamedChanges(host.LastMessage().Text),
              (std::vector<std::string>{"・「テンプレート」の「¥」→「\\」",
                                        "・「テンプレート」の「〜」→「～」",
                                        "・「テンプレート」の「😀」→「?」"}));
    EXPECT_EQ(host.LastMessage().Title, test::kProductAndVersion);
    EXPECT_EQ(host.LastMessage().Buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Exclamation);
    EXPECT_EQ(host.LastMessage().DefaultButton, MessageAnswer::No);
    EXPECT_EQ(ReadBytes(path), "old\r\n"); // the default answer writes nothing

    host.MessageAnswers.push_back(MessageAnswer::Yes);
    Save(path);
    EXPECT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(Cp932ToUtf8(ReadBytes(path)), "yen \\ 500 ～ 顔?です\r\n");

    // Text that comes back whole is written without a question.
    session.ws.EditorText = "円 ￥ 500 ～";
    Save(path);
    EXPECT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(Cp932ToUtf8(ReadBytes(path)), "円 ￥ 500 ～\r\n");
}

TEST_F(TemplateFiles, AFailedSaveReportsTheNumberAndLeavesNoFile) {
    MakeFolder();
    session.ws.EditorText = "x";
    Save(InFolder("missing/t.txt"));
    ExpectUnexpected(ErrorNo::PathNotFound,
                     InFolder("missing/t.txt") + ": フォルダが見つかりません");
    EXPECT_TRUE(std::filesystem::is_empty(session.TemplateFolder));
}

} // namespace
} // namespace kelvaro

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, LifecycleTest) {
    GTEST_SKIP() << "Linux only: POSIX modes and flock locks held by a child process";
}
#else
#include "files/lifecycle.h"

#include "files/form_file.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "session/edits.h"
#include "session/unsaved.h"
#include "support/change_log.h"
#include "support/fault_injector.h"
#include "support/fixtures.h"
#include "support/ordinary_user.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

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
        EXPECT_EQ(host.LastMessage().Title, test::kProductAndVersion);
        EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Information);
    }

    // The last message is the failure message for `number`; `where` is its
    // fourth line without the brackets: the file and the cause.
    void ExpectUnexpected(int number, const std::string& where) {
        ExpectUnexpectedAt(host.Messages.size() - 1, number, where);
    }
    void ExpectUnexpectedAt(std::size_t index, int number, const std::string& where) {
        ASSERT_LT(index, host.Messages.size());
        const MessageRequest& message = host.Messages[index];
        EXPECT_EQ(test::FirstLines(message.Text, 3), test::ErrorLines(number));
        EXPECT_EQ(test::FourthLine(message.Text), "（" + where + "）");
        EXPECT_EQ(message.Title, "Kelvaro");
        EXPECT_EQ(message.Icon, MessageIcon::Critical);
    }

    TempFolder dir;
    ScriptedHost host;
    Session session;
};

TEST_F(Lifecycle, StartUpTitleAndDefaults) {
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion);
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
    EXPECT_EQ(question.Title, test::kProductAndVersion);
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
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion + " --- ");
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
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion + " --- readme.ref");
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
    // the shared dialog remembers the name the file was written under, and
    // proposes it as a form file
    EXPECT_EQ(session.DialogFileName, dir.File("README.REF"));
    EXPECT_EQ(host.FileDialogs.back().InitialFileName, dir.File("readme.ref"));
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
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion);
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
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion + " --- sample.ref");
    EXPECT_EQ(session.FormFilePath, path);
}

TEST_F(Lifecycle, OpeningOverUnsavedWorkAsksAndNoKeepsTheForm) {
    const std::string path = dir.File("other.ref");
    WriteFormFile(session.ws, path);
    const std::function<void()> opens[] = {
        [&] {
            host.AnswerFile(path);
            OpenForm(session);
        },
        [&] { OpenFormPath(session, path); },
    };
    for (const auto& open : opens) {
        host.Messages.clear();
        host.FileAnswers.clear();
        session.ws.form.LineValues[LineSlot::Author] = "typed";
        NoteFormEdited(session);
        open(); // answered by its default, いいえ
        ASSERT_EQ(host.Messages.size(), 1U);
        EXPECT_EQ(host.Messages[0].Text,
                  "フォームの変更は保存されていません。保存せずに別のフォームを開きますか？");
        EXPECT_EQ(host.Messages[0].DefaultButton, MessageAnswer::No);
        EXPECT_EQ(host.Messages[0].Icon, MessageIcon::Exclamation);
        EXPECT_EQ(session.ws.form.LineValues[LineSlot::Author], "typed");

        host.MessageAnswers.push_back(MessageAnswer::Yes);
        host.FileAnswers.clear();
        open();
        EXPECT_EQ(session.ws.form.LineValues[LineSlot::Author], "");
        // Opened, the form holds nothing unsaved: the next open asks nothing.
        host.Messages.clear();
        open();
        EXPECT_TRUE(host.Messages.empty());
    }
}

// The fresh form's file cut after `lines` lines.
std::string CutForm(int lines) {
    std::string bytes = test::ReadFixture("fresh_form.ref");
    std::size_t cut = 0;
    for (int line = 0; line < lines; ++line) {
        cut = bytes.find("\r\n", cut) + 2;
    }
    return bytes.substr(0, cut);
}

constexpr const char* kShowWhatWasRead =
    "読み込めたところまでを、名前のない新しいフォームとして表示しますか？";

TEST_F(Lifecycle, ACutFileOpenedOverAFilledFormChangesNothingAndSaveKeepsTheGoodFile) {
    const std::string good = dir.File("good.ref");
    session.ws.form.LineValues[LineSlot::Author] = "作者";
    session.ws.form.LongTexts[4] = "仕様";
    host.AnswerFile(good);
    SaveFormAs(session);
    const std::string goodBytes = ReadBytes(good);
    // Edits after the save, in the form and in the editor, typed but not stored.
    session.ws.form.LineValues[LineSlot::SoftwareName] = "編集中";
    SelectLongItem(session.ws, 7);
    session.ws.EditorText = "書きかけ";
    const Workspace before = session.ws;
    const std::string title = session.WindowTitle;

    // A file cut off in the middle of the item order.
    WriteBytes(dir.File("cut.ref"), CutForm(80));
    host.AnswerFile(dir.File("cut.ref"));
    OpenForm(session); // the offer is answered by its default, No
    ASSERT_EQ(host.Messages.size(), 2u);
    ExpectUnexpectedAt(0, ErrorNo::InputPastEnd,
                       dir.File("cut.ref") + ": ファイルが途中で終わっています" +
                           "（フォームファイルではないか、壊れています）");
    EXPECT_EQ(host.Messages[1].Text, kShowWhatWasRead);
    EXPECT_EQ(host.Messages[1].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.Messages[1].DefaultButton, MessageAnswer::No);
    EXPECT_EQ(host.Messages[1].Title, test::kProductAndVersion);
    EXPECT_EQ(session.ws.form, before.form);
    EXPECT_EQ(session.ws.EditorText, "書きかけ");
    EXPECT_EQ(session.ws.CurrentLongItem, 7);
    EXPECT_EQ(session.FormFilePath, good);
    EXPECT_EQ(session.WindowTitle, title);

    // 上書き保存 writes the form in hand over the good file, nothing of the cut one.
    SaveForm(session);
    Workspace back = FreshWorkspace();
    ReadFormFile(back, good);
    EXPECT_EQ(back.form.LineValues[LineSlot::Author], "作者");
    EXPECT_EQ(back.form.LineValues[LineSlot::SoftwareName], "編集中");
    EXPECT_EQ(back.form.LongTexts[4], "仕様");
    EXPECT_EQ(back.form.LongTexts[7], "書きかけ");
    EXPECT_NE(ReadBytes(good), goodBytes);

    host.Messages.clear();
    host.AnswerFile(dir.File("missing.ref"));
    OpenForm(session);
    ASSERT_EQ(host.Messages.size(), 1u); // nothing was read: no offer
    ExpectUnexpected(ErrorNo::FileNotFound, dir.File("missing.ref") + ": ファイルが見つかりません");
}

TEST_F(Lifecycle, ATemplateOpenedAsAFormLeavesTheFormAndItsFile) {
    const std::string good = dir.File("good.ref");
    session.ws.form.LineValues[LineSlot::Author] = "作者";
    host.AnswerFile(good);
    SaveFormAs(session);
    const std::string goodBytes = ReadBytes(good);
    const Form before = session.ws.form;

    // Lines enough for the single-line values, then no long-text block.
    const std::string tmpl = dir.File("謝辞.txt");
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "テンプレートの" + std::to_string(i) + "行目\r\n";
    }
    WriteBytes(tmpl, Utf8ToCp932(text));
    host.AnswerFile(tmpl);
    host.MessageAnswers.push_back(MessageAnswer::Ok);
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    OpenForm(session);
    ASSERT_EQ(host.Messages.size(), 1u); // no form: no offer to show what was read
    ExpectUnexpectedAt(0, ErrorNo::InputPastEnd,
                       tmpl + ": ファイルが途中で終わっています" +
                           "（フォームファイルではないか、壊れています）");
    EXPECT_EQ(session.ws.form, before);
    EXPECT_EQ(session.FormFilePath, good);
    SaveForm(session);
    EXPECT_EQ(ReadBytes(good), goodBytes);
}

TEST_F(Lifecycle, WhatWasReadIsShownOnlyOnYesAsANewFormWithoutAFile) {
    const std::string good = dir.File("good.ref");
    host.AnswerFile(good);
    SaveFormAs(session);
    session.ws.form.LineValues[LineSlot::Author] = "前のフォーム";
    session.ws.form.LineValues[LineSlot::Mail] = "前のメール";
    session.ws.form.LongTexts[3] = "前の長文";
    session.ws.form.PauseChars = "＃";

    // A file of a form of its own, cut in the HTML settings after the item order.
    Workspace other = FreshWorkspace();
    other.form.LineValues[LineSlot::Author] = "読めた作者";
    other.form.LongTexts[0] = "読めた長文";
    SetUserName(other, 0, "独自1");
    std::string bytes = Utf8ToCp932(FormFileText(other.form));
    bytes = bytes.substr(0, bytes.find("#FFFFFF\r\n") + 9);
    WriteBytes(dir.File("part.ref"), bytes);

    host.AnswerFile(dir.File("part.ref"));
    host.MessageAnswers.push_back(MessageAnswer::Ok);
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    test::ChangeLog changes(session);
    OpenForm(session);
    ASSERT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Messages[1].Text, kShowWhatWasRead);
    // The values read, on top of a new form's defaults: nothing of the form before,
    // and the user item's entry in the order read shows its name.
    EXPECT_EQ(session.ws.form, other.form);
    EXPECT_EQ(session.ws.form.Order[17].Text, "独自1");
    EXPECT_EQ(session.ws.EditorText, "読めた長文");
    EXPECT_EQ(session.FormFilePath, "");
    EXPECT_EQ(session.FormFileTitle, "");
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion + " --- ");
    EXPECT_NE(std::find(changes.Seen.begin(), changes.Seen.end(), Change::Form),
              changes.Seen.end());

    // Saving it asks for a name instead of writing over a file.
    SaveForm(session);
    EXPECT_EQ(host.FileDialogs.back().Kind, FileDialogKind::Save);
}

TEST_F(Lifecycle, AnOpenTakesFromTheFileOnlyWhatItHolds) {
    // A form whose order leaves out an item that is bold by default, and whose
    // preview mode is HTML(Text).
    Workspace other = FreshWorkspace();
    const auto bold =
        std::find_if(other.form.Order.begin(), other.form.Order.end(),
                     [&](const OrderEntry& e) { return ItemIsEmphasised(other, e.Key); });
    ASSERT_NE(bold, other.form.Order.end());
    const std::string unlisted = bold->Key;
    other.form.Order.erase(bold);
    other.form.PreviewMode = 1;
    WriteBytes(dir.File("other.ref"), Utf8ToCp932(FormFileText(other.form)));

    SetItemEmphasis(session.ws, unlisted, false);
    session.PreviewMarkdown = true;
    host.AnswerFile(dir.File("other.ref"));
    OpenForm(session);
    ASSERT_EQ(session.FormFilePath, dir.File("other.ref"));
    EXPECT_FALSE(ItemIsEmphasised(session.ws, unlisted)) << unlisted;
    EXPECT_FALSE(session.PreviewMarkdown);
    EXPECT_EQ(session.ws.form.PreviewMode, 1);
}

TEST_F(Lifecycle, AFormFileWhoseLineEndsBecameLfOpens) {
    Workspace other = FreshWorkspace();
    other.form.LineValues[LineSlot::SoftwareName] = "ソフト";
    other.form.LongTexts[2] = "一行目\r\n二行目";
    other.form.Order.back().Checked = !other.form.Order.back().Checked;
    std::string bytes = Utf8ToCp932(FormFileText(other.form));
    std::string lf;
    for (char c : bytes) {
        if (c != '\r') {
            lf += c;
        }
    }
    WriteBytes(dir.File("lf.ref"), lf);
    host.AnswerFile(dir.File("lf.ref"));
    OpenForm(session);
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(session.ws.form, other.form);
    EXPECT_EQ(session.FormFilePath, dir.File("lf.ref"));

    // Saved again it has CR LF line ends, as every form file the program writes.
    SaveForm(session);
    EXPECT_EQ(ReadBytes(dir.File("lf.ref")), bytes);
}

// A form file an editor converted to UTF-8 is asked about: はい reads it as
// UTF-8, いいえ as CP932 as ever, and the program's own files are not asked about.
TEST_F(Lifecycle, AFormFileInUtf8IsReadAsUtf8WhenTheUserSaysSo) {
    Workspace other = FreshWorkspace();
    other.form.LineValues[LineSlot::SoftwareName] = "ソフト①～";
    other.form.LongTexts[2] = "一行目\r\n二行目";
    const std::string utf8 = FormFileText(other.form);
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<MessageAnswer> answer; // nullopt: nothing is asked
    };
    const std::string path = dir.File("form.ref");
    for (const Case& c :
         {Case{"the program's CP932", test::ReadFixture("fresh_form.ref"), {}},
          Case{"CP932 of the form", Utf8ToCp932(utf8), {}},
          Case{"UTF-8, no", utf8, MessageAnswer::No},
          Case{"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + utf8, MessageAnswer::Yes},
          Case{"UTF-8, yes", utf8, MessageAnswer::Yes}}) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.bytes);
        Workspace asCp932 = FreshWorkspace();
        bool looksUtf8 = !c.answer;
        ReadFormFile(asCp932, path, &looksUtf8); // as kelvaro-compose reads it
        EXPECT_EQ(looksUtf8, c.answer.has_value());

        host.Messages.clear();
        host.MessageAnswers = {c.answer.value_or(MessageAnswer::Yes)};
        OpenFormPath(session, path);
        ASSERT_EQ(host.Messages.size(), c.answer ? 1U : 0U);
        if (c.answer) {
            EXPECT_EQ(host.Messages[0].Text,
                      path + " は UTF-8 で保存されているようです。UTF-8 として読み込みますか？");
            EXPECT_EQ(host.Messages[0].DefaultButton, MessageAnswer::No);
        }
        const bool asUtf8 = c.answer == MessageAnswer::Yes;
        EXPECT_EQ(session.ws.form, asUtf8 ? other.form : asCp932.form);
        // Read as UTF-8 the file is not what a save writes: the form is unsaved.
        EXPECT_EQ(HasUnsavedChanges(session), asUtf8);
        MarkFormClean(session); // the next open asks nothing else
    }
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
    {
        test::FaultAt fault("write", ErrorNo::DiskFull);
        SaveForm(session);
    }
    ExpectUnexpected(ErrorNo::DiskFull, path + ": ディスクの空き容量が足りません");
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(session.WindowTitle, test::kProductAndVersion); // not refreshed after a failed save

    session.FormFilePath = dir.File("no-such-folder/keep.ref");
    SaveForm(session);
    ExpectUnexpected(ErrorNo::PathNotFound,
                     dir.File("no-such-folder/keep.ref") + ": フォルダが見つかりません");
}

TEST_F(Lifecycle, ASaveAsThatFailsLeavesTheFileBeforeCurrent) {
    // Into a folder the user may not write: only an ordinary user is stopped by
    // its mode, so that part runs as one.
    std::filesystem::permissions(dir.Path(), std::filesystem::perms(0755));
    std::filesystem::create_directory(dir.File("mine"));
    std::filesystem::permissions(dir.File("mine"), std::filesystem::perms(0777));
    std::filesystem::create_directory(dir.File("readonly"));
    std::filesystem::permissions(dir.File("readonly"), std::filesystem::perms(0555));
    const std::string good = dir.File("mine/good.ref");
    const std::string refused = dir.File("readonly/new.ref");

    const auto report = test::RunAsOrdinaryUser([&]() -> std::string {
        std::string problems;
        auto check = [&](bool ok, const std::string& what) {
            if (!ok) {
                problems += what + "\n";
            }
        };
        ScriptedHost userHost;
        Session s(userHost, dir.Path());
        StartUp(s);
        userHost.AnswerFile(good);
        SaveFormAs(s);
        check(userHost.Messages.empty(), "the first save failed");
        s.ws.form.LineValues[LineSlot::Author] = "保存後の変更";
        userHost.AnswerFile(dir.File("readonly/new"));
        SaveFormAs(s);
        check(userHost.Messages.size() == 1, "not one message for the refused save");
        const std::string text = userHost.Messages.empty() ? "" : userHost.Messages[0].Text;
        check(test::FirstLines(text, 3) == test::ErrorLines(ErrorNo::PermissionDenied), text);
        check(test::FourthLine(text) == "（" + refused + ": フォルダに書き込む権限がありません）",
              test::FourthLine(text));
        check(s.FormFilePath == good, "current file: " + s.FormFilePath);
        check(s.FormFileTitle == "good.ref", "file title: " + s.FormFileTitle);
        check(s.WindowTitle == test::kProductAndVersion + " --- good.ref",
              "title: " + s.WindowTitle);
        // 上書き保存 goes where the form came from.
        SaveForm(s);
        check(userHost.Messages.size() == 1, "上書き保存 showed a message");
        return problems;
    });
    if (!report) {
        GTEST_SKIP() << "cannot run as an ordinary user here";
    }
    EXPECT_EQ(*report, "");
    Workspace back = FreshWorkspace();
    ReadFormFile(back, good);
    EXPECT_EQ(back.form.LineValues[LineSlot::Author], "保存後の変更");
    EXPECT_FALSE(PathExists(refused));
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("readonly")));
}

TEST_F(Lifecycle, ALineBreakInAValueRefusesTheSaveAndNamesTheItem) {
    const std::string path = dir.File("f.ref");
    host.AnswerFile(path);
    SaveFormAs(session);
    const std::string saved = ReadBytes(path);

    // A user item's name with a line break and a block end after it: written as
    // it stands, the file would end that item's long text early and read back shifted.
    SetUserName(session.ws, 2, "名\r\n!%#");
    SaveForm(session);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.LastMessage().Text,
              "「追加3の項目名」に改行が含まれています。\r\n"
              "１行の項目の改行はフォームファイルに保存できないため、保存を中止しました。\r\n"
              "改行を取り除いてから、もう一度保存してください。");
    EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Exclamation);
    EXPECT_EQ(ReadBytes(path), saved);

    SetUserName(session.ws, 2, "名");
    session.ws.form.HtmlSettings[HtmlSetting::TopicStyle] = "color:red;\r";
    SaveForm(session);
    EXPECT_EQ(host.LastMessage().Text.substr(0, host.LastMessage().Text.find("\r\n")),
              "「HTMLの括弧項目」に改行が含まれています。");
    EXPECT_EQ(ReadBytes(path), saved);
}

TEST_F(Lifecycle, CharactersThatWouldChangeInTheFormFileAreNamedWithTheirItems) {
    const std::string path = dir.File("f.ref");
    host.AnswerFile(path);
    SaveFormAs(session);
    const std::string saved = ReadBytes(path);

    session.ws.form.LineValues[LineSlot::SharewarePrice] = "¥ 500";
    SelectLongItem(session.ws, 12);
    session.ws.EditorText = "1.0 〜 1.1 — 修正"; // committed by the save
    SaveForm(session);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(
        test::NamedChanges(host.LastMessage().Text),
        (std::vector<std::string>{"・「ｼｪｱｳｪｱ代金」の「¥」→「\\」", "・「開発履歴」の「〜」→「～」",
                                  "・「開発履歴」の「—」→「―」"}));
    EXPECT_EQ(host.LastMessage().DefaultButton, MessageAnswer::No);
    EXPECT_EQ(ReadBytes(path), saved);

    // Beyond five, the rest are only mentioned.
    session.ws.EditorText = "¢ £ ¬ ‖ − ‾ 😀";
    SaveForm(session);
    const std::string text = host.LastMessage().Text;
    EXPECT_NE(text.find("・「開発履歴」の「‖」→「∥」\r\nほかにもあります。\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(ReadBytes(path), saved);
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

// 上書き保存 over a file that another program (or another window) saved since
// it was opened or last saved here asks first, No by default; No writes
// nothing and keeps the form. A file left as it was is written without a word.
TEST_F(Lifecycle, SaveAsksBeforeReplacingAFileChangedSinceItWasRead) {
    const std::string path = dir.File("shared.ref");
    session.ws.form.LineValues[LineSlot::Author] = "最初";
    host.FileAnswers.push_back(FileDialogResult{path, "shared.ref"});
    SaveFormAs(session);
    const std::string others = ReadBytes(path) + "\r\n";
    struct Case {
        bool changedOnDisk;
        MessageAnswer answer;
        bool written;
    };
    for (const Case c :
         {Case{false, MessageAnswer::Yes, true}, Case{true, MessageAnswer::No, false},
          Case{true, MessageAnswer::Yes, true}}) {
        if (c.changedOnDisk) {
            WriteBytes(path, others);
        }
        const std::string before = ReadBytes(path);
        host.Messages.clear();
        host.MessageAnswers.push_back(c.answer);
        session.ws.form.LineValues[LineSlot::Author] += "+";
        const Form form = session.ws.form;
        SaveForm(session);
        EXPECT_EQ(host.Messages.size(), c.changedOnDisk ? 1u : 0u);
        if (c.changedOnDisk && !host.Messages.empty()) {
            EXPECT_EQ(
                host.LastMessage().Text,
                path + " は、開いた後にほかのプログラムによって変更されています。上書きしますか？");
            EXPECT_EQ(host.LastMessage().DefaultButton, MessageAnswer::No);
        } else {
            host.MessageAnswers.clear();
        }
        EXPECT_EQ(ReadBytes(path) != before, c.written);
        EXPECT_EQ(session.ws.form, form);
    }
}

} // namespace
} // namespace kelvaro
#endif

#include "compose/output.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "model/defaults.h"
#include "model/item_order.h"
#include "platform/app_info.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/change_log.h"
#include "support/fault_injector.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::ReadFixture;
using test::WriteBytes;
using Documents = std::vector<std::pair<std::string, std::string>>;

// The worked examples as the clipboard and the preview hold them: Unicode,
// without the line end the file writer adds.
std::string Composed(const std::string& fixture) {
    std::string text = Cp932ToUtf8(ReadFixture(fixture));
    return text.substr(0, text.size() - 2);
}

using test::FaultAt;

class Output : public ::testing::Test {
protected:
    Output() : s(host, folder.Path()) { s.ws = FreshWorkspace(); }

    // Exactly one message, the unexpected-error one, and it is taken off the record.
    // `where` is its fourth line without the brackets: the file and the cause.
    void ExpectOnlyError(int number, const std::string& where) {
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(test::FirstLines(host.Messages[0].Text, 3), test::ErrorLines(number));
        EXPECT_EQ(test::FourthLine(host.Messages[0].Text), "（" + where + "）");
        EXPECT_EQ(host.Messages[0].Title, AppInfoString(AppInfo::ProductName));
        EXPECT_EQ(host.Messages[0].Icon, MessageIcon::Critical);
        host.Messages.clear();
    }

    std::string Page() const { return folder.File("BrowserSample.html"); }

    test::TempFolder folder;
    test::ScriptedHost host;
    Session s;
    test::ChangeLog changes{s};
};

TEST_F(Output, FileModesWriteTheWorkedExamplesWhereTheSaveDialogSays) {
    WriteBytes(folder.File("readme.txt"), std::string(5000, 'x')); // replaced, not appended to
    host.AnswerFile(folder.File("readme.txt"));
    host.AnswerFile(folder.File("readme.html"));
    host.AnswerFile(folder.File("readme")); // typed without an extension
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File});
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});

    EXPECT_EQ(ReadBytes(folder.File("readme.txt")), ReadFixture("default_readme.txt"));
    EXPECT_EQ(ReadBytes(folder.File("readme.html")), ReadFixture("default_readme.html"));
    EXPECT_EQ(ReadBytes(folder.File("readme")), ReadFixture("default_readme.txt"));
    EXPECT_TRUE(host.Messages.empty());

    ASSERT_EQ(host.FileDialogs.size(), 3u);
    const FileDialogRequest& text = host.FileDialogs[0];
    EXPECT_EQ(text.Kind, FileDialogKind::Save);
    EXPECT_EQ(text.Title, "ReadMeファイルの出力先指定");
    // The first filter, which the dialog opens with, is as it always was.
    EXPECT_EQ(text.Filter, "テキストファイル (*.txt)|*.txt|テキストファイル UTF-8 (*.txt)|*.txt|"
                           "すべてのファイル (*.*)|*.*");
    EXPECT_EQ(text.Options.OverwritePrompt, true);
    EXPECT_EQ(text.Options.HideReadOnly, true);
    EXPECT_EQ(text.DefaultExtension, "");
    EXPECT_EQ(host.FileDialogs[1].Filter,
              "HTMLファイル (*.html, *htm)|*.html;*.htm|HTMLファイル UTF-8・HTML5 (*.html)|*.html|"
              "すべてのファイル (*.*)|*.*");
    // every dialog starts from the folder and name the one before chose, with
    // the extension of its own kind
    EXPECT_EQ(host.FileDialogs[1].InitialFileName, folder.File("readme.html"));
    EXPECT_EQ(host.FileDialogs[2].InitialFileName, folder.File("readme.txt"));
}

TEST_F(Output, SecondFilterWritesUtf8TextOrTheHtml5Page) {
    host.AnswerFile(folder.File("utf8.txt"), 1);
    host.AnswerFile(folder.File("page.html"), 1);
    host.AnswerFile(folder.File("any.txt"), 2); // all files: what the first filter writes
    host.AnswerFile(folder.File("any.html"), 2);
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File});
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File});
    EXPECT_TRUE(host.Messages.empty());

    EXPECT_EQ(ReadBytes(folder.File("utf8.txt")),
              Cp932ToUtf8(ReadFixture("default_readme.txt"))); // CR LF, no BOM
    EXPECT_EQ(ReadBytes(folder.File("page.html")),
              ComposeReadMe(s.ws.form, ReadMeFormat::Html5) + "\n");
    EXPECT_EQ(ReadBytes(folder.File("any.txt")), ReadFixture("default_readme.txt"));
    EXPECT_EQ(ReadBytes(folder.File("any.html")), ReadFixture("default_readme.html"));
}

TEST_F(Output, MarkdownFileProposesReadmeMdInTheLastFolder) {
    s.DialogFileName = folder.File("ReadMe.txt");
    host.AnswerFile(folder.File("README.md"));
    GenerateReadMe(s, {ReadMeFormat::Markdown, OutputDestination::File});
    ASSERT_EQ(host.FileDialogs.size(), 1u);
    const FileDialogRequest& dialog = host.FileDialogs[0];
    EXPECT_EQ(dialog.Kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.Title, "ReadMeファイルの出力先指定");
    EXPECT_EQ(dialog.Filter, "Markdownファイル (*.md)|*.md|すべてのファイル (*.*)|*.*");
    EXPECT_EQ(dialog.InitialFileName, folder.File("README.md"));
    EXPECT_EQ(dialog.Options.OverwritePrompt, true);
    EXPECT_EQ(ReadBytes(folder.File("README.md")),
              ComposeReadMe(s.ws.form, ReadMeFormat::Markdown) + "\n");
    EXPECT_EQ(s.DialogFileName, folder.File("README.md"));
    EXPECT_TRUE(host.Messages.empty());

    // Nothing chosen before: the name alone, wherever the dialog opens.
    s.DialogFileName.clear();
    GenerateReadMe(s, {ReadMeFormat::Markdown, OutputDestination::File}); // cancelled
    ASSERT_EQ(host.FileDialogs.size(), 2u);
    EXPECT_EQ(host.FileDialogs[1].InitialFileName, "README.md");
    EXPECT_EQ(host.LastMessage().Text, "キャンセルされました。");
}

TEST_F(Output, MarkdownOnTheClipboard) {
    s.ws.EditorText = "解凍してください。"; // typed, not yet stored
    GenerateReadMe(s, {ReadMeFormat::Markdown, OutputDestination::Clipboard});
    ASSERT_EQ(host.ClipboardTexts.size(), 1u);
    EXPECT_EQ(host.ClipboardTexts[0], ComposeReadMe(s.ws.form, ReadMeFormat::Markdown));
    EXPECT_NE(host.ClipboardTexts[0].find("## アーカイブ内容\n\n解凍してください。"),
              std::string::npos);
    EXPECT_EQ(host.LastMessage().Text, "クリップボードへの出力が完了しました。");
}

TEST_F(Output, MarkdownPreviewIsNotStoredInTheForm) {
    SelectPreviewMode(s, 1);
    const std::string formFile = FormFileText(s.ws.form);
    changes.Seen.clear();
    SelectPreviewMode(s, MarkdownPreviewOption);
    EXPECT_EQ(s.PreviewText, ComposeReadMe(s.ws.form, ReadMeFormat::Markdown));
    EXPECT_EQ(PreviewOption(s), MarkdownPreviewOption);
    EXPECT_EQ(s.ws.form.PreviewMode, 1);
    EXPECT_EQ(FormFileText(s.ws.form), formFile);
    EXPECT_FALSE(changes.Seen.empty());
    // Refreshing (showing the page again) keeps the Markdown.
    s.ws.EditorText = "変更";
    RefreshPreview(s);
    EXPECT_NE(s.PreviewText.find("変更"), std::string::npos);
    EXPECT_EQ(PreviewOption(s), MarkdownPreviewOption);

    SelectPreviewMode(s, 0);
    EXPECT_EQ(PreviewOption(s), 0);
    EXPECT_EQ(s.ws.form.PreviewMode, 0);
    EXPECT_TRUE(s.PreviewText.starts_with("*****"));
    SelectPreviewMode(s, 4); // no such option
    EXPECT_EQ(PreviewOption(s), 0);
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(Output, CancelTouchesNoFileAndComposesNothing) {
    WriteBytes(folder.File("old.txt"), "old\r\n");
    s.DialogFileName = folder.File("old.txt");
    s.ws.form.Order.push_back(OrderEntry{"XYZ", "XYZ", true}); // reported if it were composed
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File}); // the host cancels

    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text, "キャンセルされました。");
    EXPECT_EQ(host.Messages[0].Title, AppInfoString(AppInfo::ProductAndVersion));
    EXPECT_EQ(host.Messages[0].Icon, MessageIcon::Information);
    EXPECT_EQ(ReadBytes(folder.File("old.txt")), "old\r\n");
    EXPECT_EQ(ListFileNames(folder.Path()), std::vector<std::string>{"old.txt"});
    EXPECT_EQ(s.DialogFileName, folder.File("old.txt"));
}

TEST_F(Output, ClipboardGetsTheReadMeWithoutFinalLineEndAndTheEditorsText) {
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Clipboard});
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::Clipboard});
    s.ws.EditorText = "解凍してください。"; // アーカイブ内容, typed but not yet stored
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Clipboard});

    ASSERT_EQ(host.ClipboardTexts.size(), 3u);
    EXPECT_EQ(host.ClipboardTexts[0], Composed("default_readme.txt"));
    EXPECT_EQ(host.ClipboardTexts[1], Composed("default_readme.html"));
    EXPECT_NE(host.ClipboardTexts[2].find("【アーカイブ内容】\r\n解凍してください。\r\n"),
              std::string::npos);
    ASSERT_EQ(host.Messages.size(), 3u); // after every output
    EXPECT_EQ(host.Messages[2].Text, "クリップボードへの出力が完了しました。");
    EXPECT_EQ(host.Messages[2].Title, AppInfoString(AppInfo::ProductAndVersion));
    EXPECT_EQ(host.Messages[2].Icon, MessageIcon::Information);
    EXPECT_TRUE(host.FileDialogs.empty());
}

TEST_F(Output, PreviewFollowsThePreviewMode) {
    RefreshPreview(s);
    EXPECT_EQ(s.PreviewText, Composed("default_readme.txt"));
    SelectPreviewMode(s, 1);
    EXPECT_EQ(s.PreviewText, Composed("default_readme.html"));
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_TRUE(host.FileDialogs.empty());
    EXPECT_FALSE(PathExists(Page()));

    // A form file may leave no mode selected: the box keeps what it shows.
    s.ws.form.PreviewMode = -1;
    s.ws.EditorText = "changed";
    changes.Seen.clear();
    RefreshPreview(s);
    EXPECT_EQ(s.PreviewText, Composed("default_readme.html"));
    EXPECT_TRUE(changes.Seen.empty());
}

TEST_F(Output, BrowserPreviewWritesAndOpensThePageThenShowsTheSource) {
    WriteBytes(Page(), "an older page");
    SelectPreviewMode(s, 2);
    EXPECT_EQ(ReadBytes(Page()), ReadFixture("default_readme.html"));
    EXPECT_EQ(host.OpenedDocuments, (Documents{{Page(), folder.Path()}}));
    EXPECT_EQ(s.ws.form.PreviewMode, 1);
    EXPECT_EQ(s.PreviewText, Composed("default_readme.html"));
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(Output, BrowserPageThatCannotBeWrittenStillEndsInHtmlText) {
    {
        FaultAt fault("write", [] { throw RuntimeError(ErrorNo::DiskFull); });
        SelectPreviewMode(s, 2);
    }
    ExpectOnlyError(ErrorNo::DiskFull, Page() + ": ディスクの空き容量が足りません");
    EXPECT_TRUE(host.OpenedDocuments.empty());
    EXPECT_FALSE(PathExists(Page()));
    EXPECT_EQ(s.ws.form.PreviewMode, 1);
    EXPECT_EQ(s.PreviewText, Composed("default_readme.html"));
}

TEST_F(Output, FailedWritesKeepTheTargetAndTheForm) {
    WriteBytes(folder.File("keep.txt"), "previous\r\n");
    const Form before = s.ws.form;
    {
        FaultAt fault("rename", [] { throw RuntimeError(ErrorNo::DeviceIo); });
        host.AnswerFile(folder.File("keep.txt"));
        GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    }
    ExpectOnlyError(ErrorNo::DeviceIo,
                    folder.File("keep.txt") + ": ディスクの読み書きに失敗しました");
    {
        FaultAt fault("write", [] { throw std::bad_alloc(); });
        host.AnswerFile(folder.File("keep.txt"));
        GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File});
    }
    ExpectOnlyError(ErrorNo::OutOfMemory, "メモリが足りません");
    EXPECT_EQ(ReadBytes(folder.File("keep.txt")), "previous\r\n");
    EXPECT_EQ(s.ws.form, before);

    host.AnswerFile(folder.File("missing/readme.txt"));
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    ExpectOnlyError(ErrorNo::PathNotFound,
                    folder.File("missing/readme.txt") + ": フォルダが見つかりません");
}

// What the editor holds is written with its references expanded, in the
// preview and on the clipboard alike, and the form keeps the reference.
TEST_F(Output, PreviewAndClipboardShowReferencesExpanded) {
    s.ws.form.LineValues[LineSlot::ArchiveName] = "pochimemo121.zip";
    s.ws.EditorText = "{{アーカイブ名}} を展開";
    Form expanded = s.ws.form;
    expanded.LongTexts[static_cast<std::size_t>(s.ws.CurrentLongItem)] = "pochimemo121.zip を展開";
    for (ReadMeFormat format : {ReadMeFormat::Text, ReadMeFormat::Markdown, ReadMeFormat::Html5}) {
        GenerateReadMe(s, {format, OutputDestination::Preview});
        GenerateReadMe(s, {format, OutputDestination::Clipboard});
        EXPECT_EQ(s.PreviewText, ComposeReadMe(expanded, format));
        EXPECT_EQ(host.ClipboardTexts.back(), s.PreviewText);
    }
    EXPECT_EQ(s.ws.form.LongTexts[static_cast<std::size_t>(s.ws.CurrentLongItem)],
              "{{アーカイブ名}} を展開");
}

TEST_F(Output, UnknownKeysAreShownAtOnceAndTheWalkGoesOn) {
    auto& order = s.ws.form.Order;
    order.insert(order.begin() + 4, OrderEntry{"XYZ", "XYZ", true});
    order.insert(order.begin() + 7, OrderEntry{"作者名 ", "作者名 ", true});
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Preview});

    ASSERT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Messages[0].Text, "5 / XYZ");
    EXPECT_EQ(host.Messages[0].Title, AppInfoString(AppInfo::ProductName));
    EXPECT_EQ(host.Messages[0].Icon, MessageIcon::None);
    EXPECT_EQ(host.Messages[1].Text, "8 / 作者名 ");
    EXPECT_EQ(s.PreviewText, Composed("default_readme.txt")); // they write nothing
}

TEST_F(Output, FailuresBeforeDeliveryDeliverNothing) {
    s.ws.form.PauseCount = "2147483648";
    s.PreviewText = "earlier";
    host.AnswerFile(folder.File("over.txt"));
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    ExpectOnlyError(ErrorNo::Overflow, "区切り線の回数が大きすぎます");
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Clipboard});
    ExpectOnlyError(ErrorNo::Overflow, "区切り線の回数が大きすぎます");
    RefreshPreview(s);
    ExpectOnlyError(ErrorNo::Overflow, "区切り線の回数が大きすぎます");
    EXPECT_FALSE(PathExists(folder.File("over.txt")));
    EXPECT_TRUE(host.ClipboardTexts.empty());
    EXPECT_EQ(s.PreviewText, "earlier");

    s.ws.form.PauseCount = "78";
    host.ClipboardFails = true;
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::Clipboard});
    ExpectOnlyError(ErrorNo::ClipboardOpen,
                    "クリップボードを使えません"); // and no completion message
}

TEST_F(Output, ACountPastTheBoundNeedsASeparatorToFail) {
    UncheckAll(s.ws);
    s.ws.form.Order[1].Checked = true; // 作者名
    s.ws.form.LineValues[LineSlot::Author] = "山田";
    s.ws.form.PauseCount = "5000000";
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Preview});
    EXPECT_EQ(s.PreviewText, "【   作者名   】　山田\r\n");
    host.AnswerFile(folder.File("ReadMe.txt"));
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_EQ(ReadBytes(folder.File("ReadMe.txt")), Utf8ToCp932("【   作者名   】　山田\r\n\r\n"));

    s.ws.form.Order[0].Checked = true; // 区切り線
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Preview});
    ExpectOnlyError(ErrorNo::OutOfMemory, "区切り線が長すぎます（1048576 文字まで）");
    EXPECT_EQ(s.PreviewText, "【   作者名   】　山田\r\n");
}

} // namespace
} // namespace kelvaro

namespace kelvaro {
namespace {

class LossyOutput : public ::testing::Test {
protected:
    LossyOutput() : s(host, folder.Path()) {
        s.ws = FreshWorkspace();
        s.ws.form.LineValues[LineSlot::Author] = "作者🙂";
        s.ws.form.LineValues[LineSlot::SoftwareName] = "한글";
        s.ws.form.LineValues[LineSlot::Version] = "𠮷 1.0";
    }

    test::TempFolder folder;
    test::ScriptedHost host;
    Session s;
};

TEST_F(LossyOutput, TheTextFileAsksFirstOffersUtf8AndWritesNothingByDefault) {
    const std::string path = folder.File("ReadMe.txt");
    WriteBytes(path, "previous\r\n");
    host.AnswerFile(path);
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(test::NamedChanges(host.Messages[0].Text),
              (std::vector<std::string>{
                  "・「作者名」の「🙂」→「?」", "・「ソフト名」の「한」→「?」",
                  "・「ソフト名」の「글」→「?」", "・「バージョン」の「𠮷」→「?」"}));
    EXPECT_EQ(host.Messages[0].Buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(host.Messages[0].DefaultButton, MessageAnswer::Cancel);
    EXPECT_EQ(ReadBytes(path), "previous\r\n");

    host.AnswerFile(path);
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_EQ(host.Messages.size(), 2u);
    const std::string written = Cp932ToUtf8(ReadBytes(path));
    EXPECT_NE(written.find("【   作者名   】　作者?\r\n"), std::string::npos);
    EXPECT_NE(written.find("【  ソフト名  】　??\r\n"), std::string::npos);

    // いいえ: the same ReadMe as UTF-8, every character kept, CR LF kept.
    host.AnswerFile(path);
    host.MessageAnswers.push_back(MessageAnswer::No);
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_EQ(host.Messages.size(), 3u);
    const std::string utf8 = ReadBytes(path);
    EXPECT_NE(utf8.find("【   作者名   】　作者🙂\r\n"), std::string::npos);
    EXPECT_NE(utf8.find("【  ソフト名  】　한글\r\n"), std::string::npos);
    EXPECT_NE(utf8.rfind("\r\n"), std::string::npos);
    EXPECT_NE(utf8.substr(0, 3), "\xEF\xBB\xBF"); // no byte order mark
}

TEST_F(LossyOutput, OnlyWhatTheReadMeHoldsIsAskedAbout) {
    // The items are there, but not checked: the ReadMe holds none of them.
    for (OrderEntry& entry : s.ws.form.Order) {
        if (entry.Key == "作者名" || entry.Key == "ソフト名" || entry.Key == "バージョン") {
            entry.Checked = false;
        }
    }
    host.AnswerFile(folder.File("ReadMe.txt"));
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_TRUE(PathExists(folder.File("ReadMe.txt")));
}

TEST_F(LossyOutput, PagesUtf8ClipboardAndPreviewLoseNothingAndAskNothing) {
    host.AnswerFile(folder.File("ReadMe.html"));
    GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File});
    EXPECT_NE(ReadBytes(folder.File("ReadMe.html")).find("&#128578;"), std::string::npos);
    host.AnswerFile(folder.File("utf8.txt"), 1); // the UTF-8 filter
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_NE(ReadBytes(folder.File("utf8.txt")).find("作者🙂"), std::string::npos);
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Clipboard});
    GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::Preview});
    ASSERT_EQ(host.Messages.size(), 1u); // the clipboard's completion message
    EXPECT_EQ(host.Messages[0].Text, "クリップボードへの出力が完了しました。");
    ASSERT_EQ(host.ClipboardTexts.size(), 1u);
    EXPECT_NE(host.ClipboardTexts[0].find("作者🙂"), std::string::npos);
    EXPECT_NE(s.PreviewText.find("𠮷 1.0"), std::string::npos);
}

} // namespace
} // namespace kelvaro

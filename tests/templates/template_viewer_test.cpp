#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, TemplateViewerTest) {
    GTEST_SKIP() << "Linux only: POSIX modes and flock locks";
}
#else
#include "templates/template_viewer.h"

#include "platform/cp932.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"
#include "template_session.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using kelvaro::test::LockHolder;

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using Names = std::vector<std::string>;

using TemplateViewer = test::TemplateSession;

TEST_F(TemplateViewer, WithoutTheFolderTheListEmptiesAndTheBoxStays) {
    session.TemplateList = {"古い.txt"};
    session.TemplateText = "前の表示";
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateList, Names{});
    EXPECT_EQ(session.TemplateText, "前の表示");
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.LastMessage().Text, "テンプレートフォルダ\r\n" + session.TemplateFolder +
                                           "\r\nは、存在しません。\r\n開発元ホームページから、\r\n"
                                           "最新版のテンプレートをダウンロードしてください。");
    EXPECT_EQ(host.LastMessage().Title, test::kProductAndVersion);
    EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Exclamation);
    EXPECT_EQ(host.LastMessage().Buttons, MessageButtons::Ok);
    EXPECT_EQ(changes.Seen, std::vector<Change>{Change::Templates});
}

TEST_F(TemplateViewer, TheShippedSetIsListedWithItsVersionAndCount) {
    const std::filesystem::path shipped =
        std::filesystem::path(KELVARO_SOURCE_DIR) / "data/Templates";
    std::filesystem::copy(shipped, session.TemplateFolder);
    std::size_t templates = 0;
    for (const auto& entry : std::filesystem::directory_iterator(shipped)) {
        const std::string name = entry.path().filename().string();
        templates += name != "Version.txt" && entry.path().extension() == ".txt";
    }
    ASSERT_GT(templates, 0u);
    const std::string version = ReadBytes(shipped / "Version.txt");

    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateText,
              "テンプレート集：" + Cp932ToUtf8(version.substr(0, version.find('\r'))) +
                  "\r\nテンプレート数： " + std::to_string(templates) + " ファイル");
    EXPECT_EQ(session.TemplateText.substr(0, session.TemplateText.find("\r\n")),
              "テンプレート集：Kelvaro 標準テンプレート 1.0.0 (2026/12/07)");
    EXPECT_EQ(session.TemplateList.size(), templates);
    EXPECT_EQ(std::count(session.TemplateList.begin(), session.TemplateList.end(), "Version.txt"),
              0);

    // The shipped files end every line with CR LF already, so they show as they are.
    for (const std::string& name : session.TemplateList) {
        ShowTemplate(session, name);
        EXPECT_EQ(session.TemplateText, Cp932ToUtf8(ReadBytes(shipped / name))) << name;
    }
    EXPECT_EQ(host.Messages.size(), 0u);
}

TEST_F(TemplateViewer, OnlyVisibleTxtFilesAreListedInFolderOrder) {
    MakeFolder();
    for (const char* name : {"VERSION.TXT", ".x.txt", "a.TXT", "b.txt", "B.txt", "_x.txt", "Z.txt",
                             "c.md", "d.txt.bak", "使用方法.txt"}) {
        WriteBytes(InFolder(name), "t\r\n");
    }
    std::filesystem::create_directory(InFolder("a.txt"));

    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateList,
              (Names{"_x.txt", "a.TXT", "B.txt", "b.txt", "Z.txt", "使用方法.txt"}));
    // The name in capitals is not listed, but the version is read only from "Version.txt".
    EXPECT_EQ(session.TemplateText,
              "テンプレート集：バージョン不明\r\nテンプレート数： 6 ファイル");

    // Each scan starts the list afresh.
    std::filesystem::remove(InFolder("b.txt"));
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateList, (Names{"_x.txt", "a.TXT", "B.txt", "Z.txt", "使用方法.txt"}));
    EXPECT_EQ(host.Messages.size(), 0u);
    EXPECT_EQ(changes.Seen, std::vector<Change>(2, Change::Templates));
}

TEST_F(TemplateViewer, AVersionFileWithNothingToShowLeavesTheVersionUnknown) {
    MakeFolder();
    WriteBytes(InFolder("Version.txt"), "");
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateText,
              "テンプレート集：バージョン不明\r\nテンプレート数： 0 ファイル");
    EXPECT_EQ(session.TemplateList, Names{});

    WriteBytes(InFolder("Version.txt"), "\x82\x51\x2e\x30\rrest");
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateText, "テンプレート集：２.0\r\nテンプレート数： 0 ファイル");

    std::filesystem::remove(InFolder("Version.txt"));
    std::filesystem::create_directory(InFolder("Version.txt"));
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateText,
              "テンプレート集：バージョン不明\r\nテンプレート数： 0 ファイル");
    EXPECT_EQ(host.Messages.size(), 0u);
}

TEST_F(TemplateViewer, ShowingATemplateEndsEveryLineAndTouchesNothingElse) {
    MakeFolder();
    WriteBytes(InFolder("t.txt"), "\x83\x65\x83\x58\x83\x67\r\nlast");
    ScanTemplateFolder(session);
    session.ws.EditorText = "編集中";
    const Form before = session.ws.form;
    changes.Seen.clear();

    ShowTemplate(session, "t.txt");
    EXPECT_EQ(session.TemplateText, "テスト\r\nlast\r\n");
    EXPECT_EQ(session.TemplateList, Names{"t.txt"});
    EXPECT_EQ(session.ws.EditorText, "編集中");
    EXPECT_EQ(session.ws.form, before);
    EXPECT_EQ(changes.Seen, std::vector<Change>{Change::Templates});
    EXPECT_EQ(host.Messages.size(), 0u);
}

TEST_F(TemplateViewer, ATemplateGoneSinceTheScanAsksForANewScanAndKeepsTheBox) {
    MakeFolder();
    WriteBytes(InFolder("消えた.txt"), "x\r\n");
    std::filesystem::create_directory(InFolder("folder.txt"));
    ScanTemplateFolder(session);
    const std::string summary = session.TemplateText;
    std::filesystem::remove(InFolder("消えた.txt"));
    changes.Seen.clear();

    for (const std::string name : {"消えた.txt", "folder.txt"}) {
        host.Messages.clear();
        ShowTemplate(session, name);
        ExpectOnlyMessage(
            "テンプレートファイル\r\n" + dir.Path() + "/Templates/" + name +
                "\r\nが存在しません\r\nもう一度テンプレートを読み込んでみてください。",
            test::kProductAndVersion);
        EXPECT_EQ(session.TemplateText, summary);
    }
    EXPECT_EQ(changes.Seen, std::vector<Change>{});
}

TEST_F(TemplateViewer, ALockedTemplateIsAnUnexpectedError) {
    MakeFolder();
    WriteBytes(InFolder("locked.txt"), "x\r\n");
    session.TemplateText = "前の表示";
    LockHolder holder(InFolder("locked.txt"));
    ASSERT_TRUE(holder.Locked());
    ShowTemplate(session, "locked.txt");
    ExpectOnlyMessage(test::ErrorLines(70) + "\r\n（" + InFolder("locked.txt") +
                          ": ほかのプログラムが使用中です）",
                      "Kelvaro");
    EXPECT_EQ(session.TemplateText, "前の表示");
}

} // namespace
} // namespace kelvaro
#endif

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, AppFoldersTest) {
    GTEST_SKIP() << "Linux only: the XDG folders and POSIX modes of the Linux layout";
}
#else
#include "platform/app_folders.h"

#include "support/fixtures.h"
#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

void MakeFolder(const std::string& path) {
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0) << path;
}

// An installation under `root`: root/bin (the program) and root/share/kelvaro.
struct Installation {
    Installation() {
        MakeFolder(root.File("bin"));
        MakeFolder(root.File("share"));
        MakeFolder(root.File("share/kelvaro"));
        MakeFolder(root.File("share/kelvaro/Templates"));
        WriteBytes(root.File("share/kelvaro/Templates/Version.txt"), "2.0\r\n");
        WriteBytes(root.File("share/kelvaro/Templates/\x96\xc6\x90\xd3.txt"), "\x96\xc6\r\n");
    }
    std::string Bin() const { return root.File("bin"); }
    TempFolder root;
    TempFolder home;
};

TEST(AppFolders, ATemplatesFolderBesideTheProgramKeepsEverythingThere) {
    TempFolder program;
    MakeFolder(program.File("Templates"));
    const AppFolders folders =
        LocateAppFolders(program.Path(), FolderEnvironment{"/home/u", "/x/data", "/run/u", ""});
    EXPECT_EQ(folders.Templates, program.File("Templates"));
    EXPECT_EQ(folders.BrowserPage, program.Path());
    EXPECT_EQ(folders.Guide, program.File("guide.html"));
    EXPECT_EQ(folders.InstalledTemplates, "");
    EXPECT_EQ(folders.StateFolder, program.File("State"));
    EXPECT_EQ(PrepareAppFolders(folders), 0);
}

// Only the installed data beside the program's folder makes it installed: a
// portable copy without its Templates folder keeps everything beside itself.
TEST(AppFolders, WithoutTemplatesOnlyInstalledDataMakesTheProgramInstalled) {
    struct Case {
        bool templates;
        bool installedData;
        bool installed;
    };
    for (const Case& c : {Case{false, false, false}, Case{false, true, true},
                          Case{true, true, false}, Case{true, false, false}}) {
        TempFolder root;
        MakeFolder(root.File("bin"));
        if (c.templates) {
            MakeFolder(root.File("bin/Templates"));
        }
        if (c.installedData) {
            MakeFolder(root.File("share"));
            MakeFolder(root.File("share/kelvaro"));
        }
        const AppFolders folders =
            LocateAppFolders(root.File("bin"), FolderEnvironment{"/home/u", "", "", "", "/s"});
        const std::string which = std::to_string(c.templates) + std::to_string(c.installedData);
        EXPECT_EQ(folders.Templates == root.File("bin/Templates"), !c.installed) << which;
        EXPECT_EQ(folders.BrowserPage == root.File("bin"), !c.installed) << which;
        EXPECT_EQ(folders.Guide == root.File("bin/guide.html"), !c.installed) << which;
        EXPECT_EQ(folders.StateFolder, c.installed ? "/s/kelvaro" : root.File("bin/State"))
            << which;
    }
}

TEST(AppFolders, APortableProgramInAFolderTheUserCannotWriteKeepsItsStateWithTheUser) {
    TempFolder program;
    ::chmod(program.Path().c_str(), 0755);
    const auto report = test::RunAsOrdinaryUser([&]() -> std::string {
        return PortableFolders(program.Path(), FolderEnvironment{"/home/u", "", "", "", ""})
            .StateFolder;
    });
    if (!report || ::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to own a program folder an ordinary user cannot write";
    }
    EXPECT_EQ(*report, "/home/u/.local/state/kelvaro");
}

TEST(AppFolders, InstalledUsesTheUsersFoldersAndFindsItsDataBesideItself) {
    Installation install;
    const std::string prefix = install.Bin() + "/../";
    AppFolders folders = LocateAppFolders(
        install.Bin(), FolderEnvironment{"/home/u", "/x/data/", "/run/user/7", ""});
    EXPECT_EQ(folders.Templates, "/x/data/kelvaro/Templates");
    EXPECT_EQ(folders.BrowserPage, "/run/user/7/kelvaro");
    EXPECT_EQ(folders.Guide, prefix + "share/doc/kelvaro/guide.html");
    EXPECT_EQ(folders.InstalledTemplates, prefix + "share/kelvaro/Templates");

    // Unset and relative values fall back to the documented defaults.
    folders = LocateAppFolders(install.Bin(),
                               FolderEnvironment{"/home/u/", "relative", "", "", "relative"});
    EXPECT_EQ(folders.Templates, "/home/u/.local/share/kelvaro/Templates");
    EXPECT_EQ(folders.BrowserPage, "/home/u/.cache/kelvaro");
    EXPECT_EQ(folders.StateFolder, "/home/u/.local/state/kelvaro");
    folders = LocateAppFolders(install.Bin(), FolderEnvironment{"/home/u", "", "", "/c"});
    EXPECT_EQ(folders.BrowserPage, "/c/kelvaro");
}

TEST(AppFolders, PreparingFillsTheUsersFolderWithoutTouchingWhatTheUserHas) {
    Installation install;
    const AppFolders folders = LocateAppFolders(
        install.Bin(), FolderEnvironment{install.home.Path(), "", install.home.File("run"), ""});
    EXPECT_EQ(PrepareAppFolders(folders), 2);
    EXPECT_EQ(ReadBytes(folders.Templates + "/Version.txt"), "2.0\r\n");
    EXPECT_EQ(ReadBytes(folders.Templates + "/\x96\xc6\x90\xd3.txt"), "\x96\xc6\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(folders.BrowserPage.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // The user changes one template and deletes the other: neither is copied
    // again, and a template a later version brings still arrives.
    const std::string deleted = folders.Templates + "/\x96\xc6\x90\xd3.txt";
    WriteBytes(folders.Templates + "/Version.txt", "mine\r\n");
    ASSERT_EQ(::unlink(deleted.c_str()), 0);
    EXPECT_EQ(PrepareAppFolders(folders), 0);
    WriteBytes(install.root.File("share/kelvaro/Templates/New.txt"), "new\r\n");
    EXPECT_EQ(PrepareAppFolders(folders), 1);
    EXPECT_EQ(ReadBytes(folders.Templates + "/Version.txt"), "mine\r\n");
    EXPECT_EQ(ReadBytes(folders.Templates + "/New.txt"), "new\r\n");
    EXPECT_EQ(::access(deleted.c_str(), F_OK), -1);

    // A template folder removed whole is filled again, as at the first start.
    std::filesystem::remove_all(folders.Templates);
    EXPECT_EQ(PrepareAppFolders(folders), 3);
}

TEST(AppFolders, AFileWhereTheUsersFolderShouldBeIsAFailure) {
    Installation install;
    WriteBytes(install.home.File("data"), "a file, not a folder");
    const AppFolders folders = LocateAppFolders(
        install.Bin(),
        FolderEnvironment{install.home.Path(), install.home.File("data"), install.home.Path(), ""});
    EXPECT_NE(test::ThrownNumber([&] { PrepareAppFolders(folders); }), 0);
}

} // namespace
} // namespace kelvaro
#endif

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, FileIoInPlaceTest) {
    GTEST_SKIP() << "Linux only: writes in place forced by POSIX hard links and folder modes";
}
#else
// Saving where a rename would break what the user has: through a symbolic link,
// over a file with other hard links, into a folder the user may not write or a
// sticky folder of someone else. Each keeps the link, the file's identity, mode
// and owner, and a failure part way puts the previous bytes back.

#include "platform/error.h"
#include "platform/file_io.h"
#include "support/fixtures.h"
#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelvaro {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::Thrown;
using test::WriteBytes;

class InPlace : public ::testing::Test {
protected:
    InPlace() {
        // Open to the ordinary user the writing parts run as.
        fs::permissions(dir.Path(), fs::perms(0755));
    }
    ~InPlace() override { SetWriteFaultHook({}); }

    std::string File(const std::string& name) const { return dir.File(name); }

    std::vector<std::string> Entries(const std::string& folder) const {
        return test::FolderEntries(folder);
    }

    static struct stat Stat(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info;
    }

    // Makes one step fail (and, when given, a second one) until the test ends.
    static void FailAt(const std::string& step, const std::string& also = {}) {
        SetWriteFaultHook([step, also](std::string_view at) {
            if (at == step || (!also.empty() && at == also)) {
                throw RuntimeError(ErrorNo::DeviceIo, "injected");
            }
        });
    }

    test::TempFolder dir;
};

TEST_F(InPlace, ASymbolicLinkIsFollowedAndStays) {
    fs::create_directory(File("real"));
    WriteBytes(File("real/ReadMe.txt"), "old");
    fs::create_symlink("real/ReadMe.txt", File("relative"));
    fs::create_symlink(File("relative"), File("chain")); // a link to the link
    WriteFileReplacing(File("relative"), "one");
    EXPECT_TRUE(fs::is_symlink(File("relative")));
    EXPECT_EQ(ReadBytes(File("real/ReadMe.txt")), "one");
    WriteFileReplacing(File("chain"), "two");
    EXPECT_TRUE(fs::is_symlink(File("chain")));
    EXPECT_TRUE(fs::is_symlink(File("relative")));
    EXPECT_EQ(ReadBytes(File("real/ReadMe.txt")), "two");
    // The temporary file went beside the target, and nothing was left behind.
    EXPECT_EQ(Entries(File("real")), std::vector<std::string>{"ReadMe.txt"});
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"chain", "real", "relative"}));
}

TEST_F(InPlace, ADanglingLinkGetsItsTargetOrNothing) {
    fs::create_directory(File("real"));
    fs::create_symlink("real/new.txt", File("link"));
    for (const char* step : {"open", "lock", "write", "fsync", "rename"}) {
        SCOPED_TRACE(step);
        FailAt(step);
        EXPECT_EQ(test::ThrownNumber([&] { WriteFileReplacing(File("link"), "new"); }),
                  ErrorNo::DeviceIo);
        SetWriteFaultHook({});
        // No empty file where the link points, no temporary, the link as it was.
        EXPECT_EQ(Entries(File("real")), std::vector<std::string>{});
        EXPECT_TRUE(fs::is_symlink(File("link")));
    }
    WriteFileReplacing(File("link"), "new");
    EXPECT_TRUE(fs::is_symlink(File("link")));
    EXPECT_EQ(ReadBytes(File("real/new.txt")), "new");

    // Pointing into a missing folder: the folder's failure, and nothing made.
    fs::create_symlink("gone/x.txt", File("nowhere"));
    const RuntimeError error = Thrown([&] { WriteFileReplacing(File("nowhere"), "x"); });
    EXPECT_EQ(error.Number(), ErrorNo::PathNotFound);
    EXPECT_EQ(error.Cause(), "フォルダが見つかりません");
    EXPECT_TRUE(fs::is_symlink(File("nowhere")));
    EXPECT_FALSE(fs::exists(File("gone")));
}

TEST_F(InPlace, LinksInACircleAreRefused) {
    fs::create_symlink("b", File("a"));
    fs::create_symlink("a", File("b"));
    const RuntimeError error = Thrown([&] { WriteFileReplacing(File("a"), "x"); });
    EXPECT_EQ(error.Number(), ErrorNo::PathFileAccess);
    EXPECT_EQ(error.Cause(), "シンボリックリンクが循環しているか、多すぎます");
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"a", "b"}));
}

TEST_F(InPlace, AFileWithAnotherHardLinkStaysOneFile) {
    WriteBytes(File("a.txt"), "old content, longer than the new");
    fs::create_hard_link(File("a.txt"), File("b.txt"));
    chmod(File("a.txt").c_str(), 0604);
    const ino_t inode = Stat(File("a.txt")).st_ino;

    std::vector<std::string> steps;
    SetWriteFaultHook([&](std::string_view step) { steps.emplace_back(step); });
    WriteFileReplacing(File("a.txt"), "new");
    SetWriteFaultHook({});
    EXPECT_EQ(steps, (std::vector<std::string>{"open", "lock", "write-ahead", "write", "truncate",
                                               "fsync", "forget"}));
    EXPECT_EQ(ReadBytes(File("b.txt")), "new");
    EXPECT_EQ(Stat(File("a.txt")).st_ino, inode);
    EXPECT_EQ(Stat(File("a.txt")).st_nlink, 2u);
    EXPECT_EQ(Stat(File("a.txt")).st_mode & 07777, 0604u);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(InPlace, AFailedWriteInPlacePutsThePreviousBytesBack) {
    const std::string old(100000, 'o');
    WriteBytes(File("a.txt"), old);
    fs::create_hard_link(File("a.txt"), File("b.txt"));
    for (const char* step : {"write", "fsync"}) {
        SCOPED_TRACE(step);
        FailAt(step);
        const RuntimeError error = Thrown([&] { WriteFileReplacing(File("a.txt"), "short"); });
        SetWriteFaultHook({});
        EXPECT_EQ(error.Number(), ErrorNo::DeviceIo);
        EXPECT_EQ(error.Path(), File("a.txt"));
        EXPECT_EQ(ReadBytes(File("b.txt")), old);
        EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"a.txt", "b.txt"}));
    }
}

TEST_F(InPlace, WhenThePreviousBytesCannotBePutBackTheNewOnesAreKeptAndNamed) {
    WriteBytes(File("a.txt"), "old");
    fs::create_hard_link(File("a.txt"), File("b.txt"));
    FailAt("fsync", "restore");
    const RuntimeError error = Thrown([&] { WriteFileReplacing(File("a.txt"), "new bytes"); });
    SetWriteFaultHook({});
    EXPECT_EQ(error.Number(), ErrorNo::DeviceIo);
    const std::string lead = "書き込みに失敗しました。元の内容に戻せなかったため、新しい内容を ";
    ASSERT_EQ(error.Cause().substr(0, lead.size()), lead) << error.Cause();
    const std::string kept =
        error.Cause().substr(lead.size(), error.Cause().rfind(" に保存しました") - lead.size());
    EXPECT_EQ(kept.substr(0, File("a.txt.kelvaro-new-").size()), File("a.txt.kelvaro-new-"));
    EXPECT_EQ(ReadBytes(kept), "new bytes");
}

TEST_F(InPlace, AWritableFileInAFolderTheUserMayNotWriteIsWrittenWhereItIs) {
    fs::create_directory(File("shared"));
    WriteBytes(File("shared/ReadMe.txt"), "old");
    chmod(File("shared/ReadMe.txt").c_str(), 0666);
    WriteBytes(File("shared/locked.txt"), "locked");
    chmod(File("shared/locked.txt").c_str(), 0644);
    chmod(File("shared").c_str(), 0555);
    const struct stat before = Stat(File("shared/ReadMe.txt"));

    const auto report = test::RunAsOrdinaryUser([&]() -> std::string {
        std::string problems;
        const RuntimeError written =
            Thrown([&] { WriteFileReplacing(File("shared/ReadMe.txt"), "new"); });
        if (written.Number() != 0) {
            problems += "writing the file: " + std::to_string(written.Number()) + "\n";
        }
        const RuntimeError created =
            Thrown([&] { WriteFileReplacing(File("shared/other.txt"), "new"); });
        problems +=
            created.Number() != ErrorNo::PermissionDenied ||
                    created.Cause() != "フォルダに書き込む権限がありません" ||
                    created.Path() != File("shared/other.txt")
                ? "a new file: " + std::to_string(created.Number()) + " " + created.Cause() + "\n"
                : "";
        const RuntimeError refused =
            Thrown([&] { WriteFileReplacing(File("shared/locked.txt"), "new"); });
        problems += refused.Number() != ErrorNo::PermissionDenied ||
                            refused.Cause() != "ファイルに書き込む権限がありません"
                        ? "a read-only file: " + std::to_string(refused.Number()) + " " +
                              refused.Cause() + "\n"
                        : "";
        return problems;
    });
    if (!report) {
        GTEST_SKIP() << "cannot run as an ordinary user here";
    }
    EXPECT_EQ(*report, "");
    EXPECT_EQ(ReadBytes(File("shared/ReadMe.txt")), "new");
    const struct stat after = Stat(File("shared/ReadMe.txt"));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(ReadBytes(File("shared/locked.txt")), "locked");
    EXPECT_EQ(Entries(File("shared")), (std::vector<std::string>{"ReadMe.txt", "locked.txt"}));
}

TEST_F(InPlace, AWritableFileOfAnotherUserInAStickyFolderIsWrittenWhereItIs) {
    const auto user = test::FindOrdinaryUser();
    if (!user || geteuid() != 0) {
        GTEST_SKIP() << "needs root, to own the folder and the file the ordinary user writes";
    }
    fs::create_directory(File("sticky"));
    chmod(File("sticky").c_str(), 01777);
    WriteBytes(File("sticky/ReadMe.txt"), "old");
    chmod(File("sticky/ReadMe.txt").c_str(), 0666);
    const struct stat before = Stat(File("sticky/ReadMe.txt"));

    const auto report = test::RunAsOrdinaryUser([&]() -> std::string {
        const RuntimeError error =
            Thrown([&] { WriteFileReplacing(File("sticky/ReadMe.txt"), "new"); });
        return error.Number() == 0 ? "" : error.what();
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(*report, "");
    EXPECT_EQ(ReadBytes(File("sticky/ReadMe.txt")), "new");
    const struct stat after = Stat(File("sticky/ReadMe.txt"));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(Entries(File("sticky")), std::vector<std::string>{"ReadMe.txt"});

    // The ordinary user's own file in the same folder is replaced as usual.
    const auto own = test::RunAsOrdinaryUser([&]() -> std::string {
        WriteFileReplacing(File("sticky/mine.txt"), "1");
        const ino_t first = Stat(File("sticky/mine.txt")).st_ino;
        WriteFileReplacing(File("sticky/mine.txt"), "2");
        return Stat(File("sticky/mine.txt")).st_ino != first ? "" : "written in place";
    });
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(*own, "");
    EXPECT_EQ(ReadBytes(File("sticky/mine.txt")), "2");
    EXPECT_EQ(Stat(File("sticky/mine.txt")).st_uid, user->Uid);
}

} // namespace
} // namespace kelvaro
#endif

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, FileIoTest) {
    GTEST_SKIP() << "Linux only: POSIX modes, links, FIFOs and flock locks; Windows file rules are "
                    "tested in windows_files_test.cpp";
}
#else
#include "platform/error.h"
#include "platform/file_io.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using kelvaro::test::LockHolder;

namespace kelvaro {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kSteps = {"open", "lock", "write", "fsync", "rename"};

using test::ThrownNumber;

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = "/tmp/kelvaro-file-io-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        SetWriteFaultHook({});
        if (!mountPoint_.empty()) {
            std::system(("umount " + mountPoint_).c_str());
        }
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    std::string File(const std::string& name) const { return folder_ + "/" + name; }

    // Every entry of the folder, hidden ones included, sorted.
    std::vector<std::string> Entries(const std::string& folder) const {
        return test::FolderEntries(folder);
    }
    std::vector<std::string> Entries() const { return Entries(folder_); }

    std::string folder_;
    std::string mountPoint_;
};

TEST_F(FileIoTest, ReplacingLeavesOnlyTheNewBytes) {
    const std::string path = File("ReadMe.txt");
    WriteFileReplacing(path, std::string(5000, 'o') + "\r\nold tail");
    int oldReader = open(path.c_str(), O_RDONLY);
    ASSERT_GE(oldReader, 0);

    const std::string fresh("new\r\n\0\x82\xa0", 8);
    WriteFileReplacing(path, fresh);
    EXPECT_EQ(ReadWholeFile(path), fresh);
    EXPECT_EQ(Entries(), std::vector<std::string>{"ReadMe.txt"});

    // The old file was replaced, not rewritten in place: whoever still had it open
    // keeps reading the old bytes.
    char first = 0;
    EXPECT_EQ(read(oldReader, &first, 1), 1);
    EXPECT_EQ(first, 'o');
    close(oldReader);

    WriteFileReplacing(path, "");
    EXPECT_EQ(ReadWholeFile(path), "");

    std::string large(200000, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7 % 251);
    }
    WriteFileReplacing(path, large);
    EXPECT_EQ(ReadWholeFile(path), large);
}

TEST_F(FileIoTest, PermissionsOfTheOldFileSurviveAndNewFilesFollowTheUmask) {
    mode_t previous = umask(027);
    WriteFileReplacing(File("new.txt"), "x");
    umask(previous);
    EXPECT_EQ(fs::status(File("new.txt")).permissions(), fs::perms(0640));

    WriteFileReplacing(File("kept.txt"), "x");
    chmod(File("kept.txt").c_str(), 0604);
    WriteFileReplacing(File("kept.txt"), "y");
    EXPECT_EQ(fs::status(File("kept.txt")).permissions(), fs::perms(0604));
}

TEST_F(FileIoTest, StepsRunInOrderWithTheTemporaryBesideTheTarget) {
    std::vector<std::string> seen;
    std::vector<std::string> duringSync;
    bool heldUntilRename = false;
    SetWriteFaultHook([&](std::string_view step) {
        seen.emplace_back(step);
        if (step == "fsync") {
            duringSync = Entries();
        }
        if (step == "rename" && !duringSync.empty()) {
            // Held to the end, so that no other save takes it for a leftover.
            const LockHolder other(File(duringSync[0]), LOCK_EX | LOCK_NB);
            heldUntilRename = !other.Locked();
        }
    });
    WriteFileReplacing(File("a.txt"), "bytes");
    EXPECT_EQ(seen, kSteps);
    ASSERT_EQ(duringSync.size(), 2u);
    EXPECT_EQ(duringSync[0].rfind(".kelvaro-", 0), 0u) << duringSync[0];
    EXPECT_EQ(duringSync[0].size(), 15u) << duringSync[0];
    EXPECT_EQ(duringSync[1], "a.txt");
    EXPECT_TRUE(heldUntilRename);
}

TEST_F(FileIoTest, FailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string path = File("form.txt");
    const std::string old = "old content that is longer than the new one\r\n";
    for (const std::string& failing : kSteps) {
        SCOPED_TRACE(failing);
        WriteFileReplacing(path, old);
        SetWriteFaultHook([&](std::string_view step) {
            if (step == failing) {
                throw RuntimeError(ErrorNo::DeviceIo);
            }
        });
        EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(path, "new"); }), ErrorNo::DeviceIo);
        SetWriteFaultHook({});
        EXPECT_EQ(ReadWholeFile(path), old);
        EXPECT_EQ(Entries(), std::vector<std::string>{"form.txt"});
        // The lock went with the failure; the next save goes through.
        WriteFileReplacing(path, "after");
        EXPECT_EQ(ReadWholeFile(path), "after");
    }
}

TEST_F(FileIoTest, FailureAtAnyStepOfANewFileLeavesNothing) {
    for (const std::string& failing : kSteps) {
        SCOPED_TRACE(failing);
        SetWriteFaultHook([&](std::string_view step) {
            if (step == failing) {
                throw RuntimeError(ErrorNo::DiskFull);
            }
        });
        EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(File("new.txt"), "new"); }),
                  ErrorNo::DiskFull);
        EXPECT_EQ(Entries(), std::vector<std::string>{});
    }
}

TEST_F(FileIoTest, ALockHeldByAnotherProcessRefusesReadAndWrite) {
    const std::string path = File("locked.txt");
    WriteFileReplacing(path, "held\r\nsecond");
    bool hadLine = false;
    {
        LockHolder holder(path, LOCK_EX);
        ASSERT_TRUE(holder.Locked());
        EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(path, "other"); }),
                  ErrorNo::PermissionDenied);
        EXPECT_EQ(ThrownNumber([&] { ReadWholeFile(path); }), ErrorNo::PermissionDenied);
        EXPECT_EQ(ThrownNumber([&] { ReadFirstLine(path, hadLine); }), ErrorNo::PermissionDenied);
        EXPECT_EQ(Entries(), std::vector<std::string>{"locked.txt"});
    }
    {
        // Readers share; only a writer is kept out.
        LockHolder holder(path, LOCK_SH);
        ASSERT_TRUE(holder.Locked());
        EXPECT_EQ(ReadFirstLine(path, hadLine), "held");
        EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(path, "other"); }),
                  ErrorNo::PermissionDenied);
    }
    EXPECT_EQ(ReadWholeFile(path), "held\r\nsecond");
    WriteFileReplacing(path, "free again");
    EXPECT_EQ(ReadWholeFile(path), "free again");
}

TEST_F(FileIoTest, ReadOnlyFolderIsPermissionDenied) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root, which may write into a read-only folder";
    }
    // A read-only file: a writable one in a read-only folder is written in place
    // (file_io_in_place_test).
    WriteFileReplacing(File("kept.txt"), "kept");
    chmod(File("kept.txt").c_str(), 0444);
    chmod(folder_.c_str(), 0555);
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(File("kept.txt"), "new"); }),
              ErrorNo::PermissionDenied);
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(File("other.txt"), "new"); }),
              ErrorNo::PermissionDenied);
    EXPECT_EQ(ReadWholeFile(File("kept.txt")), "kept");
    EXPECT_EQ(Entries(), std::vector<std::string>{"kept.txt"});
    chmod(folder_.c_str(), 0000);
    EXPECT_EQ(ThrownNumber([&] { ListFileNames(folder_); }), ErrorNo::PermissionDenied);
}

TEST_F(FileIoTest, BadPathsGetTheirOwnNumbers) {
    bool hadLine = false;
    const std::string missingFolder = File("missing/ReadMe.txt");
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(missingFolder, "x"); }), ErrorNo::PathNotFound);
    EXPECT_EQ(ThrownNumber([&] { ReadWholeFile(missingFolder); }), ErrorNo::PathNotFound);
    EXPECT_EQ(ThrownNumber([&] { ListFileNames(File("missing")); }), ErrorNo::PathNotFound);

    WriteFileReplacing(File("plain"), "x");
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(File("plain/x.txt"), "x"); }),
              ErrorNo::PathNotFound);
    EXPECT_EQ(ThrownNumber([&] { ListFileNames(File("plain")); }), ErrorNo::PathNotFound);

    fs::create_directory(File("folder"));
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(File("folder"), "x"); }),
              ErrorNo::PathFileAccess);
    EXPECT_EQ(ThrownNumber([&] { ReadWholeFile(File("folder")); }), ErrorNo::PathFileAccess);
    EXPECT_EQ(ThrownNumber([&] { ReadFirstLine(File("folder"), hadLine); }),
              ErrorNo::PathFileAccess);
    EXPECT_TRUE(IsDirectory(File("folder")));

    EXPECT_EQ(ThrownNumber([&] { ReadWholeFile(File("absent.txt")); }), ErrorNo::FileNotFound);
    EXPECT_EQ(ThrownNumber([&] { ReadFirstLine(File("absent.txt"), hadLine); }),
              ErrorNo::FileNotFound);

    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing("", "x"); }), ErrorNo::BadFileName);
    EXPECT_EQ(ThrownNumber([&] { ReadWholeFile(""); }), ErrorNo::BadFileName);
    const std::string withNul = File("cut") + std::string(1, '\0') + "off";
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(withNul, "x"); }), ErrorNo::BadFileName);
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(File(std::string(300, 'n')), "x"); }),
              ErrorNo::BadFileName);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder", "plain"}));
}

TEST_F(FileIoTest, AFullDiskKeepsTheOldFile) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    }
    const std::string mount = File("small");
    fs::create_directory(mount);
    if (std::system(("mount -t tmpfs -o size=64k tmpfs " + mount + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    mountPoint_ = mount;
    const std::string path = mount + "/ReadMe.txt";
    WriteFileReplacing(path, "old");
    EXPECT_EQ(ThrownNumber([&] { WriteFileReplacing(path, std::string(256 * 1024, 'x')); }),
              ErrorNo::DiskFull);
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(Entries(mount), std::vector<std::string>{"ReadMe.txt"});
}

TEST_F(FileIoTest, FirstLineEndsAtTheFirstCarriageReturn) {
    struct Case {
        std::string bytes;
        std::string line;
        bool hadLine;
    };
    const std::string longLine(10000, 'L');
    const std::vector<Case> cases = {
        {"first\r\nsecond\r\n", "first", true},
        {"first\rsecond", "first", true},
        {"only line", "only line", true},
        {"a\nb\r\n", "a\nb", true},
        {"\r\nsecond", "", true},
        {longLine + "\r\n" + "rest", longLine, true},
        {"", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        WriteFileReplacing(File("line.txt"), c.bytes);
        bool hadLine = !c.hadLine;
        EXPECT_EQ(ReadFirstLine(File("line.txt"), hadLine), c.line);
        EXPECT_EQ(hadLine, c.hadLine);
    }
}

TEST_F(FileIoTest, FolderQueriesAndRemoval) {
    WriteFileReplacing(File("a.txt"), "a");
    WriteFileReplacing(File(".hidden"), "h");
    fs::create_directory(File("sub"));
    fs::create_symlink(File("a.txt"), File("link"));
    fs::create_symlink(File("gone"), File("dangling"));
    std::vector<std::string> names = ListFileNames(folder_);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.txt", "link"}));

    EXPECT_EQ(PathExists(File("sub")), true);
    EXPECT_EQ(IsDirectory(File("sub")), true);
    EXPECT_EQ(IsRegularFile(File("sub")), false);
    EXPECT_EQ(IsRegularFile(File("a.txt")), true);
    EXPECT_EQ(IsDirectory(File("a.txt")), false);
    EXPECT_EQ(PathExists(File("dangling")), false);
    EXPECT_EQ(PathExists(""), false);

    EXPECT_EQ(RemoveFile(File("a.txt")), true);
    EXPECT_EQ(RemoveFile(File("a.txt")), false);
    EXPECT_EQ(PathExists(File("a.txt")), false);
}

TEST(ProgramFolderTest, IsTheFolderOfTheTestExecutable) {
    const std::string folder = ProgramFolder();
    EXPECT_NE(folder.back(), '/');
    EXPECT_EQ(fs::canonical(folder), fs::canonical(KELVARO_BIN_DIR));
}

TEST(ErrorNumberTest, ErrnoValuesMapToTheUsersNumbers) {
    const std::vector<std::pair<int, int>> table = {
        {ENOENT, ErrorNo::FileNotFound},      {ENOTDIR, ErrorNo::PathNotFound},
        {EACCES, ErrorNo::PermissionDenied},  {EPERM, ErrorNo::PermissionDenied},
        {EROFS, ErrorNo::PermissionDenied},   {EWOULDBLOCK, ErrorNo::PermissionDenied},
        {ENOSPC, ErrorNo::DiskFull},          {EDQUOT, ErrorNo::DiskFull},
        {EISDIR, ErrorNo::PathFileAccess},    {EIO, ErrorNo::DeviceIo},
        {ENAMETOOLONG, ErrorNo::BadFileName}, {ENOMEM, ErrorNo::OutOfMemory},
        {ELOOP, ErrorNo::PathFileAccess},
    };
    for (const auto& [error, number] : table) {
        EXPECT_EQ(ErrorNumberFromErrno(error), number) << "errno " << error;
    }
}

} // namespace
} // namespace kelvaro
#endif

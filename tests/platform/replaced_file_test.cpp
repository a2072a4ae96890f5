// What a save through a temporary file keeps of the file it replaces, the
// temporary files it leaves no more of, and the paths it reaches.

#include "platform/file_io.h"
#include "support/child_process.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"
#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace kelvaro {
namespace {

using test::FolderEntries;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Runs setfacl, setfattr, getfacl or getfattr on the file.
std::string Tool(const std::string& command, const std::string& path) {
    const test::ToolRun run = test::RunShell(command + " '" + path + "'");
    EXPECT_EQ(run.Status, 0) << command << ": " << run.Err;
    return run.Out;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(ReplacedFile, KeepsItsAclAndAttributesAndGainsNoPermission) {
    const TempFolder probe;
    WriteBytes(probe.File("p"), "");
    if (::setxattr(probe.File("p").c_str(), "user.probe", "1", 1, 0) != 0 ||
        test::RunShell("setfacl -m u:65534:r " + probe.File("p")).Status != 0) {
        GTEST_SKIP() << "the temporary folder's file system takes no user attributes or ACLs";
    }
    struct Case {
        const char* folder; // setfacl for the folder first, when not empty
        const char* file;   // then setfacl or setfattr for the file
    };
    for (const Case& c : {Case{"", "setfacl -m u:65534:rw-,m::rw-"},
                          Case{"", "setfacl -m u:65534:rwx,g::r--,m::r--"},
                          Case{"setfacl -m d:u:65534:rw-", "setfacl -b"},
                          Case{"", "setfattr -n user.kelvaro.origin -v ReadMe"},
                          Case{"", "setfattr -n user.kelvaro.bytes -v 0x00ff"}}) {
        SCOPED_TRACE(std::string(c.folder) + " / " + c.file);
        const TempFolder dir;
        if (*c.folder != '\0') {
            Tool(c.folder, dir.Path());
        }
        const std::string path = dir.File("ReadMe.txt");
        WriteBytes(path, "old");
        ::chmod(path.c_str(), 0640);
        Tool(c.file, path);
        const auto metadata = [&] {
            return Tool("getfacl -cpn", path) + Tool("getfattr -d -m - -e hex", path);
        };
        const std::string before = metadata();
        const mode_t mode = ModeOf(path);
        WriteFileReplacing(path, "new");
        EXPECT_EQ(ReadBytes(path), "new");
        EXPECT_EQ(metadata(), before);
        EXPECT_EQ(ModeOf(path) & ~mode, 0U) << std::oct << ModeOf(path);
    }
}

// One the saving user may not set (root's security.* on nobody's file) is
// left behind rather than failing the save.
TEST(ReplacedFile, AnAttributeTheUserCannotSetDoesNotStopTheSave) {
    const TempFolder dir;
    const std::string path = dir.File("ReadMe.txt");
    WriteBytes(path, "old");
    const auto user = test::FindOrdinaryUser();
    if (::geteuid() != 0 || !user || ::chown(dir.Path().c_str(), user->Uid, 0) != 0 ||
        ::chown(path.c_str(), user->Uid, 0) != 0 ||
        ::setxattr(path.c_str(), "security.kelvaro", "r", 1, 0) != 0) {
        GTEST_SKIP() << "needs root and security attributes, to set one on nobody's file";
    }
    EXPECT_EQ(test::RunAsOrdinaryUser([&] {
                  WriteFileReplacing(path, "new");
                  return std::string();
              }),
              "");
    EXPECT_EQ(ReadBytes(path), "new");
}

// A save killed before its rename leaves its temporary file; the next save in
// the folder removes those of the program's that no running save holds.
TEST(ReplacedFile, TheNextSaveRemovesOnlyStaleTemporaryFiles) {
    const TempFolder dir;
    WriteBytes(dir.File("ReadMe.txt"), "old");
    struct Planted {
        const char* name;
        bool stays;
    };
    std::vector<std::string> staying = {"ReadMe.txt"};
    for (const Planted& p : {Planted{".kelvaro-Ab3dE9", false}, Planted{".kelvaro-zz0000", false},
                             Planted{".kelvaro-Live01", true}, Planted{".kelvaro-notes", true},
                             Planted{".kelvaro-Ab3dE9.txt", true}, Planted{"kelvaro-Ab3dE9", true},
                             Planted{".ReadMe.txt.kelvaro-Qw12er", true}}) {
        WriteBytes(dir.File(p.name), "left by a save");
        if (p.stays) {
            staying.emplace_back(p.name);
        }
    }
    std::sort(staying.begin(), staying.end());
    const test::LockHolder live(dir.File(".kelvaro-Live01"));
    ASSERT_TRUE(live.Locked());
    WriteFileReplacing(dir.File("ReadMe.txt"), "new");
    EXPECT_EQ(FolderEntries(dir.Path()), staying);
    EXPECT_EQ(ReadBytes(dir.File("ReadMe.txt")), "new");
}

// Whatever room the path leaves for a temporary file's name.
TEST(ReplacedFile, APathJustUnderPathMaxCanBeSaved) {
    for (const std::string name : {"ReadMe.txt", "a"}) {
        SCOPED_TRACE(name);
        const TempFolder dir;
        std::string folder = dir.Path();
        const std::size_t folderLength = PATH_MAX - 3 - name.size();
        while (folder.size() < folderLength) {
            const std::size_t room = folderLength - folder.size() - 1;
            // A last part of no letters cannot be.
            folder += "/" + std::string(room == 201 ? 199 : std::min<std::size_t>(200, room), 'd');
            ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0) << folder.size();
        }
        const std::string path = folder + "/" + name;
        ASSERT_EQ(path.size(), PATH_MAX - 2);
        WriteBytes(path, "old");
        WriteFileReplacing(path, "new");
        EXPECT_EQ(ReadWholeFile(path), "new");
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{name});
    }
}

} // namespace
} // namespace kelvaro

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, ReplacedFileTest) {
    GTEST_SKIP() << "Linux only: owners, modes, ACLs and extended attributes of POSIX";
}
#else
// What a save through a temporary file keeps of the file it replaces, the
// temporary files it leaves no more of, and the paths it reaches.

#include "platform/file_io.h"
#include "support/child_process.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <sys/stat.h>
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

// getfacl tells the mode's permission bits too: the same output is no wider mode.
TEST(ReplacedFile, KeepsItsAclAndAttributesAndGainsNoPermission) {
    const TempFolder probe;
    WriteBytes(probe.File("p"), "");
    if (test::RunShell("setfattr -n user.p -v 1 " + probe.File("p") + " && setfacl -m u:65534:r " +
                       probe.File("p"))
            .Status != 0) {
        GTEST_SKIP() << "the temporary folder's file system takes no user attributes or ACLs";
    }
    struct Case {
        const char* folder; // setfacl for the folder first, when not empty
        const char* file;   // then setfacl or setfattr for the file
    };
    for (const Case& c : {Case{"", "setfacl -m u:65534:rw-,m::rw-"},
                          Case{"", "setfacl -m u:65534:rwx,g::r--,m::r--"},
                          Case{"setfacl -m d:u:65534:rw-", "setfacl -b"},
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
        WriteFileReplacing(path, "new");
        EXPECT_EQ(ReadBytes(path), "new");
        EXPECT_EQ(metadata(), before);
    }
}

// A save killed before its rename leaves its temporary file; the next save in
// the folder removes those of the program's that no running save holds.
TEST(ReplacedFile, TheNextSaveRemovesOnlyStaleTemporaryFiles) {
    const TempFolder dir;
    const std::vector<std::string> staying = {".ReadMe.txt.kelvaro-Qw12er",
                                              ".kelvaro-Ab3dE9.txt",
                                              ".kelvaro-Live01",
                                              ".kelvaro-notes",
                                              "ReadMe.txt",
                                              "kelvaro-Ab3dE9"};
    for (const std::string& name : staying) {
        WriteBytes(dir.File(name), "old");
    }
    WriteBytes(dir.File(".kelvaro-Ab3dE9"), "left by a save");
    const test::LockHolder live(dir.File(".kelvaro-Live01"));
    ASSERT_TRUE(live.Locked());
    WriteFileReplacing(dir.File("ReadMe.txt"), "new");
    EXPECT_EQ(FolderEntries(dir.Path()), staying);
    EXPECT_EQ(ReadBytes(dir.File("ReadMe.txt")), "new");
}

// Whatever room the path leaves for a temporary file's name.
TEST(ReplacedFile, APathJustUnderPathMaxCanBeSaved) {
    for (const std::string name : {"ReadMe.txt", "a"}) {
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
#endif

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, SaveFaultTest) {
    GTEST_SKIP() << "Linux only: faults made with POSIX modes and flock locks";
}
#else
// Every command that writes a file — a text or HTML ReadMe, a form file by Save
// and by Save As, a template, the browser preview page — loses nothing when the
// write fails: the previous file keeps its bytes, no temporary file stays behind,
// the user sees the failure's number once, and the next attempt goes through.

#include "compose/output.h"
#include "files/lifecycle.h"
#include "model/defaults.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "support/fault_injector.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"
#include "support/scripted_host.h"
#include "templates/template_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using kelvaro::test::LockHolder;

namespace kelvaro {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::ScriptedHost;
using test::TempFolder;
using test::WriteBytes;

const std::vector<std::string> kSteps = {"open", "lock", "write", "fsync", "rename"};

// What was there before, with bytes a text conversion would not keep.
const std::string kPrevious("previous\r\n\x82\xa0\0\xff", 14);

// The failure message for `number`, naming the file and the cause.
std::string ErrorText(int number, const std::string& path, const std::string& cause) {
    return test::ErrorLines(number) + "\r\n（" + path + ": " + cause + "）";
}

// The cause a failure injected with only its number is told with.
std::string InjectedCause(int number) {
    return number == ErrorNo::DiskFull ? "ディスクの空き容量が足りません"
                                       : "ディスクの読み書きに失敗しました";
}

// Every entry of a folder and of the folders in it, hidden ones included, sorted.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// One command that writes a file, driven the way the window drives it.
struct Command {
    const char* Name;
    const char* Target; // the file it writes, inside the program folder
    std::function<void(Session&, ScriptedHost&, const std::string& path)> Run;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"text ReadMe", "ReadMe.txt",
         [](Session& s, ScriptedHost& host, const std::string& path) {
             host.AnswerFile(path);
             GenerateReadMe(s, {ReadMeFormat::Text, OutputDestination::File});
         }},
        {"HTML ReadMe", "ReadMe.html",
         [](Session& s, ScriptedHost& host, const std::string& path) {
             host.AnswerFile(path);
             GenerateReadMe(s, {ReadMeFormat::Html, OutputDestination::File});
         }},
        {"form Save", "form.ref",
         [](Session& s, ScriptedHost&, const std::string& path) {
             s.FormFilePath = path;
             s.FormFileTitle = "form.ref";
             SaveForm(s);
         }},
        {"form Save As", "form.ref",
         [](Session& s, ScriptedHost& host, const std::string& path) {
             host.AnswerFile(path);
             SaveFormAs(s);
         }},
        {"template", "Templates/t.txt",
         [](Session& s, ScriptedHost& host, const std::string& path) {
             host.AnswerFile(path);
             SaveTemplate(s);
         }},
        {"browser page", "BrowserSample.html",
         [](Session& s, ScriptedHost&, const std::string&) { SelectPreviewMode(s, 2); }},
    };
    return commands;
}

using test::FaultAt;

// A program folder: the session's folder, with the template folder in it.
class SaveFaults : public ::testing::Test {
protected:
    void TearDown() override {
        SetWriteFaultHook({});
        if (!mountPoint_.empty()) {
            std::system(("umount " + mountPoint_ + " 2>/dev/null").c_str());
        }
    }

    std::string Folder() const { return mountPoint_.empty() ? dir_.Path() : mountPoint_; }
    std::string Path(const Command& c) const { return Folder() + "/" + c.Target; }

    // Runs the command in a fresh session and returns the messages it showed.
    std::vector<MessageRequest> Run(const Command& c, const std::string& editorText = "x") {
        ScriptedHost host;
        Session s(host, Folder());
        s.ws = FreshWorkspace();
        s.ws.EditorText = editorText;
        c.Run(s, host, Path(c));
        return host.Messages;
    }

    // The command failed with `number`, and everything on disk is as it was.
    void ExpectFailedAndKept(const Command& c, const std::vector<MessageRequest>& messages,
                             int number, const std::string& cause, const std::string& previous,
                             const std::vector<std::string>& before) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Text, ErrorText(number, Path(c), cause));
        EXPECT_EQ(messages[0].Icon, MessageIcon::Critical);
        EXPECT_EQ(ReadBytes(Path(c)), previous);
        EXPECT_EQ(Entries(Folder()), before);
    }

    void MakeFolders() {
        fs::create_directories(Folder() + "/Templates");
        WriteBytes(Folder() + "/Templates/keep.txt", "keep\r\n");
    }

    // Mounts a small file system as the program folder; false when not allowed.
    bool Mount(const std::string& options) {
        const std::string point = dir_.File("mounted");
        fs::create_directory(point);
        if (geteuid() != 0 || std::system(("mount -t tmpfs -o mode=0755," + options + " tmpfs " +
                                           point + " 2>/dev/null")
                                              .c_str()) != 0) {
            return false;
        }
        mountPoint_ = point;
        return true;
    }

    TempFolder dir_;
    std::string mountPoint_;
};

TEST_F(SaveFaults, AFailureAtAnyStepKeepsThePreviousFileAndLeavesNoTemporary) {
    MakeFolders();
    int injected = 0;
    for (const Command& c : Commands()) {
        for (const std::string& step : kSteps) {
            // A device error, and what a full disk reports.
            for (int number : {ErrorNo::DeviceIo, ErrorNumberFromErrno(ENOSPC)}) {
                SCOPED_TRACE(std::string(c.Name) + " at " + step + ", No." +
                             std::to_string(number));
                WriteBytes(Path(c), kPrevious);
                const std::vector<std::string> before = Entries(Folder());
                std::vector<MessageRequest> messages;
                {
                    FaultAt fault(step, number);
                    messages = Run(c);
                }
                ++injected;
                ExpectFailedAndKept(c, messages, number, InjectedCause(number), kPrevious, before);
                // The lock went with the failure: the same command now succeeds.
                EXPECT_EQ(Run(c).size(), 0u);
                EXPECT_NE(ReadBytes(Path(c)), kPrevious);
                EXPECT_EQ(Entries(Folder()), before);
            }
        }
    }
    EXPECT_EQ(injected, 60);
}

TEST_F(SaveFaults, AFailedFirstSaveLeavesNoFileAtAll) {
    MakeFolders();
    for (const Command& c : Commands()) {
        for (const std::string& step : kSteps) {
            SCOPED_TRACE(std::string(c.Name) + " at " + step);
            fs::remove(Path(c));
            const std::vector<std::string> before = Entries(Folder());
            std::vector<MessageRequest> messages;
            {
                FaultAt fault(step, ErrorNo::DiskFull);
                messages = Run(c);
            }
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].Text,
                      ErrorText(ErrorNo::DiskFull, Path(c), InjectedCause(ErrorNo::DiskFull)));
            EXPECT_FALSE(PathExists(Path(c)));
            EXPECT_EQ(Entries(Folder()), before);
        }
    }
}

TEST_F(SaveFaults, ATargetLockedByAnotherProcessIsPermissionDenied) {
    MakeFolders();
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Path(c), kPrevious);
        const std::vector<std::string> before = Entries(Folder());
        {
            LockHolder holder(Path(c));
            ASSERT_TRUE(holder.Locked());
            ExpectFailedAndKept(c, Run(c), ErrorNo::PermissionDenied,
                                "ほかのプログラムが使用中です", kPrevious, before);
        }
        EXPECT_EQ(Run(c).size(), 0u);
    }
}

TEST_F(SaveFaults, AFolderWhereTheFileShouldBeIsAPathAccessError) {
    MakeFolders();
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.Name);
        fs::remove(Path(c));
        fs::create_directory(Path(c));
        WriteBytes(Path(c) + "/inside", "inside");
        const std::vector<std::string> before = Entries(Folder());
        const std::vector<MessageRequest> messages = Run(c);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Text,
                  ErrorText(ErrorNo::PathFileAccess, Path(c), "ファイルではなくフォルダです"));
        EXPECT_EQ(Entries(Path(c)), std::vector<std::string>{"inside"});
        EXPECT_EQ(Entries(Folder()), before);
        fs::remove_all(Path(c));
    }
}

TEST_F(SaveFaults, AReadOnlyFolderIsPermissionDenied) {
    std::string cause = "読み取り専用のディスクです";
    if (geteuid() != 0) {
        // Read-only files too: a writable file in a read-only folder is written
        // in place (file_io_test), which is not what this test is about.
        MakeFolders();
        for (const Command& c : Commands()) {
            WriteBytes(Path(c), kPrevious);
            fs::permissions(Path(c), fs::perms(0444));
        }
        cause = "ファイルに書き込む権限がありません";
        fs::permissions(Folder(), fs::perms(0555));
        fs::permissions(Folder() + "/Templates", fs::perms(0555));
    } else {
        // Root writes into any folder whatever its mode, but not into a file
        // system mounted read-only.
        if (!Mount("size=1m")) {
            GTEST_SKIP() << "cannot mount a file system here";
        }
        MakeFolders();
        for (const Command& c : Commands()) {
            WriteBytes(Path(c), kPrevious);
        }
        if (std::system(("mount -o remount,ro " + mountPoint_ + " 2>/dev/null").c_str()) != 0) {
            GTEST_SKIP() << "cannot make the file system read-only";
        }
    }
    const std::vector<std::string> before = Entries(Folder());
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.Name);
        ExpectFailedAndKept(c, Run(c), ErrorNo::PermissionDenied, cause, kPrevious, before);
    }
}

TEST_F(SaveFaults, AFullDiskKeepsThePreviousFile) {
    // A real full disk: a file system of 64 KiB, and a text four times as big.
    if (!Mount("size=64k")) {
        GTEST_SKIP() << "needs root to mount a small file system";
    }
    MakeFolders();
    const std::string big(std::size_t{256} * 1024, 'x');
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Path(c), "old");
        const std::vector<std::string> before = Entries(Folder());
        ExpectFailedAndKept(c, Run(c, big), ErrorNo::DiskFull, "ディスクの空き容量が足りません",
                            "old", before);
        EXPECT_EQ(Run(c).size(), 0u); // there is room for a small one
    }
}

} // namespace
} // namespace kelvaro
#endif

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, WriteAheadTest) {
    GTEST_SKIP() << "Linux only: kills a child process made by fork part way through a write";
}
#else
// A write in place killed at any moment: the next run finds the target whole,
// old or new, never cut and never the new content followed by the old tail.

#include "platform/file_io.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// A target with a second hard link, so that it is written in place.
struct Target {
    Target() {
        WriteBytes(Path(), oldBytes);
        ::link(Path().c_str(), folder.File("other-link").c_str());
        ::mkdir(State().c_str(), 0700);
        FinishInterruptedWrites(State());
    }
    std::string Path() const { return folder.File("form.ref"); }
    std::string State() const { return folder.File("state"); }
    TempFolder folder;
    const std::string oldBytes = std::string(300000, 'o');
    const std::string newBytes = std::string(200000, 'n');
};

// Runs the write in a child that is killed by `kill` (a step name for the fault
// hook, or "" for none); returns once the child is gone.
void WriteInChild(const Target& t, const std::string& step, useconds_t killAfter = 0) {
    const pid_t child = ::fork();
    if (child == 0) {
        SetWriteFaultHook([step](std::string_view at) {
            if (at == step) {
                ::raise(SIGKILL);
            }
        });
        for (;;) {
            WriteFileReplacing(t.Path(), t.newBytes);
            if (killAfter == 0) {
                ::_exit(0);
            }
            WriteFileReplacing(t.Path(), t.oldBytes);
        }
    }
    if (killAfter != 0) {
        ::usleep(killAfter);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST(WriteAhead, AKillAtAnyStepOfAWriteInPlaceIsFinishedByTheNextRun) {
    struct Case {
        const char* step;
        bool newContent; // what the next run finds after finishing
        bool resumed;
    };
    for (const Case& c : {Case{"write-ahead", false, false}, Case{"write", true, true},
                          Case{"truncate", true, true}, Case{"fsync", true, true},
                          Case{"forget", true, true}, Case{"", true, false}}) {
        Target t;
        WriteInChild(t, c.step);
        const std::vector<ResumedWrite> resumed = FinishInterruptedWrites(t.State());
        EXPECT_EQ(ReadBytes(t.Path()) == t.newBytes, c.newContent) << c.step;
        EXPECT_EQ(ReadBytes(t.Path()) == t.oldBytes, !c.newContent) << c.step;
        ASSERT_EQ(resumed.size(), c.resumed ? 1u : 0u) << c.step;
        if (c.resumed) {
            EXPECT_EQ(resumed[0].Path, t.Path());
            EXPECT_TRUE(resumed[0].Completed);
        }
        EXPECT_EQ(test::FolderEntries(t.State()), std::vector<std::string>{}) << c.step;
    }
}

TEST(WriteAhead, ATargetReplacedSinceTheKillIsLeftAloneAndTheNewContentKept) {
    Target t;
    WriteInChild(t, "truncate");
    ::unlink(t.Path().c_str());
    WriteBytes(t.Path(), "someone else's");
    const std::vector<ResumedWrite> resumed = FinishInterruptedWrites(t.State());
    EXPECT_EQ(ReadBytes(t.Path()), "someone else's");
    ASSERT_EQ(resumed.size(), 1u);
    EXPECT_FALSE(resumed[0].Completed);
    EXPECT_EQ(ReadBytes(resumed[0].KeptAt), t.newBytes);
}

// Real kills at random moments of a child that writes in place over and over.
// KELVARO_KILLS sets how many (the default keeps the test short).
TEST(WriteAhead, RandomKillsNeverLeaveAMixedTarget) {
    const char* wanted = std::getenv("KELVARO_KILLS");
    const int kills = wanted != nullptr ? std::atoi(wanted) : 20;
    std::mt19937 random(12345);
    int mixed = 0, finished = 0;
    for (int i = 0; i < kills; ++i) {
        Target t;
        WriteInChild(t, "", static_cast<useconds_t>(1000 + random() % 20000));
        finished += static_cast<int>(FinishInterruptedWrites(t.State()).size());
        const std::string after = ReadBytes(t.Path());
        mixed += after != t.oldBytes && after != t.newBytes ? 1 : 0;
    }
    std::printf("kills %d, finished by the next run %d, mixed %d\n", kills, finished, mixed);
    EXPECT_EQ(mixed, 0);
}

} // namespace
} // namespace kelvaro
#endif

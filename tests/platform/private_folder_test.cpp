#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, PrivateFolderTest) {
    GTEST_SKIP() << "Linux only: folder owners and modes of POSIX";
}
#else
#include "platform/private_folder.h"

#include "platform/error.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

namespace kelvaro {
namespace {

using test::TempFolder;
using test::Thrown;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(PrivateFolder, MadeFoldersAreTheUsersAloneWhateverTheUmask) {
    TempFolder root;
    const mode_t old = ::umask(0777);
    MakePrivateFolder(root.File("a/b/c/"));
    ::umask(old);
    for (const char* part : {"a", "a/b", "a/b/c"}) {
        EXPECT_EQ(ModeOf(root.File(part)) & 0077, 0u) << part;
    }
    EXPECT_EQ(ModeOf(root.File("a/b/c")), 0700u);
    MakePrivateFolder(root.File("a/b/c")); // a second time: accepted as it is
}

// What stands where the folder should be, and what the refusal says.
TEST(PrivateFolder, AFolderOthersCouldPlantFilesInIsRefusedWithItsCause) {
    const bool root = ::geteuid() == 0;
    const passwd* nobody = ::getpwnam("nobody");
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        int number; // 0: accepted
        const char* cause;
    };
    const Case cases[] = {
        {"0755", [](const std::string& p) { ::mkdir(p.c_str(), 0755); }, 0, ""},
        {"world-writable",
         [](const std::string& p) {
             ::mkdir(p.c_str(), 0700);
             ::chmod(p.c_str(), 01777);
         },
         ErrorNo::PermissionDenied, "ほかのユーザーも書き込めるフォルダです"},
        {"group-writable",
         [](const std::string& p) {
             ::mkdir(p.c_str(), 0700);
             ::chmod(p.c_str(), 0770);
         },
         ErrorNo::PermissionDenied, "ほかのユーザーも書き込めるフォルダです"},
        {"a file", [](const std::string& p) { test::WriteBytes(p, "x"); }, ErrorNo::PathFileAccess,
         "フォルダではありません"},
        {"own link to own folder",
         [](const std::string& p) {
             ::mkdir((p + ".real").c_str(), 0700);
             ::symlink((p + ".real").c_str(), p.c_str());
         },
         0, ""},
        {"another user's folder",
         [&](const std::string& p) {
             ::mkdir(p.c_str(), 0700);
             if (root && nobody != nullptr) {
                 ::chown(p.c_str(), nobody->pw_uid, nobody->pw_gid);
             }
         },
         root && nobody != nullptr ? ErrorNo::PermissionDenied : 0,
         root && nobody != nullptr ? "ほかのユーザーが所有するフォルダです" : ""},
        {"another user's link",
         [&](const std::string& p) {
             ::mkdir((p + ".real").c_str(), 0700);
             ::symlink((p + ".real").c_str(), p.c_str());
             if (root && nobody != nullptr) {
                 ::lchown(p.c_str(), nobody->pw_uid, nobody->pw_gid);
             }
         },
         root && nobody != nullptr ? ErrorNo::PermissionDenied : 0,
         root && nobody != nullptr ? "ほかのユーザーが作ったシンボリックリンクです" : ""},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.File("kelvaro");
        c.make(path);
        const RuntimeError error = Thrown([&] { MakePrivateFolder(path); });
        EXPECT_EQ(error.Number(), c.number) << c.name;
        if (c.number != 0) {
            EXPECT_EQ(error.Cause(), c.cause) << c.name;
            EXPECT_EQ(error.Path(), path) << c.name;
        }
    }
}

TEST(PrivateFolder, WithoutHomeTheHomeFolderComesFromThePasswordDatabase) {
    const char* saved = std::getenv("HOME");
    const std::string before = saved != nullptr ? saved : "";
    ::unsetenv("HOME");
    const std::string home = HomeFolder();
    ::setenv("HOME", "/elsewhere", 1);
    const std::string set = HomeFolder();
    ::setenv("HOME", before.c_str(), 1);
    const passwd* me = ::getpwuid(::getuid());
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(home, me->pw_dir);
    EXPECT_EQ(set, "/elsewhere");
}

} // namespace
} // namespace kelvaro
#endif

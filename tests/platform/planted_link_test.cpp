#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, PlantedLinkTest) {
    GTEST_SKIP() << "Linux only: symbolic links and sticky folders of POSIX";
}
#else
// Another user plants links where this user's program will write. Run as root:
// the planting user is an ordinary one, and root is the victim, whose 0600 file
// the links point at.

#include "platform/error.h"
#include "platform/file_io.h"
#include "support/fixtures.h"
#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::Thrown;
using test::WriteBytes;

TEST(PlantedLink, ALinkInASharedFolderIsFollowedOnlyAsTheKernelRuleWould) {
    if (::geteuid() != 0 || !test::FindOrdinaryUser()) {
        GTEST_SKIP() << "needs root and an ordinary user to plant the links";
    }
    TempFolder base;
    ::chmod(base.Path().c_str(), 0755);
    const std::string secret = base.File("secret");
    WriteBytes(secret, "victim");
    ::chmod(secret.c_str(), 0600);
    const std::string shared = base.File("shared");
    ::mkdir(shared.c_str(), 0700);
    ::chmod(shared.c_str(), 01777);
    const std::string theirs = base.File("theirs"); // a sticky folder the planter owns
    ::mkdir(theirs.c_str(), 0700);
    ::chmod(theirs.c_str(), 01777);
    ::chown(theirs.c_str(), test::FindOrdinaryUser()->Uid, 0);
    const auto planted = test::RunAsOrdinaryUser([&]() -> std::string {
        const bool made = ::symlink(secret.c_str(), (shared + "/planted").c_str()) == 0 &&
                          ::symlink(base.Path().c_str(), (shared + "/folder").c_str()) == 0 &&
                          ::symlink(secret.c_str(), (theirs + "/planted").c_str()) == 0;
        return made ? "" : "could not plant";
    });
    ASSERT_EQ(planted, std::optional<std::string>(""));
    ASSERT_EQ(::symlink(secret.c_str(), (shared + "/mine").c_str()), 0);

    struct Case {
        std::string target;
        bool followed;
    };
    for (const Case& c : {Case{shared + "/planted", false}, Case{shared + "/folder/secret", false},
                          Case{theirs + "/planted", true}, Case{shared + "/mine", true}}) {
        WriteBytes(secret, "victim");
        const RuntimeError error = Thrown([&] { WriteFileReplacing(c.target, "planted"); });
        EXPECT_EQ(ReadBytes(secret), c.followed ? "planted" : "victim") << c.target;
        if (!c.followed) {
            EXPECT_EQ(error.Number(), ErrorNo::PermissionDenied) << c.target;
            EXPECT_EQ(error.Cause(),
                      "共有フォルダにあるほかのユーザーのシンボリックリンクなので、たどりません")
                << c.target;
            EXPECT_EQ(error.Path(), c.target);
        }
    }
}

TEST(PlantedLink, TheProgramsOwnFileFollowsNoLinkAndRefusesASharedFolder) {
    TempFolder base;
    const std::string secret = base.File("secret");
    WriteBytes(secret, "victim");
    ::mkdir(base.File("page").c_str(), 0700);
    ASSERT_EQ(::symlink(secret.c_str(), base.File("page/BrowserSample.html").c_str()), 0);
    const RuntimeError error =
        Thrown([&] { WriteOwnFile(base.File("page"), "BrowserSample.html", "<html>"); });
    EXPECT_EQ(error.Cause(), "シンボリックリンクなので、たどりません");
    EXPECT_EQ(ReadBytes(secret), "victim");

    ::mkdir(base.File("shared").c_str(), 0700);
    ::chmod(base.File("shared").c_str(), 01777);
    EXPECT_EQ(test::ThrownNumber([&] { WriteOwnFile(base.File("shared"), "page.html", "x"); }),
              ErrorNo::PermissionDenied);
    EXPECT_EQ(test::FolderEntries(base.File("shared")), std::vector<std::string>{});
}

} // namespace
} // namespace kelvaro
#endif

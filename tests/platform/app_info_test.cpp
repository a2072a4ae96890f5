#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, AppInfoTest) {
    GTEST_SKIP() << "Linux only: folders made with POSIX modes and flock locks";
}
#else
#include "platform/app_info.h"

#include "platform/error.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kelvaro {
namespace {

using test::TempFolder;
using test::WriteBytes;

TEST(AppInfoString, NamesAndVersions) {
    EXPECT_EQ(AppInfoString(AppInfo::ProductName), "Kelvaro");
    EXPECT_EQ(AppInfoString(AppInfo::Version), "Ver " + std::string(ProgramVersion));
    EXPECT_EQ(AppInfoString(AppInfo::ProductAndVersion), test::kProductAndVersion);
    EXPECT_EQ(AppInfoString(AppInfo::ProductAndVersion),
              AppInfoString(AppInfo::ProductName) + " " + AppInfoString(AppInfo::Version));
    EXPECT_EQ(AppInfoString(static_cast<AppInfo>(4)), "");
}

TEST(AppInfoString, TemplateSetVersion) {
    TempFolder dir;
    const std::string folder = dir.File("Templates");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "テンプレートなし");
    WriteBytes(dir.File("Version.txt"), "elsewhere\r\n");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "テンプレートなし");

    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "バージョン不明");
    WriteBytes(folder + "/Version.txt", "");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "バージョン不明");
    WriteBytes(folder + "/Version.txt",
               "  \x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93 2.0  \r\nsecond\r\n");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "  バージョン 2.0  ");
    WriteBytes(folder + "/Version.txt", "\r\nsecond\r\n");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "");
    WriteBytes(folder + "/Version.txt", "1.5\rsecond");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "1.5");
    WriteBytes(folder + "/Version.txt", "no line end");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "no line end");
    WriteBytes(folder + "/Version.txt", "lone\nfeed\r\n");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, folder), "lone\nfeed");
}

TEST(AppInfoString, PlainFileNamedTemplatesCountsAsAFolderWithoutVersion) {
    TempFolder dir;
    WriteBytes(dir.File("Templates"), "not a folder");
    EXPECT_EQ(AppInfoString(AppInfo::TemplateSetVersion, dir.File("Templates")), "バージョン不明");
}

TEST(AppInfoString, TemplateSetVersionOrUnknownTurnsAReadFailureIntoUnknown) {
    TempFolder dir;
    const std::string folder = dir.File("Templates");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    WriteBytes(folder + "/Version.txt", "3.1\r\n");
    test::LockHolder lock(folder + "/Version.txt");
    ASSERT_TRUE(lock.Locked());
    EXPECT_THROW(AppInfoString(AppInfo::TemplateSetVersion, folder), RuntimeError);
    EXPECT_EQ(TemplateSetVersionOrUnknown(folder), "バージョン不明");
    EXPECT_EQ(TemplateSetVersionOrUnknown(dir.File("nothing")), "テンプレートなし");
}

} // namespace
} // namespace kelvaro
#endif

#include "files/app_info.h"

#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kelvaro {
namespace {

using test::TempFolder;
using test::WriteBytes;

TEST(AppInfoString, NamesAndVersions) {
    EXPECT_EQ(AppInfoString(0), "Kelvaro");
    EXPECT_EQ(AppInfoString(1), "Ver 1.0.0");
    EXPECT_EQ(AppInfoString(2), "Kelvaro Ver 1.0.0");
    EXPECT_EQ(AppInfoString(2), AppInfoString(0) + " " + AppInfoString(1));
    EXPECT_EQ(AppInfoString(4), "");
    EXPECT_EQ(AppInfoString(4294967295u), "");
}

TEST(AppInfoString, TemplateSetVersion) {
    TempFolder dir;
    const std::string folder = dir.File("Templates");
    EXPECT_EQ(AppInfoString(3, folder), "テンプレートなし");
    WriteBytes(dir.File("Version.txt"), "elsewhere\r\n");
    EXPECT_EQ(AppInfoString(3, folder), "テンプレートなし");

    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_EQ(AppInfoString(3, folder), "バージョン不明");
    WriteBytes(folder + "/Version.txt", "");
    EXPECT_EQ(AppInfoString(3, folder), "バージョン不明");
    WriteBytes(folder + "/Version.txt",
               "  \x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93 2.0  \r\nsecond\r\n");
    EXPECT_EQ(AppInfoString(3, folder), "  バージョン 2.0  ");
    WriteBytes(folder + "/Version.txt", "\r\nsecond\r\n");
    EXPECT_EQ(AppInfoString(3, folder), "");
    WriteBytes(folder + "/Version.txt", "1.5\rsecond");
    EXPECT_EQ(AppInfoString(3, folder), "1.5");
    WriteBytes(folder + "/Version.txt", "no line end");
    EXPECT_EQ(AppInfoString(3, folder), "no line end");
    WriteBytes(folder + "/Version.txt", "lone\nfeed\r\n");
    EXPECT_EQ(AppInfoString(3, folder), "lone\nfeed");
}

TEST(AppInfoString, PlainFileNamedTemplatesCountsAsAFolderWithoutVersion) {
    TempFolder dir;
    WriteBytes(dir.File("Templates"), "not a folder");
    EXPECT_EQ(AppInfoString(3, dir.File("Templates")), "バージョン不明");
}

TEST(WithTrailingBackslash, AppendsTheFolderSeparatorOnce) {
    EXPECT_EQ(WithTrailingBackslash("/"), "/");
    EXPECT_EQ(WithTrailingBackslash("/opt/kelvaro"), "/opt/kelvaro/");
    EXPECT_EQ(WithTrailingBackslash("/opt/kelvaro/"), "/opt/kelvaro/");
    EXPECT_EQ(WithTrailingBackslash(""), "/");
}

} // namespace
} // namespace kelvaro

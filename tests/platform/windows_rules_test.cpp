// The rules the Windows build follows that are plain data: which names Windows
// refuses, what each Windows error code is told as, and where a Windows
// program keeps its files. They read the same on every build, so they are
// checked on every build.

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/error_causes.h"
#include "platform/windows_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kelvaro {
namespace {

TEST(WindowsNames, DevicesTrailingDotsAndReservedCharactersAreRefused) {
    const struct {
        const char* path;
        bool usable;
    } table[] = {
        {R"(C:\ReadMe\ReadMe.txt)", true},
        {"ReadMe.txt", true},
        {"フォーム/説明.ref", true},
        {R"(\\server\share\a.txt)", true},
        {R"(\\?\C:\very\long\a.txt)", true},
        {R"(C:\a\..\b\.\c.txt)", true},
        {"CONSOLE.txt", true}, // only the whole stem names a device
        {"COM0", true},
        {"LPT10", true},
        {"CON", false},
        {R"(C:\work\nul)", false},
        {"NUL.txt", false},
        {"aux.tar.gz", false},
        {"Com1", false},
        {"LPT9.log", false},
        {"COM\xC2\xB9", false}, // COM¹
        {"CON .txt", false},
        {"CONIN$", false},
        {R"(C:\folder\CON\a.txt)", false}, // a device on the way
        {"ReadMe.", false},
        {"ReadMe ", false},
        {R"(C:\dots.\a.txt)", false},
        {"a<b", false},
        {"a>b", false},
        {R"(C:\a:b)", false},
        {"a\"b", false},
        {"a|b", false},
        {"a?b", false},
        {"a*b", false},
        {"a\tb", false},
        {R"(\\.\PhysicalDrive0)", false},
        {"", false},
    };
    for (const auto& row : table) {
        EXPECT_EQ(IsUsableWindowsPath(row.path), row.usable) << row.path;
    }
}

TEST(WindowsErrors, EachCodeHasItsNumberAndCause) {
    const struct {
        std::uint32_t code;
        FileAccess access;
        int number;
        std::string cause;
    } table[] = {
        {2, FileAccess::Read, ErrorNo::FileNotFound, Cause::FileNotFound},
        {2, FileAccess::List, ErrorNo::FileNotFound, Cause::FolderMissing},
        {3, FileAccess::Write, ErrorNo::PathNotFound, Cause::FolderMissing},
        {5, FileAccess::Read, ErrorNo::PermissionDenied, Cause::CannotRead},
        {5, FileAccess::Write, ErrorNo::PermissionDenied, Cause::CannotWrite},
        {5, FileAccess::Create, ErrorNo::PermissionDenied, Cause::CannotWriteFolder},
        {5, FileAccess::List, ErrorNo::PermissionDenied, Cause::CannotListFolder},
        {19, FileAccess::Write, ErrorNo::PermissionDenied, Cause::ReadOnlyDisk},
        {32, FileAccess::Write, ErrorNo::PermissionDenied, Cause::InUse},
        {33, FileAccess::Read, ErrorNo::PermissionDenied, Cause::InUse},
        {39, FileAccess::Write, ErrorNo::DiskFull, Cause::DiskFull},
        {112, FileAccess::Write, ErrorNo::DiskFull, Cause::DiskFull},
        {1295, FileAccess::Write, ErrorNo::DiskFull, Cause::QuotaExceeded},
        {123, FileAccess::Write, ErrorNo::BadFileName, Cause::BadFileName},
        {206, FileAccess::Write, ErrorNo::BadFileName, Cause::NameTooLong},
        {30, FileAccess::Read, ErrorNo::DeviceIo, Cause::DiskIo},
        {8, FileAccess::Read, ErrorNo::OutOfMemory, Cause::OutOfMemory},
    };
    for (const auto& row : table) {
        EXPECT_TRUE(IsKnownWindowsError(row.code)) << row.code;
        EXPECT_EQ(ErrorNumberFromWindowsError(row.code), row.number) << row.code;
        EXPECT_EQ(WindowsErrorCause(row.code, row.access), row.cause) << row.code;
    }
}

TEST(WindowsErrors, AnUnknownCodeIsToldWithItsNumber) {
    const std::uint32_t unknown = 0xDEAD;
    EXPECT_FALSE(IsKnownWindowsError(unknown));
    EXPECT_EQ(ErrorNumberFromWindowsError(unknown), ErrorNo::PathFileAccess);
    EXPECT_NE(WindowsErrorCause(unknown).find(std::to_string(unknown)), std::string::npos);
}

TEST(WindowsAppFolders, APortableCopyKeepsItsFilesBesideItselfAndAnInstalledOneWithTheUser) {
    FolderEnvironment env;
    env.Home = R"(C:\Users\u)";
    env.DataHome = R"(C:\Users\u\AppData\Roaming)";
    env.StateHome = R"(C:\Users\u\AppData\Local)";
    const std::string program = R"(D:\Tools\Kelvaro)";
    const std::string local = R"(C:\Users\u\AppData\Local\Kelvaro)";
    const struct {
        bool programWritable;
        bool stateWritable;
        std::string templates, page, installed, state;
    } table[] = {
        {true, true, program + R"(\Templates)", program, "", program + R"(\State)"},
        // A State folder the user made read-only sends only the state away.
        {true, false, program + R"(\Templates)", program, "", local},
        {false, false, R"(C:\Users\u\AppData\Roaming\Kelvaro\Templates)", local,
         program + R"(\Templates)", local},
    };
    for (const auto& row : table) {
        const AppFolders folders =
            WindowsAppFolders(program, row.programWritable, row.stateWritable, env);
        const std::string which = std::to_string(row.programWritable) + row.templates;
        EXPECT_EQ(folders.Program, program) << which;
        EXPECT_EQ(folders.Templates, row.templates) << which;
        EXPECT_EQ(folders.BrowserPage, row.page) << which;
        EXPECT_EQ(folders.InstalledTemplates, row.installed) << which;
        EXPECT_EQ(folders.StateFolder, row.state) << which;
        EXPECT_EQ(folders.Guide, program + R"(\guide.html)") << which;
    }
}

} // namespace
} // namespace kelvaro

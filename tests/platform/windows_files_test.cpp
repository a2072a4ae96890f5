// Windows' own file semantics behind the platform headers: replacing a file
// keeps what Windows keeps, locks of another process, names Windows refuses,
// Japanese and long paths, the program's folder. They need Windows (or Wine);
// on any other system the suite says so with one skipped test.

#include <gtest/gtest.h>

#ifdef _WIN32

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "platform/held_lock.h"
#include "platform/paths.h"
#include "platform/write_ahead_record.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace kelvaro {
namespace {

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              static_cast<int>(wide.size()))));
    return wide;
}

// Removes a folder and all it holds; long paths take the prefix.
void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            const std::wstring path = folder + L"\\" + name;
            if (name == L"." || name == L"..") {
                continue;
            }
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                Remove(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// A fresh folder under the temporary folder, emptied and removed at the end.
class WinFolder {
public:
    WinFolder() {
        wchar_t base[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, base);
        std::wstring wide = std::wstring(base) + L"kelvaro-test-" +
                            std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++count_);
        ::CreateDirectoryW(wide.c_str(), nullptr);
        char narrow[4 * MAX_PATH] = {};
        ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr,
                              nullptr);
        path_ = narrow;
    }
    ~WinFolder() { Remove(LR"(\\?\)" + Wide(path_)); }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    static inline int count_ = 0;
    std::string path_;
};

int ErrorOf(const std::function<void()>& work, std::string* cause = nullptr) {
    try {
        work();
    } catch (const RuntimeError& error) {
        if (cause != nullptr) {
            *cause = error.Cause();
        }
        return error.Number();
    }
    return 0;
}

TEST(WindowsFiles, AReadOnlyFileIsReportedAndKeepsItsAttribute) {
    WinFolder folder;
    const std::string path = folder.File("ReadMe.txt");
    WriteFileReplacing(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
    std::string cause;
    EXPECT_EQ(ErrorOf([&] { WriteFileReplacing(path, "new"); }, &cause), ErrorNo::PermissionDenied);
    EXPECT_EQ(cause, Cause::ReadOnlyFile);
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_NE(::GetFileAttributesW(Wide(path).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// ReplaceFileW gives the new file the old one's attributes; a plain rename
// would lose them.
TEST(WindowsFiles, ReplacingKeepsTheTargetsAttributesAndLeavesNothingBeside) {
    WinFolder folder;
    const std::string path = folder.File("ReadMe.txt");
    WriteFileReplacing(path, "old");
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), kept));
    WriteFileReplacing(path, "new\r\n");
    EXPECT_EQ(ReadWholeFile(path), "new\r\n");
    EXPECT_EQ(::GetFileAttributesW(Wide(path).c_str()) & kept, kept);
    EXPECT_EQ(ListFileNames(folder.File(".")), std::vector<std::string>{"ReadMe.txt"});
}

// An indexer or an antivirus holds the file a moment; the save waits it out.
TEST(WindowsFiles, ARenameRefusedForAMomentIsRetried) {
    WinFolder folder;
    const std::string path = folder.File("ReadMe.txt");
    WriteFileReplacing(path, "old");
    HANDLE held =
        ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        ::Sleep(120);
        ::CloseHandle(held);
    });
    EXPECT_EQ(ErrorOf([&] { WriteFileReplacing(path, "new"); }), 0);
    release.join();
    EXPECT_EQ(ReadWholeFile(path), "new");
}

TEST(WindowsFiles, NamesWindowsRefusesAreBadFileNames) {
    WinFolder folder;
    for (const char* name :
         {"CON", "nul.txt", "COM1.ref", "ReadMe.", "ReadMe ", "a?b", "a*b", "a<b>", "a|b"}) {
        const std::string path = folder.File(name);
        EXPECT_EQ(ErrorOf([&] { WriteFileReplacing(path, "x"); }), ErrorNo::BadFileName) << name;
        EXPECT_EQ(ErrorOf([&] { ReadWholeFile(path); }), ErrorNo::BadFileName) << name;
    }
    EXPECT_TRUE(ListFileNames(folder.File(".")).empty());
}

TEST(WindowsFiles, JapaneseAndLongPathsWork) {
    WinFolder folder;
    std::string deep = folder.File("説明書フォルダ");
    while (Wide(deep).size() < 300) {
        deep += "\\長いフォルダ名のフォルダ";
    }
    MakeFolders(deep);
    const std::string path = deep + "\\説明書.txt";
    ASSERT_GT(Wide(path).size(), static_cast<std::size_t>(MAX_PATH));
    WriteFileReplacing(path, "\x90\xe0\x96\xbe\r\n");
    WriteFileReplacing(path, "\x93\xfa\x96\x7b\r\n"); // the replace, not only the create
    EXPECT_EQ(ReadWholeFile(path), "\x93\xfa\x96\x7b\r\n");
    EXPECT_TRUE(IsRegularFile(path));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_EQ(ListFileNames(deep), std::vector<std::string>{"説明書.txt"});
    const std::optional<FileStamp> stamp = StampOf(path);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->Size, 6);
    EXPECT_TRUE(RemoveFile(path));
    EXPECT_FALSE(PathExists(path));
}

// A file with a second hard link is written in place behind a write-ahead
// file, so both names keep showing one file; a failure part way puts the
// previous bytes back.
TEST(WindowsFiles, AFileWithTwoNamesIsWrittenInPlace) {
    WinFolder folder;
    const std::string path = folder.File("a.txt");
    const std::string other = folder.File("b.txt");
    WriteFileReplacing(path, "old");
    ASSERT_TRUE(::CreateHardLinkW(Wide(other).c_str(), Wide(path).c_str(), nullptr));
    const struct {
        const char* failingStep; // "" for none
        const char* afterwards;
    } table[] = {{"", "new"}, {"write-ahead", "old"}, {"truncate", "old"}, {"fsync", "old"}};
    for (const auto& row : table) {
        const std::string failing = row.failingStep;
        SetWriteFaultHook([&](std::string_view step) {
            if (step == failing) {
                throw RuntimeError(ErrorNo::DeviceIo);
            }
        });
        const int number = ErrorOf([&] { WriteFileReplacing(path, "new"); });
        SetWriteFaultHook({});
        EXPECT_EQ(number, failing.empty() ? 0 : ErrorNo::DeviceIo) << failing;
        EXPECT_EQ(ReadWholeFile(path), row.afterwards) << failing;
        EXPECT_EQ(ReadWholeFile(other), row.afterwards) << failing;
        WriteFileReplacing(path, "old");
    }
}

// A run killed while it wrote a file in place left a write-ahead file; the
// next run finishes the write into the same file, and keeps the content of one
// whose file is another by now.
TEST(WindowsFiles, TheNextRunFinishesAWriteInPlace) {
    WinFolder folder;
    const std::string state = folder.File("State");
    MakeFolders(state);
    const std::string same = folder.File("same.txt");
    const std::string replaced = folder.File("replaced.txt");
    const struct {
        std::string target;
        bool completed;
    } table[] = {{same, true}, {replaced, false}};
    int count = 0;
    for (const auto& row : table) {
        WriteFileReplacing(row.target, "old");
        const std::optional<FileStamp> stamp = StampOf(row.target);
        ASSERT_TRUE(stamp);
        WriteFileReplacing(state + "\\write-ahead-00000" + std::to_string(++count),
                           fileio::WriteAheadHeader(stamp->Device, stamp->Inode, 3, row.target, 3) +
                               "new");
    }
    // Another file under the name, as a save through a replace leaves.
    WriteFileReplacing(replaced, "other");

    std::vector<ResumedWrite> resumed = FinishInterruptedWrites(state);
    ASSERT_EQ(resumed.size(), 2u);
    std::sort(resumed.begin(), resumed.end(),
              [](const ResumedWrite& a, const ResumedWrite& b) { return a.Path > b.Path; });
    for (std::size_t i = 0; i < resumed.size(); ++i) {
        EXPECT_EQ(resumed[i].Path, table[i].target);
        EXPECT_EQ(resumed[i].Completed, table[i].completed) << table[i].target;
        EXPECT_EQ(resumed[i].KeptAt.empty(), table[i].completed) << table[i].target;
    }
    EXPECT_EQ(ReadWholeFile(same), "new");
    EXPECT_EQ(ReadWholeFile(replaced), "other");
    EXPECT_EQ(ReadWholeFile(resumed[1].KeptAt), "new");
    EXPECT_TRUE(ListFileNames(state).empty() ||
                ListFileNames(state) == std::vector<std::string>{FileName(resumed[1].KeptAt)});
}

TEST(WindowsFiles, ASaveThroughASymbolicLinkWritesTheFileBehindIt) {
    WinFolder folder;
    const std::string file = folder.File("本体.txt");
    const std::string link = folder.File("リンク.txt");
    WriteFileReplacing(file, "old");
    if (!::CreateSymbolicLinkW(Wide(link).c_str(), Wide(file).c_str(), 0) ||
        (::GetFileAttributesW(Wide(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
        ErrorOf([&] { ReadWholeFile(link); }) != 0) {
        GTEST_SKIP() << "no symbolic link that leads to its file could be made here";
    }
    WriteFileReplacing(link, "new");
    EXPECT_EQ(ReadWholeFile(file), "new");
    EXPECT_NE(::GetFileAttributesW(Wide(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

// The journal asks whether its own program holds a lock, as well as another.
TEST(WindowsFiles, AHeldLockIsHeldAgainstItsOwnProcessToo) {
    WinFolder folder;
    const std::string path = folder.File("journal.lock");
    std::optional<HeldLock> first = HeldLock::TryTake(path);
    ASSERT_TRUE(first);
    EXPECT_FALSE(HeldLock::TryTake(path));
    std::optional<HeldLock> moved = std::move(first);
    EXPECT_FALSE(HeldLock::TryTake(path));
    moved->RemoveAndRelease();
    EXPECT_FALSE(PathExists(path));
    EXPECT_TRUE(HeldLock::TryTake(path));
}

constexpr const char* kHoldVariable = "KELVARO_TEST_HOLD_LOCK";
constexpr const char* kModeVariable = "KELVARO_TEST_HOLD_MODE";

// The second process of the lock tests: takes an exclusive lock on the file
// the environment names, and either fails at once when it cannot ("try") or
// holds it until told to let go.
TEST(WindowsLockHolder, HoldsTheFileItIsGiven) {
    const char* path = std::getenv(kHoldVariable);
    if (path == nullptr) {
        GTEST_SKIP() << "the second process of the lock tests";
    }
    HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    OVERLAPPED whole{};
    ASSERT_TRUE(::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                             MAXDWORD, &whole));
    if (std::string_view(std::getenv(kModeVariable)) == "hold") {
        WriteFileReplacing(std::string(path) + ".held", "");
        for (int i = 0; i < 2000 && !PathExists(std::string(path) + ".release"); ++i) {
            ::Sleep(10);
        }
    }
    ::CloseHandle(file);
}

// Starts this test program again as the lock holder of `path`.
PROCESS_INFORMATION StartLockHolder(const std::string& path, const char* mode) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=WindowsLockHolder.HoldsTheFileItIsGiven";
    ::SetEnvironmentVariableW(Wide(kHoldVariable).c_str(), Wide(path).c_str());
    ::SetEnvironmentVariableW(Wide(kModeVariable).c_str(), Wide(mode).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &child)) {
        child.hProcess = nullptr;
    }
    ::SetEnvironmentVariableW(Wide(kHoldVariable).c_str(), nullptr);
    ::SetEnvironmentVariableW(Wide(kModeVariable).c_str(), nullptr);
    return child;
}

// Waits for the holder and returns its exit code: 0 when it took the lock.
DWORD FinishLockHolder(PROCESS_INFORMATION& child) {
    DWORD code = 99;
    if (child.hProcess == nullptr) {
        return code;
    }
    ::WaitForSingleObject(child.hProcess, 20000);
    ::GetExitCodeProcess(child.hProcess, &code);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    return code;
}

DWORD RunLockHolder(const std::string& path, const char* mode) {
    PROCESS_INFORMATION child = StartLockHolder(path, mode);
    return FinishLockHolder(child);
}

TEST(WindowsFiles, AnotherProgramsLockIsErrorSeventy) {
    WinFolder folder;
    const std::string path = folder.File("ReadMe.txt");
    WriteFileReplacing(path, "old");

    PROCESS_INFORMATION child = StartLockHolder(path, "hold");
    ASSERT_NE(child.hProcess, nullptr);
    for (int i = 0; i < 2000 && !PathExists(path + ".held"); ++i) {
        ::Sleep(10);
    }
    ASSERT_TRUE(PathExists(path + ".held"));

    std::string cause;
    EXPECT_EQ(ErrorOf([&] { WriteFileReplacing(path, "new"); }, &cause), ErrorNo::PermissionDenied);
    EXPECT_EQ(cause, Cause::InUse);
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(path); }), ErrorNo::PermissionDenied);
    // The journal's lock is the same kind of lock.
    EXPECT_FALSE(HeldLock::TryTake(path));

    WriteFileReplacing(path + ".release", "");
    EXPECT_EQ(FinishLockHolder(child), 0u);
    EXPECT_EQ(ReadWholeFile(path), "old");
    WriteFileReplacing(path, "new");
    EXPECT_EQ(ReadWholeFile(path), "new");
    std::optional<HeldLock> lock = HeldLock::TryTake(path);
    ASSERT_TRUE(lock);
    lock->RemoveAndRelease();
    EXPECT_FALSE(PathExists(path));
}

// The other way round: a journal's lock this program holds keeps another
// program (here the lock holder's start) from taking it.
TEST(WindowsFiles, AHeldLockStopsAnotherProgram) {
    WinFolder folder;
    const std::string path = folder.File("journal.lock");
    std::optional<HeldLock> lock = HeldLock::TryTake(path);
    ASSERT_TRUE(lock);
    EXPECT_EQ(RunLockHolder(path, "try"), 1u); // its lock was refused
    lock.reset();
    EXPECT_EQ(RunLockHolder(path, "try"), 0u);
}

TEST(WindowsFiles, TheProgramFolderHoldsTheRunningProgram) {
    const std::string folder = ProgramFolder();
    const std::vector<std::string> names = ListFileNames(folder);
    EXPECT_NE(std::find(names.begin(), names.end(), "kelvaro_platform_tests.exe"), names.end())
        << folder;
    // Portable where the program may write, as a test's build folder is.
    const AppFolders folders = LocateAppFolders(folder, CurrentFolderEnvironment());
    EXPECT_EQ(folders.InstalledTemplates, "");
    EXPECT_EQ(folders.StateFolder, folder + "\\State");
}

} // namespace
} // namespace kelvaro

#else

TEST(WindowsFiles, RunOnlyOnWindows) {
    GTEST_SKIP() << "Windows' own file semantics are tested in the Windows build";
}

#endif

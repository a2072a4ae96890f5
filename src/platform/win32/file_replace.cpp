#include "platform/file_io.h"

#include "platform/error.h"
#include "platform/file_replace_internal.h"
#include "platform/paths.h"
#include "platform/private_folder.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/write_ahead.h"

#include <optional>
#include <utility>

namespace kelvaro {

using namespace win32;
using fileio::RunFaultHook;
using fileio::SayUnrestoredWrite;

namespace {

constexpr std::string_view kTemporaryPrefix = ".kelvaro-";

bool IsBriefRefusal(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION;
}

// An antivirus or the indexer may hold a file for a moment after it was
// written; a rename refused then goes through a little later. Runs `rename`
// (true on success) a few times with a growing pause, about 0.8 s in all, and
// returns 0 or the last refusal.
template <typename Rename> DWORD RenameWithRetries(Rename&& rename) {
    DWORD code = 0;
    for (DWORD pause = 25; pause <= 400; pause *= 2) {
        if (rename()) {
            return 0;
        }
        code = ::GetLastError();
        if (!IsBriefRefusal(code)) {
            return code;
        }
        ::Sleep(pause);
    }
    return rename() ? 0 : ::GetLastError();
}

// Whether a file was last written longer ago than any save takes.
bool IsOld(const FILETIME& written) {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    constexpr std::uint64_t kTenMinutes = 10ULL * 60 * 10'000'000; // in 100 ns steps
    return ticks(now) > ticks(written) + kTenMinutes;
}

// What saves killed before their rename left in the folder. A running save
// holds its temporary file open without sharing deletion, except for the
// moment between closing it and putting it in place; a file old enough that no
// save can still be at work on it is what a killed one left.
void RemoveStaleTemporaryFiles(const std::string& folder) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = WidePath(JoinPath(folder, std::string(kTemporaryPrefix) + "*"));
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = Utf8FromWide(found.cFileName);
        // Exactly the prefix and six letters: a file the user named alike stays.
        if (name.size() == kTemporaryPrefix.size() + 6 &&
            (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            IsOld(found.ftLastWriteTime)) {
            ::DeleteFileW(WidePath(JoinPath(folder, name)).c_str());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Everything a half-done save has to undo; undoing happens in the destructor,
// so a failure anywhere, including one thrown by the fault hook, cleans up the
// same.
//
// A save writes a temporary file beside the target, flushes it and puts it in
// the target's place: ReplaceFileW for a file that exists (it keeps the
// target's ACL, attributes, creation time and streams), MoveFileExW for a new
// one. The target is never deleted first: at every moment one of the two files
// has its name. A file with other hard links, which a replace would split from
// them, and a writable file in a folder that takes no new file, are written in
// place behind a write-ahead file instead.
class ReplaceTransaction {
public:
    explicit ReplaceTransaction(const std::string& path) : path_(path) {}
    ~ReplaceTransaction() {
        temporary_.Close();
        if (!temporaryName_.empty() && !committed_) {
            ::DeleteFileW(WidePath(temporaryName_).c_str());
        }
    }
    ReplaceTransaction(const ReplaceTransaction&) = delete;
    ReplaceTransaction& operator=(const ReplaceTransaction&) = delete;

    void Run(std::string_view bytes);

private:
    void OpenTarget();
    void PutInPlace();
    void WriteInPlace(std::string_view bytes);
    bool Restore(const std::string& previous);

    const std::string& path_;
    Handle target_; // the existing target, locked
    Handle temporary_;
    std::string temporaryName_;
    bool committed_ = false;
};

void ReplaceTransaction::OpenTarget() {
    RunFaultHook("open");
    const DWORD attributes = AttributesOf(path_);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) {
            return; // a new file: nothing to lock yet
        }
        ThrowWindowsError("cannot examine", path_, code, FileAccess::Write);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RuntimeError(ErrorNo::PathFileAccess, FailurePlace{path_, Cause::NotAFile},
                           "a folder: " + path_);
    }
    // The user made the file read-only: that is said, and the attribute stays.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw RuntimeError(ErrorNo::PermissionDenied, FailurePlace{path_, Cause::ReadOnlyFile},
                           "read-only: " + path_);
    }
    target_.Reset(OpenFile(path_, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    if (!target_.IsOpen()) {
        ThrowWindowsError("cannot open", path_, ::GetLastError(), FileAccess::Write);
    }
    CheckRegularFile(target_.Get(), path_);
}

void ReplaceTransaction::Run(std::string_view bytes) {
    OpenTarget();
    RunFaultHook("lock");
    if (target_.IsOpen()) {
        if (const DWORD code = LockWhole(target_.Get(), true); code != 0) {
            ThrowWindowsError("cannot lock", path_, code, FileAccess::Write);
        }
    }
    const std::string folder = ParentFolder(path_);
    RemoveStaleTemporaryFiles(folder);

    BY_HANDLE_FILE_INFORMATION info{};
    if (target_.IsOpen() && ::GetFileInformationByHandle(target_.Get(), &info) &&
        info.nNumberOfLinks > 1) {
        WriteInPlace(bytes);
        return;
    }

    temporary_.Reset(CreateUniqueFile(JoinPath(folder, kTemporaryPrefix), temporaryName_));
    if (!temporary_.IsOpen()) {
        const DWORD code = ::GetLastError();
        temporaryName_.clear();
        if (target_.IsOpen() &&
            (code == ERROR_ACCESS_DENIED || code == ERROR_FILENAME_EXCED_RANGE)) {
            WriteInPlace(bytes);
            return;
        }
        ThrowWindowsError("cannot create a temporary file beside", path_, code, FileAccess::Create);
    }

    RunFaultHook("write");
    WriteAll(temporary_.Get(), bytes, path_);
    RunFaultHook("fsync");
    SyncFile(temporary_.Get(), path_);
    temporary_.Close();

    RunFaultHook("rename");
    PutInPlace();
    committed_ = true;
}

void ReplaceTransaction::PutInPlace() {
    const std::wstring target = WidePath(path_);
    const std::wstring temporary = WidePath(temporaryName_);
    const DWORD moveFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!target_.IsOpen()) {
        const DWORD code = RenameWithRetries(
            [&] { return ::MoveFileExW(temporary.c_str(), target.c_str(), moveFlags) != 0; });
        if (code != 0) {
            ThrowWindowsError("cannot replace", path_, code, FileAccess::Create);
        }
        return;
    }
    // ReplaceFileW carries the attributes over on Windows itself, not under
    // every emulation of it; they are set again from what the target had.
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(target_.Get(), &info) != 0;
    // The lock goes with the handle; Windows replaces no file that is open
    // without sharing deletion, this one's included.
    target_.Close();
    // With a backup name, a replace that fails half-way leaves both files
    // under names we know, the target under its own or the backup's.
    const std::wstring backup = temporary + L".old";
    DWORD code = RenameWithRetries([&] {
        return ::ReplaceFileW(target.c_str(), temporary.c_str(), backup.c_str(),
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
    });
    if (code == 0) {
        ::DeleteFileW(backup.c_str());
        if (known) {
            constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
            ::SetFileAttributesW(target.c_str(), info.dwFileAttributes & kKept);
        }
        return;
    }
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The target went to the backup's name and the new file did not take
        // its place: the target gets its name back.
        RenameWithRetries([&] { return ::MoveFileExW(backup.c_str(), target.c_str(), 0) != 0; });
    }
    ThrowWindowsError("cannot replace", path_, code, FileAccess::Create);
}

bool ReplaceTransaction::Restore(const std::string& previous) {
    try {
        RunFaultHook("restore");
        WriteAll(target_.Get(), previous, path_, 0);
        Truncate(target_.Get(), static_cast<std::int64_t>(previous.size()), path_);
        SyncFile(target_.Get(), path_);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void ReplaceTransaction::WriteInPlace(std::string_view bytes) {
    std::optional<std::string> previous;
    try {
        WriteAll(target_.Get(), {}, path_, 0); // back to the start
        previous = ReadToEnd(target_.Get(), path_);
    } catch (const RuntimeError&) {
        previous.reset();
    }
    // From here until it is forgotten a kill leaves the new content whole in a
    // file of the program's own, which the next run writes over the target.
    RunFaultHook("write-ahead");
    const WriteAhead ahead(path_, target_.Get(), bytes);
    bool touched = false;
    try {
        RunFaultHook("write");
        touched = true;
        WriteAll(target_.Get(), bytes, path_, 0);
        RunFaultHook("truncate");
        Truncate(target_.Get(), static_cast<std::int64_t>(bytes.size()), path_);
        RunFaultHook("fsync");
        SyncFile(target_.Get(), path_);
        RunFaultHook("forget");
    } catch (RuntimeError& error) {
        if (!touched || (previous && Restore(*previous))) {
            throw;
        }
        std::string kept = KeepBytes(ParentFolder(path_), path_, bytes);
        for (const std::string& folder : WriteAheadFolders()) {
            if (kept.empty()) {
                kept = KeepBytes(folder, path_, bytes);
            }
        }
        SayUnrestoredWrite(error, path_, kept);
        throw;
    } catch (...) {
        if (touched && previous) {
            Restore(*previous);
        }
        throw;
    }
    committed_ = true;
}

} // namespace

// The file a symbolic link (or a chain of them) finally names, so that a save
// through a link writes that file and the link stays, as on POSIX; the path
// itself for anything that is no link.
std::string fileio::FollowLinks(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const Handle file(OpenFile(path, 0, OPEN_EXISTING));
    if (!file.IsOpen()) {
        return path; // the link leads nowhere yet: the save tells why
    }
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file.Get(), final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
        if (length == 0) {
            return path;
        }
        if (length < final.size()) {
            // Windows answers with the long-path prefix; the user reads the
            // path in failures, so a short one goes without it.
            final.resize(length);
            if (final.rfind(LR"(\\?\UNC\)", 0) == 0) {
                final = LR"(\\)" + final.substr(8);
            } else if (final.rfind(LR"(\\?\)", 0) == 0 && final.size() < MAX_PATH) {
                final.erase(0, 4);
            }
            return Utf8FromWide(final);
        }
        final.resize(length);
    }
}

void fileio::ReplaceContents(const std::string& target, std::string_view bytes) {
    ReplaceTransaction transaction(target);
    transaction.Run(bytes);
}

} // namespace kelvaro

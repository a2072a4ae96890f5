#include "platform/win32/write_ahead.h"

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/private_folder.h"
#include "platform/win32/wide.h"
#include "platform/write_ahead_record.h"

#include <optional>
#include <random>

namespace kelvaro {

using namespace fileio;
using namespace win32;

namespace {

struct Identity {
    std::uint64_t Device = 0;
    std::uint64_t Index = 0;
    std::uint64_t Size = 0;
};

std::optional<Identity> IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    return Identity{info.dwVolumeSerialNumber,
                    (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                    (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow};
}

// Finishes one write-ahead file whose lock is ours; false when it must stay
// (its target is busy), so a later run tries again.
bool Finish(const std::string& folder, HANDLE ahead, const std::string& path,
            std::vector<ResumedWrite>& done) {
    const std::string text = ReadToEnd(ahead, path);
    WriteAheadRecord record;
    if (!ParseWriteAhead(text, record)) {
        return true; // cut before it was named: the target was never touched
    }
    ResumedWrite resumed{record.Target, false, {}};
    const Handle target(OpenFile(record.Target, GENERIC_WRITE, OPEN_EXISTING));
    const std::optional<Identity> found =
        target.IsOpen() ? IdentityOf(target.Get()) : std::optional<Identity>();
    if (found && found->Device == record.Device && found->Index == record.Inode) {
        if (LockWhole(target.Get(), true) != 0) {
            return false;
        }
        try {
            WriteAll(target.Get(), record.Bytes, record.Target, 0);
            Truncate(target.Get(), static_cast<std::int64_t>(record.Bytes.size()), record.Target);
            SyncFile(target.Get(), record.Target);
            resumed.Completed = true;
        } catch (const RuntimeError&) {
        }
    }
    if (!resumed.Completed) {
        // Another file stands there now, or it cannot be written: the user
        // decides what to do with the content, which is kept.
        resumed.KeptAt = KeepBytes(folder, record.Target, record.Bytes);
    }
    done.push_back(std::move(resumed));
    return true;
}

} // namespace

namespace win32 {

namespace {

std::string RandomPart() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string part;
    for (int i = 0; i < 6; ++i) {
        part += kLetters[random() % (sizeof kLetters - 1)];
    }
    return part;
}

} // namespace

HANDLE CreateUniqueFile(const std::string& stem, std::string& made) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        made = stem + RandomPart();
        // Not shared for deletion: the lock holder alone removes it.
        HANDLE file =
            ::CreateFileW(WidePath(made).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                          FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

std::string KeepBytes(const std::string& folder, const std::string& target,
                      std::string_view bytes) {
    std::string kept;
    Handle file(CreateUniqueFile(
        JoinPath(folder, FileName(target).substr(0, 160) + ".kelvaro-new-"), kept));
    if (!file.IsOpen()) {
        return {};
    }
    try {
        WriteAll(file.Get(), bytes, kept);
        SyncFile(file.Get(), kept);
        return kept;
    } catch (const RuntimeError&) {
    }
    file.Close();
    ::DeleteFileW(WidePath(kept).c_str());
    return {};
}

WriteAhead::WriteAhead(const std::string& target, HANDLE file, std::string_view bytes) {
    const std::optional<Identity> identity = IdentityOf(file);
    if (!identity) {
        ThrowWindowsError("cannot examine", target, ::GetLastError(), FileAccess::Write);
    }
    const std::string header =
        WriteAheadHeader(identity->Device, identity->Index, identity->Size, target, bytes.size());
    std::optional<RuntimeError> failure;
    for (const std::string& folder : WriteAheadFolders()) {
        std::string unfinished;
        try {
            MakePrivateFolder(folder);
            file_.Reset(
                CreateUniqueFile(JoinPath(folder, kUnfinishedWriteAheadPrefix), unfinished));
            if (!file_.IsOpen()) {
                ThrowWindowsError("cannot create a write-ahead file in", folder, ::GetLastError(),
                                  FileAccess::Create);
            }
            // Locked from the start: a run that finds it while it is being
            // written or used leaves it alone.
            if (const DWORD code = LockWhole(file_.Get(), true); code != 0) {
                ThrowWindowsError("cannot lock", unfinished, code, FileAccess::Write);
            }
            WriteAll(file_.Get(), header, target);
            WriteAll(file_.Get(), bytes, target);
            SyncFile(file_.Get(), target);
            // Renamed while open: the handle was opened without sharing
            // deletion, so the rename goes through the handle itself.
            const std::string named = JoinPath(
                folder, std::string(kWriteAheadPrefix) + unfinished.substr(unfinished.size() - 6));
            const std::wstring wide = WidePath(named);
            std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + wide.size() * sizeof(wchar_t));
            auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
            rename->ReplaceIfExists = FALSE;
            rename->RootDirectory = nullptr;
            rename->FileNameLength = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
            wide.copy(rename->FileName, wide.size());
            if (!::SetFileInformationByHandle(file_.Get(), FileRenameInfo, rename,
                                              static_cast<DWORD>(buffer.size()))) {
                ThrowWindowsError("cannot name the write-ahead file", target, ::GetLastError(),
                                  FileAccess::Create);
            }
            path_ = named;
            return;
        } catch (const RuntimeError& error) {
            if (file_.IsOpen()) {
                file_.Close();
                ::DeleteFileW(WidePath(unfinished).c_str());
            }
            if (!failure) {
                failure = error;
            }
        }
    }
    throw *failure;
}

WriteAhead::~WriteAhead() {
    // Marked for deletion through the handle that holds the lock; it goes when
    // the handle is closed, which lets go of the lock too.
    FILE_DISPOSITION_INFO remove{TRUE};
    if (!::SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &remove, sizeof remove)) {
        file_.Close();
        ::DeleteFileW(WidePath(path_).c_str());
    }
}

} // namespace win32

std::string fileio::TemporaryWriteAheadFolder() {
    wchar_t temporary[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return Utf8FromWide(std::wstring_view(temporary, length)) + "kelvaro";
}

void fileio::TakeLeftWriteAhead(const std::string& folder, const std::string& path, bool named,
                                std::vector<ResumedWrite>& done) {
    // A running write has it open without sharing: this open fails.
    Handle file(::CreateFileW(WidePath(path).c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen() || LockWhole(file.Get(), true) != 0) {
        return;
    }
    bool finished = true;
    if (named) {
        try {
            finished = Finish(folder, file.Get(), path, done);
        } catch (const RuntimeError&) {
            finished = false;
        }
    }
    if (finished) {
        FILE_DISPOSITION_INFO remove{TRUE};
        ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &remove, sizeof remove);
    }
}

} // namespace kelvaro

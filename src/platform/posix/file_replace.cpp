#include "platform/file_io.h"
#include "platform/file_links.h"
#include "platform/file_replace_internal.h"
#include "platform/posix/file_attributes.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/temporary_file.h"
#include "platform/posix/write_ahead.h"
#include "platform/private_folder.h"

#include "platform/error.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kelvaro {

using namespace fileio;

namespace {

// Opens the target for the lock without truncating it, creating it when missing.
// `created` tells whether this call made the file, so that a failed save can
// remove it again and leave the folder as it found it.
int OpenTargetForLock(const std::string& path, bool& created) {
    created = false;
    const int flags = O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
    int fd = ::open(path.c_str(), flags);
    if (fd >= 0 || errno != ENOENT) {
        return fd;
    }
    fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
        created = true;
        return fd;
    }
    if (errno != EEXIST) {
        return fd;
    }
    // Someone else created it in between (links were followed before): the file
    // is not ours to remove.
    return ::open(path.c_str(), flags | O_CREAT, 0666);
}

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

// A folder with the sticky bit (a shared folder such as /tmp) lets only the
// owner of a file, of the folder, or root rename over the file: anyone else who
// may write the file has to write it where it is.
bool StickyFolderForbidsRenaming(const std::string& folder, const struct stat& target) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || (info.st_mode & S_ISVTX) == 0) {
        return false;
    }
    const uid_t me = ::geteuid();
    return me != 0 && target.st_uid != me && info.st_uid != me;
}

// Everything a half-done save has to undo. Undoing happens in the destructor, so
// a failure anywhere, including one thrown by the fault hook, cleans up the same.
//
// A save normally writes a temporary file and renames it over the target, so
// the previous file stays whole until the new one is. Where a rename would
// break what the user has, the file is written in place instead, as QSaveFile
// falls back to: a file with other hard links (a rename would split it from
// them), and a writable file in a folder where no temporary file can be made
// or renamed (a folder the user may not write, a shared sticky folder).
class ReplaceTransaction {
public:
    explicit ReplaceTransaction(const std::string& path) : path_(path) {}
    ~ReplaceTransaction() {
        DropTemporary();
        if (createdTarget_ && !committed_) {
            ::unlink(path_.c_str());
        }
        target_.Close(); // releases the lock last
    }
    ReplaceTransaction(const ReplaceTransaction&) = delete;
    ReplaceTransaction& operator=(const ReplaceTransaction&) = delete;

    void Run(std::string_view bytes);

private:
    void OpenTarget();
    int OpenFolder();      // errno, or 0
    int CreateTemporary(); // errno, or 0
    void DropTemporary();
    void WriteInPlace(std::string_view bytes);
    std::optional<std::string> ReadPrevious() const;
    bool Restore(const std::string& previous);
    std::string Rescue(std::string_view bytes) const;

    const std::string& path_;
    FileDescriptor target_;
    FileDescriptor folder_; // the target's folder, where the temporary file is made
    int folderError_ = 0;   // why it could not be opened
    TemporaryFile temporary_;
    bool createdTarget_ = false;
    bool committed_ = false;
};

void ReplaceTransaction::OpenTarget() {
    RunFaultHook("open");
    target_.Reset(OpenTargetForLock(path_, createdTarget_));
    if (!target_.IsOpen()) {
        int error = errno;
        if (error == ELOOP) {
            // A link appeared after the links were followed: it is not followed.
            throw RuntimeError(ErrorNo::PermissionDenied,
                               FailurePlace{path_, Cause::LinkNotFollowed},
                               "a link appeared at " + path_);
        }
        ThrowOpenError("cannot open", path_, error,
                       error == EACCES && !PathExists(path_) ? FileAccess::Create
                                                             : FileAccess::Write);
    }
    struct stat info {};
    if (::fstat(target_.Get(), &info) != 0) {
        ThrowErrno("cannot examine", path_, errno, FileAccess::Write);
    }
    if (!S_ISREG(info.st_mode)) {
        ThrowNotRegular(path_, info);
    }
}

int ReplaceTransaction::OpenFolder() {
    folder_.Reset(::open(OpenableFolder(path_).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    return folder_.IsOpen() ? 0 : errno;
}

int ReplaceTransaction::CreateTemporary() {
    // Kept in the target's folder so that the final rename never crosses file
    // systems; hidden, and named relative to the folder, so that its name
    // counts against no limit of the path's length (temporary_file.h).
    return folder_.IsOpen() ? CreateTemporaryFile(folder_.Get(), temporary_) : folderError_;
}

void ReplaceTransaction::DropTemporary() {
    temporary_.File.Close();
    if (!temporary_.Name.empty() && !committed_) {
        ::unlinkat(folder_.Get(), temporary_.Name.c_str(), 0);
    }
    temporary_.Name.clear();
    temporary_.Lock.Close(); // the lock goes with the name, not before
}

void ReplaceTransaction::Run(std::string_view bytes) {
    OpenTarget();

    RunFaultHook("lock");
    if (::flock(target_.Get(), LOCK_EX | LOCK_NB) != 0) {
        ThrowErrno("cannot lock", path_, errno, FileAccess::Write);
    }

    // A new target was created with 0666 under the umask, so its mode is what a
    // new file should get; an old one keeps its own. Reading the umask directly
    // would mean changing it, which is not safe with other threads around.
    struct stat targetInfo {};
    if (::fstat(target_.Get(), &targetInfo) != 0) {
        ThrowErrno("cannot examine", path_, errno, FileAccess::Write);
    }

    // What saves killed before their rename left here goes first, whichever
    // way this one writes.
    folderError_ = OpenFolder();
    if (folderError_ == 0) {
        RemoveStaleTemporaryFiles(folder_.Get());
    }

    // A file this save created is nobody else's and has no other links; it is
    // always replaced, so a failure can remove it again.
    if (!createdTarget_ && (targetInfo.st_nlink > 1 ||
                            StickyFolderForbidsRenaming(OpenableFolder(path_), targetInfo))) {
        WriteInPlace(bytes);
        return;
    }

    if (int error = CreateTemporary(); error != 0) {
        // A file system whose names are too short for the temporary file's
        // still takes the write in place, which write-ahead makes as safe.
        if ((IsPermissionError(error) && !createdTarget_) || error == ENAMETOOLONG) {
            WriteInPlace(bytes);
            return;
        }
        ThrowOpenError("cannot create a temporary file beside", path_, error, FileAccess::Create);
    }

    RunFaultHook("write");
    WriteAll(temporary_.File.Get(), bytes, path_);
    // After the bytes: writing clears the set-ID bits and file capabilities.
    CopyFileAttributes(target_.Get(), targetInfo, temporary_.File.Get(), path_);

    RunFaultHook("fsync");
    SyncFile(temporary_.File.Get(), path_);
    if (int error = temporary_.File.Close(); error != 0) {
        ThrowErrno("cannot close", path_, error, FileAccess::Write);
    }

    RunFaultHook("rename");
    const std::string name = FileName(path_);
    if (::renameat(folder_.Get(), temporary_.Name.c_str(), folder_.Get(), name.c_str()) != 0) {
        const int error = errno;
        if (IsPermissionError(error) && !createdTarget_) {
            // The folder let us make a file but not rename over this one.
            DropTemporary();
            WriteInPlace(bytes);
            return;
        }
        ThrowErrno("cannot replace", path_, error, FileAccess::Create);
    }
    committed_ = true;
    SyncFolderBestEffort(OpenableFolder(path_));
}

// The previous bytes, kept to put back should the write in place fail part way;
// nullopt when the file cannot be read (write-only for this user).
std::optional<std::string> ReplaceTransaction::ReadPrevious() const {
    FileDescriptor file(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    try {
        std::string bytes;
        char buffer[65536];
        for (;;) {
            std::size_t got = ReadSome(file.Get(), buffer, sizeof buffer, path_);
            if (got == 0) {
                return bytes;
            }
            bytes.append(buffer, got);
        }
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

bool ReplaceTransaction::Restore(const std::string& previous) {
    try {
        RunFaultHook("restore");
        WriteAll(target_.Get(), previous, path_, 0);
        if (::ftruncate(target_.Get(), static_cast<off_t>(previous.size())) != 0) {
            return false;
        }
        SyncFile(target_.Get(), path_);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Keeps the new bytes in a file of their own, beside the target or else in one
// of the program's private folders, when the target could be neither written nor put back;
// returns its path, or "" when no such file could be made either.
std::string ReplaceTransaction::Rescue(std::string_view bytes) const {
    std::vector<std::string> folders = {OpenableFolder(path_)};
    for (const std::string& folder : WriteAheadFolders()) {
        try {
            MakePrivateFolder(folder);
            folders.push_back(folder);
        } catch (const RuntimeError&) {
        }
    }
    for (const std::string& folder : folders) {
        std::string pattern =
            WithTrailingBackslash(folder) + FileName(path_).substr(0, 160) + ".kelvaro-new-XXXXXX";
        FileDescriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
        if (!file.IsOpen()) {
            continue;
        }
        try {
            WriteAll(file.Get(), bytes, pattern);
            SyncFile(file.Get(), pattern);
            if (file.Close() == 0) {
                return pattern;
            }
        } catch (const RuntimeError&) {
        }
        ::unlink(pattern.c_str());
    }
    return {};
}

void ReplaceTransaction::WriteInPlace(std::string_view bytes) {
    const std::optional<std::string> previous = ReadPrevious();
    struct stat info {};
    if (::fstat(target_.Get(), &info) != 0) {
        ThrowErrno("cannot examine", path_, errno, FileAccess::Write);
    }
    // From here until it is forgotten a kill leaves the new content whole in a
    // file of the program's own, which the next run writes over the target.
    RunFaultHook("write-ahead");
    const WriteAhead ahead(path_, info, bytes);
    bool touched = false;
    try {
        RunFaultHook("write");
        touched = true;
        WriteAll(target_.Get(), bytes, path_, 0);
        RunFaultHook("truncate");
        if (::ftruncate(target_.Get(), static_cast<off_t>(bytes.size())) != 0) {
            ThrowErrno("cannot truncate", path_, errno, FileAccess::Write);
        }
        RunFaultHook("fsync");
        SyncFile(target_.Get(), path_);
        RunFaultHook("forget");
    } catch (RuntimeError& error) {
        if (!touched || (previous && Restore(*previous))) {
            throw;
        }
        SayUnrestoredWrite(error, path_, Rescue(bytes));
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

void fileio::ReplaceContents(const std::string& target, std::string_view bytes) {
    ReplaceTransaction transaction(target);
    transaction.Run(bytes);
}

} // namespace kelvaro

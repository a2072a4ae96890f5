#include "platform/file_io.h"

#include "platform/error.h"
#include "platform/error_causes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvaro {

namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

void RunFaultHook(std::string_view step) {
    // A copy, so a hook that replaces itself does not pull the function from under us.
    WriteFaultHook hook = FaultHook();
    if (hook) {
        hook(step);
    }
}

bool HoldsNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
}

void CheckFileName(const std::string& path) {
    if (path.empty() || HoldsNul(path)) {
        throw RuntimeError(ErrorNo::BadFileName,
                           FailurePlace{path, "ファイル名が空か、使えない文字を含んでいます"},
                           "bad file name");
    }
}

std::string Describe(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

// The folder part of a path as open() sees it: "." for a bare name, "/" for a
// name straight under the root.
std::string ParentFolder(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    std::string::size_type end = path.find_last_not_of('/', slash);
    if (end == std::string::npos) {
        return "/";
    }
    return path.substr(0, end + 1);
}

std::string BaseName(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path, int error,
                             FileAccess access) {
    throw RuntimeError(ErrorNumberFromErrno(error),
                       FailurePlace{path, FileErrorCause(error, access)},
                       Describe(what, path, error));
}

// ENOENT alone cannot tell a missing file from a missing folder on the way; the
// user is told which of the two it was.
[[noreturn]] void ThrowOpenError(const std::string& what, const std::string& path, int error,
                                 FileAccess access) {
    if (error == ENOENT && !IsDirectory(ParentFolder(path))) {
        throw RuntimeError(ErrorNo::PathNotFound, FailurePlace{path, Cause::FolderMissing},
                           Describe(what, path, error));
    }
    ThrowErrno(what, path, error, access);
}

[[noreturn]] void ThrowNotRegular(const std::string& path, const struct stat& info) {
    throw RuntimeError(
        ErrorNo::PathFileAccess,
        FailurePlace{path, S_ISDIR(info.st_mode) ? Cause::NotAFile : Cause::NotARegularFile},
        "not a regular file: " + path);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    // Returns close()'s errno, or 0. On Linux the descriptor is gone even when
    // close() reports EINTR, so it is never retried.
    int Close() {
        if (fd_ < 0) {
            return 0;
        }
        int result = ::close(fd_);
        fd_ = -1;
        return result == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int fd_;
};

// Opens an existing regular file for reading under a shared lock and returns its
// size. O_NONBLOCK keeps a FIFO from hanging the program; anything but a regular
// file is refused.
std::size_t OpenForReading(const std::string& path, FileDescriptor& file) {
    CheckFileName(path);
    file.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsOpen()) {
        ThrowOpenError("cannot open", path, errno, FileAccess::Read);
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        ThrowErrno("cannot examine", path, errno, FileAccess::Read);
    }
    if (!S_ISREG(info.st_mode)) {
        ThrowNotRegular(path, info);
    }
    if (::flock(file.Get(), LOCK_SH | LOCK_NB) != 0) {
        ThrowErrno("cannot lock", path, errno, FileAccess::Read);
    }
    return static_cast<std::size_t>(info.st_size);
}

// Reads once, retrying on interruption; returns the byte count (0 at the end).
std::size_t ReadSome(int fd, char* buffer, std::size_t size, const std::string& path) {
    for (;;) {
        ssize_t got = ::read(fd, buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            ThrowErrno("cannot read", path, errno, FileAccess::Read);
        }
    }
}

// Writes the bytes at `offset`, or where the file position stands when `offset`
// is negative. Failures are reported against `path`, the file the user chose:
// the temporary file is no name the user knows.
void WriteAll(int fd, std::string_view bytes, const std::string& path, off_t offset = -1) {
    while (!bytes.empty()) {
        ssize_t done = offset < 0 ? ::write(fd, bytes.data(), bytes.size())
                                  : ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("cannot write", path, errno, FileAccess::Write);
        }
        if (done == 0) {
            // A regular file that accepts nothing and reports no error: treat it as a
            // device failure rather than spinning.
            throw RuntimeError(ErrorNo::DeviceIo,
                               FailurePlace{path, "ディスクに書き込めませんでした"},
                               "no progress writing " + path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
        if (offset >= 0) {
            offset += static_cast<off_t>(done);
        }
    }
}

void SyncFile(int fd, const std::string& path) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            ThrowErrno("cannot sync", path, errno, FileAccess::Write);
        }
    }
}

// Without this the rename may not survive a power cut; a folder that cannot be
// synced (some network file systems) does not make the save fail.
void SyncFolderBestEffort(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string WithSlash(std::string folder) {
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The file a path finally names: a symbolic link is followed, link after link,
// to the file it points to, which need not exist yet. Saving through a link then
// writes the file behind it and keeps the link.
std::string FollowLinks(const std::string& path) {
    constexpr int MaxLinks = 40; // as the kernel's own limit
    std::string current = path;
    for (int hops = 0; hops < MaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string target(256, '\0');
        for (;;) {
            ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
            if (length < 0) {
                ThrowErrno("cannot follow the link", current, errno, FileAccess::Read);
            }
            if (static_cast<std::size_t>(length) < target.size()) {
                target.resize(static_cast<std::size_t>(length));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty()) {
            return current;
        }
        if (target.front() == '/') {
            current = std::move(target);
        } else {
            // Relative to the folder the link is in.
            current = WithSlash(ParentFolder(current)).append(target);
        }
    }
    ThrowErrno("too many links at", path, ELOOP, FileAccess::Write);
}

// Opens the target for the lock without truncating it, creating it when missing.
// `created` tells whether this call made the file, so that a failed save can
// remove it again and leave the folder as it found it.
int OpenTargetForLock(const std::string& path, bool& created) {
    created = false;
    const int flags = O_WRONLY | O_CLOEXEC | O_NONBLOCK;
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
        temporary_.Close();
        if (!temporaryPath_.empty() && !committed_) {
            ::unlink(temporaryPath_.c_str());
        }
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
    int CreateTemporary(); // errno, or 0
    void DropTemporary();
    void WriteInPlace(std::string_view bytes);
    std::optional<std::string> ReadPrevious() const;
    bool Restore(const std::string& previous);
    std::string Rescue(std::string_view bytes) const;

    const std::string& path_;
    FileDescriptor target_;
    FileDescriptor temporary_;
    std::string temporaryPath_;
    bool createdTarget_ = false;
    bool committed_ = false;
};

void ReplaceTransaction::OpenTarget() {
    RunFaultHook("open");
    target_.Reset(OpenTargetForLock(path_, createdTarget_));
    if (!target_.IsOpen()) {
        int error = errno;
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

int ReplaceTransaction::CreateTemporary() {
    // Kept in the target's folder so that the final rename never crosses file
    // systems; hidden, and named after the target so a leftover explains itself.
    // The name part is shortened so that a long target name still leaves room.
    std::string pattern =
        WithSlash(ParentFolder(path_)) + "." + BaseName(path_).substr(0, 160) + ".kelvaro-XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    temporary_.Reset(fd);
    temporaryPath_ = pattern;
    return 0;
}

void ReplaceTransaction::DropTemporary() {
    temporary_.Close();
    if (!temporaryPath_.empty()) {
        ::unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
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

    // A file this save created is nobody else's and has no other links; it is
    // always replaced, so a failure can remove it again.
    if (!createdTarget_ &&
        (targetInfo.st_nlink > 1 || StickyFolderForbidsRenaming(ParentFolder(path_), targetInfo))) {
        WriteInPlace(bytes);
        return;
    }

    if (int error = CreateTemporary(); error != 0) {
        if (IsPermissionError(error) && !createdTarget_) {
            WriteInPlace(bytes);
            return;
        }
        ThrowOpenError("cannot create a temporary file beside", path_, error, FileAccess::Create);
    }

    RunFaultHook("write");
    WriteAll(temporary_.Get(), bytes, path_);
    if (::fchmod(temporary_.Get(), targetInfo.st_mode & 07777) != 0) {
        ThrowErrno("cannot set the permissions of", temporaryPath_, errno, FileAccess::Write);
    }
    // Keeps a file saved by root owned by its owner; only root can do this, and a
    // failure just leaves the new file owned by whoever saved it.
    if (targetInfo.st_uid != ::geteuid() || targetInfo.st_gid != ::getegid()) {
        [[maybe_unused]] int ignored =
            ::fchown(temporary_.Get(), targetInfo.st_uid, targetInfo.st_gid);
    }

    RunFaultHook("fsync");
    SyncFile(temporary_.Get(), path_);
    if (int error = temporary_.Close(); error != 0) {
        ThrowErrno("cannot close", path_, error, FileAccess::Write);
    }

    RunFaultHook("rename");
    if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
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
    SyncFolderBestEffort(ParentFolder(path_));
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

// Keeps the new bytes in a file of their own, beside the target or else in the
// temporary folder, when the target could be neither written nor put back;
// returns its path, or "" when no such file could be made either.
std::string ReplaceTransaction::Rescue(std::string_view bytes) const {
    std::vector<std::string> folders = {ParentFolder(path_)};
    const char* tmp = std::getenv("TMPDIR");
    folders.emplace_back(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp");
    for (const std::string& folder : folders) {
        std::string pattern =
            WithSlash(folder) + BaseName(path_).substr(0, 160) + ".kelvaro-new-XXXXXX";
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
    bool touched = false;
    try {
        RunFaultHook("write");
        touched = true;
        WriteAll(target_.Get(), bytes, path_, 0);
        if (::ftruncate(target_.Get(), static_cast<off_t>(bytes.size())) != 0) {
            ThrowErrno("cannot truncate", path_, errno, FileAccess::Write);
        }
        RunFaultHook("fsync");
        SyncFile(target_.Get(), path_);
    } catch (RuntimeError& error) {
        if (!touched || (previous && Restore(*previous))) {
            throw;
        }
        const std::string kept = Rescue(bytes);
        error.SetPathIfMissing(path_);
        error.SetCauseIfMissing("書き込みに失敗しました");
        error.AppendToCause(kept.empty() ? "。元の内容に戻せず、新しい内容も保存できませんでした"
                                         : "。元の内容に戻せなかったため、新しい内容を " + kept +
                                               " に保存しました");
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

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    CheckFileName(path);
    try {
        const std::string target = FollowLinks(path);
        ReplaceTransaction transaction(target);
        transaction.Run(bytes);
    } catch (RuntimeError& error) {
        // The fault hook's failures know no file.
        error.SetPathIfMissing(path);
        throw;
    }
}

std::string ReadWholeFile(const std::string& path) {
    FileDescriptor file;
    const std::size_t size = OpenForReading(path, file);
    // Straight into a string of the file's size: a large form file is then
    // neither copied each time the string outgrows itself nor held twice while
    // that happens. A file that is longer than it said is read on to its end.
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t got = ReadSome(file.Get(), bytes.data() + done, bytes.size() - done, path);
        if (got == 0) {
            break;
        }
        done += got;
    }
    bytes.resize(done);
    if (done < size) {
        return bytes;
    }
    char buffer[65536];
    for (;;) {
        std::size_t got = ReadSome(file.Get(), buffer, sizeof buffer, path);
        if (got == 0) {
            break;
        }
        bytes.append(buffer, got);
    }
    return bytes;
}

std::string ReadFirstLine(const std::string& path, bool& hadLine) {
    hadLine = false;
    FileDescriptor file;
    OpenForReading(path, file);
    // Every line end starts with CR, so the first CR ends the line; the LF that may
    // follow it is never needed, and nothing past it is read.
    std::string line;
    char buffer[4096];
    for (;;) {
        std::size_t got = ReadSome(file.Get(), buffer, sizeof buffer, path);
        if (got == 0) {
            break;
        }
        hadLine = true;
        const char* end = static_cast<const char*>(std::memchr(buffer, '\r', got));
        if (end != nullptr) {
            line.append(buffer, static_cast<std::size_t>(end - buffer));
            break;
        }
        line.append(buffer, got);
    }
    return line;
}

namespace {

bool StatPath(const std::string& path, struct stat& info) {
    return !path.empty() && !HoldsNul(path) && ::stat(path.c_str(), &info) == 0;
}

} // namespace

bool PathExists(const std::string& path) {
    struct stat info {};
    return StatPath(path, info);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return StatPath(path, info) && S_ISREG(info.st_mode);
}

std::vector<std::string> ListFileNames(const std::string& folder) {
    if (HoldsNul(folder)) {
        throw RuntimeError(ErrorNo::BadFileName,
                           FailurePlace{folder, "フォルダ名に使えない文字が含まれています"},
                           "bad folder name");
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        int error = errno;
        int number = error == ENOENT ? ErrorNo::PathNotFound : ErrorNumberFromErrno(error);
        throw RuntimeError(number, FailurePlace{folder, FileErrorCause(error, FileAccess::List)},
                           Describe("cannot list", folder, error));
    }
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            int error = errno;
            ::closedir(dir);
            if (error != 0) {
                ThrowErrno("cannot list", folder, error, FileAccess::List);
            }
            return names;
        }
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // Some file systems do not fill in d_type, and a link counts as what it
            // points to.
            struct stat info {};
            regular =
                ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (regular) {
            names.emplace_back(name);
        }
    }
}

bool RemoveFile(const std::string& path) {
    return !path.empty() && !HoldsNul(path) && ::unlink(path.c_str()) == 0;
}

std::string ProgramFolder() {
    std::string target(256, '\0');
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0) {
            // No /proc: the working folder is the best remaining guess.
            return ".";
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    return ParentFolder(target);
}

void SetWriteFaultHook(WriteFaultHook hook) {
    FaultHook() = std::move(hook);
}

} // namespace kelvaro

#include "platform/file_io.h"

#include "platform/error.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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
        throw RuntimeError(ErrorNo::BadFileName, "bad file name");
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

// ENOENT alone cannot tell a missing file from a missing folder on the way; the
// user is told which of the two it was.
int NumberForOpenError(const std::string& path, int error) {
    if (error == ENOENT && !IsDirectory(ParentFolder(path))) {
        return ErrorNo::PathNotFound;
    }
    return ErrorNumberFromErrno(error);
}

[[noreturn]] void ThrowErrno(const std::string& what, const std::string& path, int error) {
    throw RuntimeError(ErrorNumberFromErrno(error), Describe(what, path, error));
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
        int error = errno;
        throw RuntimeError(NumberForOpenError(path, error), Describe("cannot open", path, error));
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        ThrowErrno("cannot examine", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw RuntimeError(ErrorNo::PathFileAccess, "not a regular file: " + path);
    }
    if (::flock(file.Get(), LOCK_SH | LOCK_NB) != 0) {
        ThrowErrno("cannot lock", path, errno);
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
            ThrowErrno("cannot read", path, errno);
        }
    }
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("cannot write", path, errno);
        }
        if (done == 0) {
            // A regular file that accepts nothing and reports no error: treat it as a
            // device failure rather than spinning.
            throw RuntimeError(ErrorNo::DeviceIo, "no progress writing " + path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
}

void SyncFile(int fd, const std::string& path) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            ThrowErrno("cannot sync", path, errno);
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
    // Someone else created it in between, or the path is a dangling symbolic link
    // (O_EXCL does not follow links). Either way the file is not ours to remove.
    return ::open(path.c_str(), flags | O_CREAT, 0666);
}

// Everything a half-done save has to undo. Undoing happens in the destructor, so
// a failure anywhere, including one thrown by the fault hook, cleans up the same.
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
    void CreateTemporary();

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
        throw RuntimeError(NumberForOpenError(path_, error), Describe("cannot open", path_, error));
    }
    struct stat info {};
    if (::fstat(target_.Get(), &info) != 0) {
        ThrowErrno("cannot examine", path_, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw RuntimeError(ErrorNo::PathFileAccess, "not a regular file: " + path_);
    }
}

void ReplaceTransaction::CreateTemporary() {
    // Kept in the target's folder so that the final rename never crosses file
    // systems; hidden, and named after the target so a leftover explains itself.
    // The name part is shortened so that a long target name still leaves room.
    std::string folder = ParentFolder(path_);
    if (folder.back() != '/') {
        folder += '/';
    }
    std::string pattern = folder + "." + BaseName(path_).substr(0, 160) + ".kelvaro-XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        throw RuntimeError(NumberForOpenError(path_, error),
                           Describe("cannot create a temporary file beside", path_, error));
    }
    temporary_.Reset(fd);
    temporaryPath_ = pattern;
}

void ReplaceTransaction::Run(std::string_view bytes) {
    OpenTarget();

    RunFaultHook("lock");
    if (::flock(target_.Get(), LOCK_EX | LOCK_NB) != 0) {
        ThrowErrno("cannot lock", path_, errno);
    }

    // A new target was created with 0666 under the umask, so its mode is what a
    // new file should get; an old one keeps its own. Reading the umask directly
    // would mean changing it, which is not safe with other threads around.
    struct stat targetInfo {};
    if (::fstat(target_.Get(), &targetInfo) != 0) {
        ThrowErrno("cannot examine", path_, errno);
    }

    CreateTemporary();

    RunFaultHook("write");
    WriteAll(temporary_.Get(), bytes, temporaryPath_);
    if (::fchmod(temporary_.Get(), targetInfo.st_mode & 07777) != 0) {
        ThrowErrno("cannot set the permissions of", temporaryPath_, errno);
    }
    // Keeps a file saved by root owned by its owner; only root can do this, and a
    // failure just leaves the new file owned by whoever saved it.
    if (targetInfo.st_uid != ::geteuid() || targetInfo.st_gid != ::getegid()) {
        [[maybe_unused]] int ignored =
            ::fchown(temporary_.Get(), targetInfo.st_uid, targetInfo.st_gid);
    }

    RunFaultHook("fsync");
    SyncFile(temporary_.Get(), temporaryPath_);
    if (int error = temporary_.Close(); error != 0) {
        ThrowErrno("cannot close", temporaryPath_, error);
    }

    RunFaultHook("rename");
    if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        ThrowErrno("cannot replace", path_, errno);
    }
    committed_ = true;
    SyncFolderBestEffort(ParentFolder(path_));
}

} // namespace

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    CheckFileName(path);
    ReplaceTransaction transaction(path);
    transaction.Run(bytes);
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
        throw RuntimeError(ErrorNo::BadFileName, "bad folder name");
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        int error = errno;
        int number = error == ENOENT ? ErrorNo::PathNotFound : ErrorNumberFromErrno(error);
        throw RuntimeError(number, Describe("cannot list", folder, error));
    }
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            int error = errno;
            ::closedir(dir);
            if (error != 0) {
                ThrowErrno("cannot list", folder, error);
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

int ErrorNumberFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ErrorNo::FileNotFound;
    case ENOTDIR:
        return ErrorNo::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EWOULDBLOCK: // also EAGAIN: what a non-blocking flock reports for a held lock
        return ErrorNo::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return ErrorNo::DiskFull;
    case EISDIR:
        return ErrorNo::PathFileAccess;
    case EIO:
        return ErrorNo::DeviceIo;
    case ENAMETOOLONG:
        return ErrorNo::BadFileName;
    case ENOMEM:
        return ErrorNo::OutOfMemory;
    default:
        return ErrorNo::PathFileAccess;
    }
}

void SetWriteFaultHook(WriteFaultHook hook) {
    FaultHook() = std::move(hook);
}

} // namespace kelvaro

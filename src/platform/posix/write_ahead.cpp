#include "platform/posix/write_ahead.h"

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/private_folder.h"
#include "platform/write_ahead_record.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

namespace kelvaro {

using namespace fileio;

namespace {

std::string ReadAll(int fd, const std::string& path) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const std::size_t got = ReadSome(fd, buffer, sizeof buffer, path);
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, got);
    }
}

// Keeps new content the target can no longer take in a file of its own.
std::string Keep(const std::string& folder, const WriteAheadRecord& record) {
    std::string kept = WithTrailingBackslash(folder) + FileName(record.Target).substr(0, 160) +
                       ".kelvaro-new-XXXXXX";
    FileDescriptor file(::mkostemp(kept.data(), O_CLOEXEC));
    if (!file.IsOpen()) {
        return {};
    }
    try {
        WriteAll(file.Get(), record.Bytes, kept);
        SyncFile(file.Get(), kept);
        if (file.Close() == 0) {
            return kept;
        }
    } catch (const RuntimeError&) {
    }
    ::unlink(kept.c_str());
    return {};
}

// Finishes one write-ahead file whose lock is ours; false when it must stay
// (its target is busy), so a later run tries again.
bool Finish(const std::string& folder, const std::string& path, int fd,
            std::vector<ResumedWrite>& done) {
    const std::string text = ReadAll(fd, path);
    WriteAheadRecord record;
    if (!ParseWriteAhead(text, record)) {
        return true; // cut before it was named: the target was never touched
    }
    ResumedWrite resumed{record.Target, false, {}};
    FileDescriptor target(
        ::open(record.Target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
    struct stat info {};
    const bool same = target.IsOpen() && ::fstat(target.Get(), &info) == 0 &&
                      S_ISREG(info.st_mode) && info.st_dev == record.Device &&
                      info.st_ino == record.Inode;
    if (same) {
        if (::flock(target.Get(), LOCK_EX | LOCK_NB) != 0) {
            return false;
        }
        try {
            WriteAll(target.Get(), record.Bytes, record.Target, 0);
            if (::ftruncate(target.Get(), static_cast<off_t>(record.Bytes.size())) != 0) {
                ThrowErrno("cannot truncate", record.Target, errno, FileAccess::Write);
            }
            SyncFile(target.Get(), record.Target);
            resumed.Completed = true;
        } catch (const RuntimeError&) {
        }
    }
    if (!resumed.Completed) {
        // Another file stands there now, or it cannot be written: the user
        // decides what to do with the content, which is kept.
        resumed.KeptAt = Keep(folder, record);
    }
    done.push_back(std::move(resumed));
    return true;
}

} // namespace

namespace fileio {

std::string TemporaryWriteAheadFolder() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string temporary = tmp != nullptr && *tmp == '/' ? tmp : "/tmp";
    return WithTrailingBackslash(temporary) + "kelvaro-" + std::to_string(::geteuid());
}

WriteAhead::WriteAhead(const std::string& target, const struct stat& info, std::string_view bytes) {
    const std::string header = WriteAheadHeader(
        info.st_dev, info.st_ino, static_cast<std::uint64_t>(info.st_size), target, bytes.size());
    std::optional<RuntimeError> failure;
    for (const std::string& folder : WriteAheadFolders()) {
        std::string unfinished =
            WithTrailingBackslash(folder) + std::string(kUnfinishedWriteAheadPrefix) + "XXXXXX";
        try {
            MakePrivateFolder(folder);
            file_.Reset(::mkostemp(unfinished.data(), O_CLOEXEC));
            if (!file_.IsOpen()) {
                ThrowErrno("cannot create a write-ahead file in", folder, errno,
                           FileAccess::Create);
            }
            // Locked from the start: a run that finds it while it is being
            // written or used leaves it alone.
            if (::flock(file_.Get(), LOCK_EX | LOCK_NB) != 0) {
                ThrowErrno("cannot lock", unfinished, errno, FileAccess::Write);
            }
            WriteAll(file_.Get(), header, target);
            WriteAll(file_.Get(), bytes, target);
            SyncFile(file_.Get(), target);
            const std::string named = WithTrailingBackslash(folder) +
                                      std::string(kWriteAheadPrefix) +
                                      unfinished.substr(unfinished.size() - 6);
            if (::rename(unfinished.c_str(), named.c_str()) != 0) {
                ThrowErrno("cannot name the write-ahead file", target, errno, FileAccess::Create);
            }
            SyncFolderBestEffort(folder);
            path_ = named;
            return;
        } catch (const RuntimeError& error) {
            if (file_.IsOpen()) {
                file_.Close();
                ::unlink(unfinished.c_str());
            }
            if (!failure) {
                failure = error;
            }
        }
    }
    throw *failure;
}

WriteAhead::~WriteAhead() {
    ::unlink(path_.c_str());
    SyncFolderBestEffort(OpenableFolder(path_));
    file_.Close(); // the lock goes last
}

void TakeLeftWriteAhead(const std::string& folder, const std::string& path, bool named,
                        std::vector<ResumedWrite>& done) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.IsOpen() || ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
        return; // a running write holds it
    }
    bool finished = true;
    if (named) {
        try {
            finished = Finish(folder, path, file.Get(), done);
        } catch (const RuntimeError&) {
            finished = false;
        }
    }
    if (finished) {
        ::unlink(path.c_str());
    }
}

} // namespace fileio

} // namespace kelvaro

#include "platform/posix/write_ahead.h"

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/private_folder.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

namespace kelvaro {

using namespace fileio;

namespace {

// "kelvaro write-ahead 1\n", then "<dev> <ino> <old size> <path length> <new
// size>\n", the target's path, "\n" and the new content. A file that does not
// add up was cut while it was written, before the target was touched.
constexpr std::string_view kMagic = "kelvaro write-ahead 1\n";
constexpr std::string_view kPrefix = "write-ahead-";
constexpr std::string_view kUnfinishedPrefix = ".write-ahead-";

std::mutex& FolderMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& ConfiguredFolder() {
    static std::string folder;
    return folder;
}

struct Record {
    dev_t Device = 0;
    ino_t Inode = 0;
    std::string Target;
    std::string_view Bytes;
};

bool ReadNumber(std::string_view& text, unsigned long long& value, char end) {
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || next == text.data() + text.size() || *next != end) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(next - text.data()) + 1);
    return true;
}

bool Parse(std::string_view text, Record& record) {
    if (text.substr(0, kMagic.size()) != kMagic) {
        return false;
    }
    text.remove_prefix(kMagic.size());
    unsigned long long device = 0, inode = 0, oldSize = 0, pathLength = 0, newSize = 0;
    if (!ReadNumber(text, device, ' ') || !ReadNumber(text, inode, ' ') ||
        !ReadNumber(text, oldSize, ' ') || !ReadNumber(text, pathLength, ' ') ||
        !ReadNumber(text, newSize, '\n') || text.size() != pathLength + 1 + newSize ||
        text[pathLength] != '\n') {
        return false;
    }
    record.Device = static_cast<dev_t>(device);
    record.Inode = static_cast<ino_t>(inode);
    record.Target = std::string(text.substr(0, pathLength));
    record.Bytes = text.substr(pathLength + 1);
    return true;
}

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
std::string Keep(const std::string& folder, const Record& record) {
    std::string kept =
        WithSlash(folder) + BaseName(record.Target).substr(0, 160) + ".kelvaro-new-XXXXXX";
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
    Record record;
    if (!Parse(text, record)) {
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

void SetWriteAheadFolder(const std::string& folder) {
    std::lock_guard<std::mutex> hold(FolderMutex());
    ConfiguredFolder() = folder;
}

std::vector<std::string> WriteAheadFolders() {
    std::string configured;
    {
        std::lock_guard<std::mutex> hold(FolderMutex());
        configured = ConfiguredFolder();
    }
    if (configured.empty()) {
        configured = LocateAppFolders(ProgramFolder(), CurrentFolderEnvironment()).StateFolder;
    }
    const char* tmp = std::getenv("TMPDIR");
    const std::string temporary = tmp != nullptr && *tmp == '/' ? tmp : "/tmp";
    return {configured, WithSlash(temporary) + "kelvaro-" + std::to_string(::geteuid())};
}

WriteAhead::WriteAhead(const std::string& target, const struct stat& info, std::string_view bytes) {
    std::string header = std::string(kMagic) + std::to_string(info.st_dev) + " " +
                         std::to_string(info.st_ino) + " " + std::to_string(info.st_size) + " " +
                         std::to_string(target.size()) + " " + std::to_string(bytes.size()) + "\n" +
                         target + "\n";
    std::optional<RuntimeError> failure;
    for (const std::string& folder : WriteAheadFolders()) {
        std::string unfinished = WithSlash(folder) + std::string(kUnfinishedPrefix) + "XXXXXX";
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
            const std::string named =
                WithSlash(folder) + std::string(kPrefix) + unfinished.substr(unfinished.size() - 6);
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
    SyncFolderBestEffort(ParentFolder(path_));
    file_.Close(); // the lock goes last
}

} // namespace fileio

std::vector<ResumedWrite> FinishInterruptedWrites(const std::string& stateFolder) {
    if (!stateFolder.empty()) {
        SetWriteAheadFolder(stateFolder);
    }
    std::vector<ResumedWrite> done;
    for (const std::string& folder : WriteAheadFolders()) {
        std::vector<std::string> names;
        try {
            MakePrivateFolder(folder);
            names = ListFileNames(folder);
        } catch (const RuntimeError&) {
            continue; // nothing of ours can be there
        }
        for (const std::string& name : names) {
            const bool named = name.rfind(kPrefix, 0) == 0;
            if (!named && name.rfind(kUnfinishedPrefix, 0) != 0) {
                continue;
            }
            const std::string path = WithSlash(folder) + name;
            FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
            if (!file.IsOpen() || ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
                continue; // a running write holds it
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
    }
    return done;
}

} // namespace kelvaro

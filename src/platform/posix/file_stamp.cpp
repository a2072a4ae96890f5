#include "platform/file_stamp.h"

#include <sys/stat.h>

namespace kelvaro {

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.Device = info.st_dev;
    stamp.Inode = info.st_ino;
    stamp.Size = info.st_size;
    stamp.ModifiedSeconds = info.st_mtim.tv_sec;
    stamp.ModifiedNanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

} // namespace kelvaro

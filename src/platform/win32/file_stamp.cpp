#include "platform/file_stamp.h"

#include "platform/error.h"
#include "platform/win32/file_handle.h"

namespace kelvaro {

std::optional<FileStamp> StampOf(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    try {
        // No access asked: the stamp of a file another program holds is still read.
        const win32::Handle file(
            win32::OpenFile(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
        if (!file.IsOpen() || !::GetFileInformationByHandle(file.Get(), &info)) {
            return std::nullopt;
        }
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    // The volume and the file's index on it are what device and inode are on
    // POSIX; the time counts 100 ns steps since 1601, turned to the Unix epoch.
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    constexpr std::int64_t kEpochDifference = 11'644'473'600;
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime);
    FileStamp stamp;
    stamp.Device = info.dwVolumeSerialNumber;
    stamp.Inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.Size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                           info.nFileSizeLow);
    stamp.ModifiedSeconds = ticks / kTicksPerSecond - kEpochDifference;
    stamp.ModifiedNanoseconds = ticks % kTicksPerSecond * 100;
    return stamp;
}

} // namespace kelvaro

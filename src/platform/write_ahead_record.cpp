#include "platform/write_ahead_record.h"

#include <charconv>
#include <mutex>

namespace kelvaro::fileio {
namespace {

constexpr std::string_view kMagic = "kelvaro write-ahead 1\n";

std::mutex& FolderMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& ConfiguredFolder() {
    static std::string folder;
    return folder;
}

bool ReadNumber(std::string_view& text, unsigned long long& value, char end) {
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || next == text.data() + text.size() || *next != end) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(next - text.data()) + 1);
    return true;
}

} // namespace

std::string WriteAheadHeader(std::uint64_t device, std::uint64_t inode, std::uint64_t oldSize,
                             const std::string& target, std::size_t newSize) {
    return std::string(kMagic) + std::to_string(device) + " " + std::to_string(inode) + " " +
           std::to_string(oldSize) + " " + std::to_string(target.size()) + " " +
           std::to_string(newSize) + "\n" + target + "\n";
}

bool ParseWriteAhead(std::string_view text, WriteAheadRecord& record) {
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
    record.Device = device;
    record.Inode = inode;
    record.Target = std::string(text.substr(0, pathLength));
    record.Bytes = text.substr(pathLength + 1);
    return true;
}

void SetConfiguredWriteAheadFolder(const std::string& folder) {
    std::lock_guard<std::mutex> hold(FolderMutex());
    ConfiguredFolder() = folder;
}

std::string ConfiguredWriteAheadFolder() {
    std::lock_guard<std::mutex> hold(FolderMutex());
    return ConfiguredFolder();
}

} // namespace kelvaro::fileio

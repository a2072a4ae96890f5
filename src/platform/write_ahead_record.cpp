#include "platform/write_ahead_record.h"

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/private_folder.h"

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

std::vector<std::string> WriteAheadFolders() {
    std::string configured = ConfiguredWriteAheadFolder();
    if (configured.empty()) {
        configured = LocateAppFolders(ProgramFolder(), CurrentFolderEnvironment()).StateFolder;
    }
    std::string temporary = TemporaryWriteAheadFolder();
    if (temporary.empty()) {
        return {configured};
    }
    return {configured, temporary};
}

} // namespace kelvaro::fileio

namespace kelvaro {

std::vector<ResumedWrite> FinishInterruptedWrites(const std::string& stateFolder) {
    if (!stateFolder.empty()) {
        fileio::SetConfiguredWriteAheadFolder(stateFolder);
    }
    std::vector<ResumedWrite> done;
    for (const std::string& folder : fileio::WriteAheadFolders()) {
        std::vector<std::string> names;
        try {
            MakePrivateFolder(folder);
            names = ListFileNames(folder);
        } catch (const RuntimeError&) {
            continue; // nothing of ours can be there
        }
        for (const std::string& name : names) {
            const bool named = name.rfind(fileio::kWriteAheadPrefix, 0) == 0;
            if (named || name.rfind(fileio::kUnfinishedWriteAheadPrefix, 0) == 0) {
                fileio::TakeLeftWriteAhead(folder, JoinPath(folder, name), named, done);
            }
        }
    }
    return done;
}

} // namespace kelvaro

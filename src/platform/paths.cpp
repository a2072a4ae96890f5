#include "platform/paths.h"

#include <algorithm>

namespace kelvaro {
namespace {

#ifdef _WIN32
constexpr char kWrittenSeparator = '\\';
constexpr std::string_view kSeparators = "\\/";

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The first separator at or after `from`, or the end.
std::size_t NextSeparator(std::string_view path, std::size_t from) {
    const std::size_t found = path.find_first_of(kSeparators, from);
    return found == std::string_view::npos ? path.size() : found;
}
#else
constexpr char kWrittenSeparator = '/';
constexpr std::string_view kSeparators = "/";
#endif

// How much of the path's start is a root that splitting leaves whole.
std::size_t RootLength(std::string_view path) {
#ifdef _WIN32
    std::size_t start = 0;
    // "\\?\" asks Windows to take the rest as it stands (long paths): what
    // follows is a drive, or "UNC\server\share".
    if (path.starts_with("\\\\?\\")) {
        start = 4;
        if (path.substr(start, 4) == "UNC\\") {
            const std::size_t share = NextSeparator(path, start + 4);
            return std::min(NextSeparator(path, share + 1) + 1, path.size());
        }
    } else if (path.size() > 2 && IsFolderSeparator(path[0]) && IsFolderSeparator(path[1]) &&
               !IsFolderSeparator(path[2])) {
        const std::size_t share = NextSeparator(path, 2);
        return std::min(NextSeparator(path, share + 1) + 1, path.size());
    }
    if (path.size() >= start + 2 && IsDriveLetter(path[start]) && path[start + 1] == ':') {
        const std::size_t drive = start + 2;
        return drive < path.size() && IsFolderSeparator(path[drive]) ? drive + 1 : drive;
    }
    return start < path.size() && IsFolderSeparator(path[start]) ? start + 1 : start;
#else
    return !path.empty() && path.front() == '/' ? 1 : 0;
#endif
}

// The last separator after the root, or npos.
std::size_t LastSeparator(std::string_view path, std::size_t root) {
    const std::size_t found = path.find_last_of(kSeparators);
    return found != std::string_view::npos && found >= root ? found : std::string_view::npos;
}

} // namespace

char FolderSeparator() {
    return kWrittenSeparator;
}

bool IsFolderSeparator(char c) {
    return kSeparators.find(c) != std::string_view::npos;
}

std::string WithTrailingBackslash(const std::string& path) {
    if (!path.empty() && IsFolderSeparator(path.back())) {
        return path;
    }
    return path + kWrittenSeparator;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    // A bare drive ("C:") names the drive's current folder, not its root.
    if (folder.empty() ||
        (RootLength(folder) == folder.size() && !IsFolderSeparator(folder.back()))) {
        return folder + std::string(name);
    }
    return WithTrailingBackslash(folder).append(name);
}

std::string ParentFolder(const std::string& path) {
    const std::size_t root = RootLength(path);
    std::size_t end = LastSeparator(path, root);
    if (end == std::string::npos) {
        return path.substr(0, root);
    }
    while (end > root && IsFolderSeparator(path[end - 1])) {
        --end;
    }
    return path.substr(0, std::max(end, root));
}

std::string FileName(const std::string& path) {
    const std::size_t root = RootLength(path);
    const std::size_t last = LastSeparator(path, root);
    return path.substr(last == std::string::npos ? root : last + 1);
}

} // namespace kelvaro

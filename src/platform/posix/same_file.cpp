#include "platform/same_file_internal.h"

#include "platform/error.h"
#include "platform/file_links.h"

#include <filesystem>
#include <system_error>

namespace kelvaro {
namespace {

// Where a write to `path` would land, spelled one way: links followed as the
// write follows them, then made absolute and normalised. A link the write would
// refuse to follow is left as it is; the write itself tells why.
std::string WriteTargetSpelling(const std::string& path) {
    std::string target = path;
    try {
        target = fileio::FollowLinks(path);
    } catch (const RuntimeError&) {
        target = path;
    }
    std::error_code error;
    std::filesystem::path normal = std::filesystem::weakly_canonical(target, error);
    if (error) {
        normal = std::filesystem::absolute(target, error).lexically_normal();
    }
    return error ? target : normal.string();
}

} // namespace

bool SpellSameWriteTarget(const std::string& a, const std::string& b) {
    return WriteTargetSpelling(a) == WriteTargetSpelling(b);
}

} // namespace kelvaro

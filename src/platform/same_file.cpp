#include "platform/same_file.h"

#include "platform/file_stamp.h"
#include "platform/same_file_internal.h"

#include <optional>

namespace kelvaro {

bool NameSameFile(const std::string& a, const std::string& b) {
    const std::optional<FileStamp> first = StampOf(a);
    const std::optional<FileStamp> second = StampOf(b);
    if (first && second) {
        return first->Device == second->Device && first->Inode == second->Inode;
    }
    if (first || second) {
        return false;
    }
    return SpellSameWriteTarget(a, b);
}

} // namespace kelvaro

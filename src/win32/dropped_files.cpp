#include "win32/dropped_files.h"

#include "win32/wide_text.h"

namespace kelvaro::win32 {

std::vector<std::string> DroppedFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked first for its length, so a long path is never cut short.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(static_cast<size_t>(length) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        files.push_back(Narrow(path));
    }
    return files;
}

} // namespace kelvaro::win32

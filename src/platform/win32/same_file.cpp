#include "platform/same_file_internal.h"

#include "platform/error.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace kelvaro {
namespace {

// The absolute, normalised spelling of a path ("." and ".." resolved, "/" as
// "\"); the path itself when Windows cannot make one.
std::wstring FullSpelling(const std::string& path) {
    std::wstring wide;
    try {
        wide = win32::WidePath(path);
    } catch (const RuntimeError&) {
        return win32::WideFromUtf8(path);
    }
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return wide;
    }
    std::wstring full(needed, L'\0');
    full.resize(::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
    return full;
}

} // namespace

// Windows' names ignore case: "A.txt" and "a.TXT" are one file.
bool SpellSameWriteTarget(const std::string& a, const std::string& b) {
    const std::wstring x = FullSpelling(a);
    const std::wstring y = FullSpelling(b);
    return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                  static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

} // namespace kelvaro

#include "win32/late_bound.h"

namespace kelvaro::win32 {

FARPROC LateBoundAddress(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) {
        // Only from the system folder: a DLL of the same name beside the
        // program (an unzipped folder anyone may write to) is never taken.
        module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

} // namespace kelvaro::win32

#pragma once

// Functions of system libraries the first window does not need (the common
// dialogs, the accessibility bridge, BSTRs), bound when first called. Linked
// the usual way, each library and those it pulls in (the print spooler behind
// comdlg32, for one) would be loaded and initialised before the window could
// show.

#include <windows.h>

namespace kelvaro::win32 {

// The address of `name` in the system library `library`, loaded when first
// asked; null when either is missing.
FARPROC LateBoundAddress(const wchar_t* library, const char* name);

// `LateBound<decltype(&F)>(L"lib.dll", "F")`: the function, typed; null when
// missing.
template <typename Function> Function LateBound(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(LateBoundAddress(library, name)));
}

} // namespace kelvaro::win32

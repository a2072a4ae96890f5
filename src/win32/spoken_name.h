#pragma once

// The name a screen reader says for a control that no label before it can
// name and whose window text is not its name (the long-text editor, whose
// text is the user's; the order list). The control answers the reader's
// WM_GETOBJECT with Windows' own accessible object for it, whose name alone
// is ours.

#include <windows.h>

#include <string>

namespace kelvaro::win32 {

void SetSpokenName(HWND control, const std::wstring& name);

} // namespace kelvaro::win32

#pragma once

// Files dropped on the window from Explorer, as the core's UTF-8 paths.

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace kelvaro::win32 {

// Every file of the drop, in Explorer's order, each path whole however long.
// The drop itself is the caller's to finish (DragFinish).
std::vector<std::string> DroppedFiles(HDROP drop);

} // namespace kelvaro::win32

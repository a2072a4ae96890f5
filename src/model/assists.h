#pragma once

// Small input assists beside the fields they fill.

#include "model/workspace.h"

namespace kelvaro {

// The separator width the repeat count aims at, in CP932 bytes.
inline constexpr int PauseWidthBytes = 78;

// Sets PauseCount so that the separator line is at most 78 bytes wide in CP932.
// Empty separator characters have no width to divide by: the count stays.
void GetPauseNum(Workspace& ws);

} // namespace kelvaro

#pragma once

// The default value of every setting. There is no settings file: these are the
// program's constants, applied at start-up and on a new form.

#include "model/workspace.h"

namespace kelvaro {

// Single-line values, choice values, user item names (renaming their entries),
// the long-text editor and all fifteen long texts.
void DefaultTopicsLine(Workspace& ws);
// Separator characters, their count (from GetPauseNum) and the brackets.
void DefaultTopicsOther(Workspace& ws);
// Background choice, HR separators and the nine HTML settings.
void DefaultTopicsHTML(Workspace& ws);

// A fresh form as start-up leaves it: groups 1 to 3 and the default order,
// in the order start-up applies them, with emphasis enabled.
Workspace FreshWorkspace();

} // namespace kelvaro

#pragma once

// Whether the form holds work that no file has: the form, including the text in
// the long-text editor, against the form as it was last opened, saved or made
// new. A character typed and deleted again leaves nothing unsaved.

#include "session/session.h"

namespace kelvaro {

// The form in hand is what a file holds now (after start-up, new, open, save).
void MarkFormClean(Session& s);

// The form differs from the one last opened, saved or made new.
bool HasUnsavedChanges(Session& s);

// Before the form in hand is replaced by another (フォームを開く, a dropped file,
// an import): true when there is nothing unsaved, or the user agreed to
// discard it. いいえ is the default.
bool ConfirmDiscardChanges(Session& s);

} // namespace kelvaro

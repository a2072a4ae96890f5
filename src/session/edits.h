#pragma once

// The window's edits of the workspace, each followed by the change notices of
// what it touched, so the window refreshes every control that shows it. The
// workspace operations themselves stay plain functions of the model.

#include "session/session.h"

#include <cstddef>
#include <string>

namespace kelvaro {

// The window stored what the user typed straight into a field of the form; no
// control needs refreshing, but the session counts it as a change.
void NoteFormEdited(Session& s);

void SetUserName(Session& s, int userIndex, std::string name);
void SelectLongItem(Session& s, int slot);

void SelectEntry(Session& s, int index);
void SetEntryChecked(Session& s, std::size_t index, bool checked);
void MoveEntryUp(Session& s);
void MoveEntryDown(Session& s);
// A drag in the order list: entry `from` ends at index `to`, selected.
void MoveEntry(Session& s, std::size_t from, std::size_t to);
void CheckAll(Session& s);
void UncheckAll(Session& s);
void InvertChecks(Session& s);
void ResetOrderToDefault(Session& s);

void SelectEmphasisOption(Session& s, bool enabled);
void GetPauseNum(Session& s);

} // namespace kelvaro

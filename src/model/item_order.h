#pragma once

// Operations on the item order and on the emphasis of item names. Emphasis
// belongs to keys, not positions: moving an entry never changes a flag, and
// every operation that changes check marks keeps the flags in step while
// emphasis is enabled.

#include "model/workspace.h"

#include <cstddef>
#include <string_view>

namespace kelvaro {

class Host;

void SetItemEmphasis(Workspace& ws, std::string_view key, bool bold);
bool ItemIsEmphasised(const Workspace& ws, std::string_view key);

// Replaces the order by the 39-entry default, user items named from UserNames.
void BuildDefaultOrder(Workspace& ws);
// Asks first; Yes rebuilds the default order. Returns whether it did.
bool ResetOrderToDefault(Workspace& ws, Host& host);

void CheckAll(Workspace& ws);
void UncheckAll(Workspace& ws);
void InvertChecks(Workspace& ws);

// Swap the selected entry with its neighbour and move the selection with it.
// Nothing happens without a selected entry or at the end of the list.
void MoveEntryUp(Workspace& ws);
void MoveEntryDown(Workspace& ws);
// Takes entry `from` out of the list and puts it back so that it stands at
// index `to` (both 0-based), the entries between closing up; the moved entry
// becomes the selected one, as with the arrow buttons. Text, key and check
// mark travel together and no emphasis flag changes. Nothing happens when
// either index is outside the list.
void MoveEntry(Workspace& ws, std::size_t from, std::size_t to);
void SelectEntry(Workspace& ws, int index);

// The user toggled entry `index` (0-based) to `checked`.
void SetEntryChecked(Workspace& ws, std::size_t index, bool checked);
// Called after the entry's check mark changed: the emphasis follows it.
void OnEntryChecked(Workspace& ws, std::size_t index);

void ApplyEmphasis(Workspace& ws);
void ClearEmphasis(Workspace& ws);
// The emphasis option buttons: true "強調表示", false "強調表示を利用しない".
void SelectEmphasisOption(Workspace& ws, bool enabled);

} // namespace kelvaro

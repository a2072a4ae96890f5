#pragma once

// One editor serves the fifteen long-text items; the user-defined items carry
// the names the user types into the name boxes.

#include "model/workspace.h"

#include <string>

namespace kelvaro {

// The name long-text slot `slot` goes by: its key, or for the two user-defined
// long texts the name the user gave them. Form files head its block with it and
// messages about the slot name it.
std::string LongTextName(const Form& form, int slot);

// Stores the editor into the current slot, shows slot k and makes it current.
void SelectLongItem(Workspace& ws, int k);
// Brings the editor's text into its slot; everything that reads LongTexts calls this first.
void CommitLongText(Workspace& ws);
// Gives every entry of UserItemKey(i+1) the current UserNames[i] as its text.
void RenameUserItem(Workspace& ws, int i);
// The name box TopicsAdd(i) changed: store the name and rename its entries.
void SetUserName(Workspace& ws, int i, std::string name);

} // namespace kelvaro

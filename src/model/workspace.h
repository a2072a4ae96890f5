#pragma once

// Everything the window holds about the document being edited: the form, the
// emphasis of item names, the selection in the item order and the long-text
// editor. Commands take a Workspace; the window only mirrors it into widgets.

#include "model/catalogue.h"
#include "model/form.h"

#include <array>
#include <string>

namespace kelvaro {

struct Workspace {
    Form form;

    // True while "チェックがついている項目の名前を強調表示" is chosen.
    bool EmphasisEnabled = true;
    // One bold flag per item with an emphasised control, by CatalogueItem::EmphasisIndex.
    std::array<bool, EmphasisCount> ItemEmphasis{};

    // The selected entry of the item order, 0-based; -1 when none is selected.
    int Selected = -1;

    // The long-text editor edits one slot at a time: EditorText is the working
    // copy of form.LongTexts[CurrentLongItem]; the other slots are up to date.
    int CurrentLongItem = 0;
    std::string EditorText;
};

} // namespace kelvaro

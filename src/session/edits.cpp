#include "session/edits.h"

#include "model/assists.h"
#include "model/item_order.h"
#include "model/long_text.h"

#include <utility>

namespace kelvaro {
namespace {

// Every order operation may move entries, check marks and, with them, the bold
// flags of the input controls.
void OrderChanged(const Session& s) {
    s.Notify(Change::Order);
    s.Notify(Change::Emphasis);
}

} // namespace

void NoteFormEdited(Session& s) {
    ++s.EditCount;
}

void SetUserName(Session& s, int userIndex, std::string name) {
    SetUserName(s.ws, userIndex, std::move(name));
    s.Notify(Change::Order);
}

void SelectLongItem(Session& s, int slot) {
    SelectLongItem(s.ws, slot);
    s.Notify(Change::LongText);
}

void SelectEntry(Session& s, int index) {
    SelectEntry(s.ws, index);
    s.Notify(Change::Order);
}

void SetEntryChecked(Session& s, std::size_t index, bool checked) {
    SetEntryChecked(s.ws, index, checked);
    OrderChanged(s);
}

void MoveEntryUp(Session& s) {
    MoveEntryUp(s.ws);
    OrderChanged(s);
}

void MoveEntryDown(Session& s) {
    MoveEntryDown(s.ws);
    OrderChanged(s);
}

void MoveEntry(Session& s, std::size_t from, std::size_t to) {
    MoveEntry(s.ws, from, to);
    OrderChanged(s);
}

void CheckAll(Session& s) {
    CheckAll(s.ws);
    OrderChanged(s);
}

void UncheckAll(Session& s) {
    UncheckAll(s.ws);
    OrderChanged(s);
}

void InvertChecks(Session& s) {
    InvertChecks(s.ws);
    OrderChanged(s);
}

void ResetOrderToDefault(Session& s) {
    if (ResetOrderToDefault(s.ws, s.host)) {
        OrderChanged(s);
    }
}

void SelectEmphasisOption(Session& s, bool enabled) {
    SelectEmphasisOption(s.ws, enabled);
    s.Notify(Change::Emphasis);
}

void GetPauseNum(Session& s) {
    GetPauseNum(s.ws);
    s.Notify(Change::Form);
}

} // namespace kelvaro

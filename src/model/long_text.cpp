#include "model/long_text.h"

#include "model/form_fields.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace kelvaro {

std::string LongTextName(const Form& form, int slot) {
    return LongTextBlockName(form, static_cast<std::size_t>(slot));
}

void SelectLongItem(Workspace& ws, int k) {
    if (k < 0 || k >= static_cast<int>(LongTextCount)) {
        return;
    }
    CommitLongText(ws);
    ws.EditorText = ws.form.LongTexts[static_cast<std::size_t>(k)];
    ws.CurrentLongItem = k;
}

void CommitLongText(Workspace& ws) {
    ws.form.LongTexts[static_cast<std::size_t>(ws.CurrentLongItem)] = ws.EditorText;
}

namespace {

// Every user item key is "追加" and one digit, so all have this length. Compared
// with a length known when compiling, a key costs a couple of loads instead of
// a library call; on an order of many entries that is most of the work.
constexpr std::size_t UserKeyLength = std::string_view("追加1").size();

} // namespace

void RenameUserItem(Workspace& ws, int i) {
    if (i < 0 || i >= static_cast<int>(UserNameCount)) {
        return;
    }
    const std::string key = UserItemKey(i + 1);
    char fixedKey[UserKeyLength] = {};
    key.copy(fixedKey, UserKeyLength);
    const std::string& name = ws.form.UserNames[static_cast<std::size_t>(i)];
    for (auto& entry : ws.form.Order) {
        if (entry.Key.size() == UserKeyLength &&
            std::memcmp(entry.Key.data(), fixedKey, UserKeyLength) == 0) {
            entry.Text = name;
        }
    }
}

void SetUserName(Workspace& ws, int i, std::string name) {
    if (i < 0 || i >= static_cast<int>(UserNameCount)) {
        return;
    }
    ws.form.UserNames[static_cast<std::size_t>(i)] = std::move(name);
    RenameUserItem(ws, i);
}

} // namespace kelvaro

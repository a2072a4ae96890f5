#include "model/long_text.h"

#include <utility>

namespace kelvaro {

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

void RenameUserItem(Workspace& ws, int i) {
    if (i < 0 || i >= static_cast<int>(UserNameCount)) {
        return;
    }
    const std::string key = UserItemKey(i + 1);
    const std::string& name = ws.form.UserNames[static_cast<std::size_t>(i)];
    for (auto& entry : ws.form.Order) {
        if (entry.Key == key) {
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

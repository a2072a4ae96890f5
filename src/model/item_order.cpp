#include "model/item_order.h"

#include "host/host.h"
#include "platform/app_info.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace kelvaro {

void SetItemEmphasis(Workspace& ws, std::string_view key, bool bold) {
    const CatalogueItem* item = LookupItem(key);
    if (item == nullptr || item->EmphasisIndex < 0) {
        return;
    }
    ws.ItemEmphasis[static_cast<std::size_t>(item->EmphasisIndex)] = bold;
}

bool ItemIsEmphasised(const Workspace& ws, std::string_view key) {
    const CatalogueItem* item = LookupItem(key);
    return item != nullptr && item->EmphasisIndex >= 0 &&
           ws.ItemEmphasis[static_cast<std::size_t>(item->EmphasisIndex)];
}

void BuildDefaultOrder(Workspace& ws) {
    auto& order = ws.form.Order;
    order.clear();
    for (const auto& row : DefaultOrderTable()) {
        const CatalogueItem* item = LookupItem(row.Key);
        std::string text = item->UserIndex >= 0
                               ? ws.form.UserNames[static_cast<std::size_t>(item->UserIndex)]
                               : std::string(row.Key);
        order.push_back(OrderEntry{std::move(text), std::string(row.Key), row.Checked});
        if (ws.EmphasisEnabled) {
            SetItemEmphasis(ws, row.Key, row.Checked);
        }
    }
    if (ws.Selected >= static_cast<int>(order.size())) {
        ws.Selected = -1;
    }
}

bool ResetOrderToDefault(Workspace& ws, Host& host) {
    MessageRequest question;
    question.Text = "項目順序、チェックの有無はすべて初期化されます。\r\n"
                    "デフォルトに戻してもよろしいですか？";
    question.Title = AppInfoString(AppInfo::ProductAndVersion);
    question.Buttons = MessageButtons::YesNo;
    question.Icon = MessageIcon::Exclamation;
    question.DefaultButton = MessageAnswer::Yes;
    if (host.ShowMessage(question) != MessageAnswer::Yes) {
        return false;
    }
    BuildDefaultOrder(ws);
    return true;
}

namespace {

template <typename Mark> void SetAllChecks(Workspace& ws, Mark mark) {
    for (auto& entry : ws.form.Order) {
        entry.Checked = mark(entry.Checked);
        if (ws.EmphasisEnabled) {
            SetItemEmphasis(ws, entry.Key, entry.Checked);
        }
    }
}

bool HasSelection(const Workspace& ws) {
    return ws.Selected >= 0 && ws.Selected < static_cast<int>(ws.form.Order.size());
}

} // namespace

void CheckAll(Workspace& ws) {
    SetAllChecks(ws, [](bool) { return true; });
}

void UncheckAll(Workspace& ws) {
    SetAllChecks(ws, [](bool) { return false; });
}

void InvertChecks(Workspace& ws) {
    SetAllChecks(ws, [](bool checked) { return !checked; });
}

void MoveEntryUp(Workspace& ws) {
    if (!HasSelection(ws) || ws.Selected == 0) {
        return;
    }
    auto s = static_cast<std::size_t>(ws.Selected);
    std::swap(ws.form.Order[s], ws.form.Order[s - 1]);
    ws.Selected -= 1;
}

void MoveEntryDown(Workspace& ws) {
    if (!HasSelection(ws) || ws.Selected + 1 >= static_cast<int>(ws.form.Order.size())) {
        return;
    }
    auto s = static_cast<std::size_t>(ws.Selected);
    std::swap(ws.form.Order[s], ws.form.Order[s + 1]);
    ws.Selected += 1;
}

void MoveEntry(Workspace& ws, std::size_t from, std::size_t to) {
    auto& order = ws.form.Order;
    if (from >= order.size() || to >= order.size()) {
        return;
    }
    const auto first = order.begin();
    if (from < to) {
        std::rotate(first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1,
                    first + static_cast<std::ptrdiff_t>(to) + 1);
    } else if (to < from) {
        std::rotate(first + static_cast<std::ptrdiff_t>(to),
                    first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from) + 1);
    }
    ws.Selected = static_cast<int>(to);
}

void SelectEntry(Workspace& ws, int index) {
    ws.Selected = index >= 0 && index < static_cast<int>(ws.form.Order.size()) ? index : -1;
}

void SetEntryChecked(Workspace& ws, std::size_t index, bool checked) {
    if (index >= ws.form.Order.size()) {
        return;
    }
    ws.form.Order[index].Checked = checked;
    OnEntryChecked(ws, index);
}

void OnEntryChecked(Workspace& ws, std::size_t index) {
    if (ws.EmphasisEnabled && index < ws.form.Order.size()) {
        SetItemEmphasis(ws, ws.form.Order[index].Key, ws.form.Order[index].Checked);
    }
}

void ApplyEmphasis(Workspace& ws) {
    for (const auto& entry : ws.form.Order) {
        SetItemEmphasis(ws, entry.Key, entry.Checked);
    }
}

void ClearEmphasis(Workspace& ws) {
    for (const auto& entry : ws.form.Order) {
        SetItemEmphasis(ws, entry.Key, false);
    }
}

void SelectEmphasisOption(Workspace& ws, bool enabled) {
    ws.EmphasisEnabled = enabled;
    if (enabled) {
        ApplyEmphasis(ws);
    } else {
        ClearEmphasis(ws);
    }
}

} // namespace kelvaro

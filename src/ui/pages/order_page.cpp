// Page 3, 項目順序: the item order as a list of check boxes the user drags into
// place, the moves beside it, the check commands under it, and whether empty
// items are skipped. The order itself is the core's: the list shows it and
// reports what the user did to it.

#include "session/edits.h"
#include "ui/order_list.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace kelvaro::ui {
namespace {

class OrderPage : public FormPage {
public:
    OrderPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::Order) {
        Arrange();
        Wire();
        Connect();
    }

protected:
    void ShowMore(Change what) override {
        if (what == Change::Order) {
            ShowOrder();
        }
    }

private:
    void Arrange();
    void Connect();
    void ShowOrder();
    void OnItemChanged(QListWidgetItem* item);

    OrderList* list_ = nullptr;
};

void OrderPage::Arrange() {
    auto* layout = PageLayout(tab());
    layout->addWidget(At(0, 0));
    list_ = At<OrderList>(1, 0);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list_, 1);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(At(1, 2));
    moves->addWidget(At(2, 2));
    moves->addStretch();
    listRow->addLayout(moves);
    layout->addLayout(listRow, 1);
    // The check commands in two rows of two.
    auto* checks = new QGridLayout;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            checks->addWidget(At(3 + row, column), row, column);
        }
    }
    layout->addLayout(checks);
    layout->addWidget(At(5, 0));
}

void OrderPage::Connect() {
    connect(list_, &QListWidget::itemChanged, this, &OrderPage::OnItemChanged);
    connect(list_, &OrderList::EntryDragged, this, [this](int from, int to) {
        Run([&] {
            MoveEntry(session(), static_cast<std::size_t>(from), static_cast<std::size_t>(to));
        });
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing()) {
            Run([&] { SelectEntry(session(), row); });
        }
    });
}

void OrderPage::OnItemChanged(QListWidgetItem* item) {
    if (showing() || item == nullptr) {
        return;
    }
    const int row = list_->row(item);
    const auto& order = session().ws.form.Order;
    if (row < 0 || static_cast<std::size_t>(row) >= order.size()) {
        return;
    }
    const bool checked = item->checkState() == Qt::Checked;
    if (order[static_cast<std::size_t>(row)].Checked == checked) {
        return; // the text changed, not the check mark
    }
    Run([&] { SetEntryChecked(session(), static_cast<std::size_t>(row), checked); });
}

void OrderPage::ShowOrder() {
    const auto& order = session().ws.form.Order;
    list_->setUpdatesEnabled(false);
    // Rows are reused: an order of many entries is not rebuilt on every move.
    while (list_->count() > static_cast<int>(order.size())) {
        delete list_->takeItem(list_->count() - 1);
    }
    while (list_->count() < static_cast<int>(order.size())) {
        auto* item = new QListWidgetItem(list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsDragEnabled);
        item->setCheckState(Qt::Unchecked); // every entry shows its box, checked or not
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        QListWidgetItem* item = list_->item(static_cast<int>(i));
        const QString text = ToQt(order[i].Text);
        if (item->text() != text) {
            item->setText(text);
        }
        const Qt::CheckState state = order[i].Checked ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state) {
            item->setCheckState(state);
        }
    }
    const int selected = session().ws.Selected;
    list_->setCurrentRow(selected >= 0 && selected < list_->count() ? selected : -1);
    if (list_->currentItem() != nullptr) {
        list_->scrollToItem(list_->currentItem());
    }
    list_->setUpdatesEnabled(true);
}

} // namespace

FormPage* MakeOrderPage(QWidget* tab, PageContext& context) {
    return new OrderPage(tab, context);
}

} // namespace kelvaro::ui

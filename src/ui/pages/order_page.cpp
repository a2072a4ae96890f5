// Page 3, 項目順序: the item order as a list of check boxes the user drags into
// place, the moves, the check commands, and whether empty items are skipped.
// The order itself is the core's: the list shows it and reports what the user
// did to it.

#include "session/edits.h"
#include "ui/order_list.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>

namespace kelvaro::ui {
namespace {

struct OrderCommand {
    const char* Caption;
    void (*Command)(Session&);
};

constexpr std::array<OrderCommand, 2> kMoves{{{"▲", &MoveEntryUp}, {"▼", &MoveEntryDown}}};
constexpr std::array<OrderCommand, 4> kCheckCommands{{
    {"すべてにチェックをつける", &CheckAll},
    {"すべてのチェックをはずす", &UncheckAll},
    {"すべてのチェックの反転", &InvertChecks},
    {"リストをデフォルトに戻す", &ResetOrderToDefault},
}};
// What a screen reader says for the two arrow buttons.
constexpr std::array<const char*, 2> kMoveNames{"上へ移動", "下へ移動"};

class OrderPage : public FormPage {
public:
    OrderPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        Connect();
    }

    void Refresh(Change what) override {
        const Showing quiet(showingFlag());
        if (what == Change::Form) {
            ShowCheck(skipEmpty_, CheckId::SkipEmptyItems, session().ws.form);
        } else if (what == Change::Order) {
            ShowOrder();
        }
    }

private:
    void Build();
    void Connect();
    void ShowOrder();
    void OnItemChanged(QListWidgetItem* item);

    OrderList* list_ = nullptr;
    std::array<QPushButton*, kMoves.size()> moves_{};
    std::array<QPushButton*, kCheckCommands.size()> checks_{};
    QCheckBox* skipEmpty_ = nullptr;
};

void OrderPage::Build() {
    QWidget* page = tab();
    auto* layout = PageLayout(page);
    auto* caption = Label(QStringLiteral("項目順序の並び替え"), QStringLiteral("TopicsSort"), page);
    layout->addWidget(caption);

    auto* listRow = new QHBoxLayout;
    list_ = Named(new OrderList(page), QStringLiteral("SortList"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    NameBy(caption, list_);
    listRow->addWidget(list_, 1);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (std::size_t i = 0; i < kMoves.size(); ++i) {
        moves_[i] = Button(QString::fromUtf8(kMoves[i].Caption),
                           Indexed("CmdListUpDown", static_cast<int>(i)), page,
                           QString::fromUtf8(kMoveNames[i]));
        moves->addWidget(moves_[i]);
    }
    moves->addStretch();
    listRow->addLayout(moves);
    layout->addLayout(listRow, 1);

    auto* checks = new QGridLayout;
    for (std::size_t i = 0; i < kCheckCommands.size(); ++i) {
        const int n = static_cast<int>(i);
        checks_[i] = Button(QString::fromUtf8(kCheckCommands[i].Caption),
                            Indexed("CmdListAllCheck", n), page);
        checks->addWidget(checks_[i], n / 2, n % 2);
    }
    layout->addLayout(checks);
    skipEmpty_ = CheckBox(CheckId::SkipEmptyItems, page);
    layout->addWidget(skipEmpty_);
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
    for (std::size_t i = 0; i < kMoves.size(); ++i) {
        connect(moves_[i], &QPushButton::clicked, this,
                [this, i] { RunOnSession(kMoves[i].Command); });
    }
    for (std::size_t i = 0; i < kCheckCommands.size(); ++i) {
        connect(checks_[i], &QPushButton::clicked, this,
                [this, i] { RunOnSession(kCheckCommands[i].Command); });
    }
    StoreTicks(this, session(), skipEmpty_, CheckId::SkipEmptyItems, showingFlag());
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

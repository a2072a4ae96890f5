#include "ui/order_list.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDataStream>
#include <QDropEvent>
#include <QHash>
#include <QMimeData>
#include <QPointer>

#include <utility>

namespace kelvaro::ui {
namespace {

// Names the list a drag comes from. Every Qt item view drags the same data
// format, so the row it carries means something only for drags of this list.
const char* const kOwnerFormat = "application/x-kelvaro-order-list";

// One entry of the list as a screen reader meets it: its text, that it is a
// check box and whether it is checked, and the action that ticks it. (Qt's own
// list entries say "checked" when they are, and nothing at all otherwise.)
class EntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    EntryAccessible(OrderList* list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return Item() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return list_ != nullptr ? list_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        const QListWidgetItem* item = Item();
        return item != nullptr && t == QAccessible::Name ? item->text() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QListWidgetItem* item = Item();
        if (item == nullptr) {
            return {};
        }
        const QRect shown = list_->visualItemRect(item);
        return {list_->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
    }
    // A check box: the bridge to the desktop's bus passes on "checked" but
    // not "checkable", so a list entry would not say that it can be ticked.
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override {
        QAccessible::State state;
        const QListWidgetItem* item = Item();
        if (item == nullptr) {
            state.invalid = true;
            return state;
        }
        state.checkable = true;
        state.checked = item->checkState() == Qt::Checked;
        state.focusable = true;
        state.selectable = true;
        state.selected = item->isSelected();
        state.focused = list_->hasFocus() && list_->currentItem() == item;
        state.invisible = !list_->viewport()->rect().intersects(list_->visualItemRect(item));
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& name) override {
        QListWidgetItem* item = Item();
        if (item != nullptr && name == toggleAction()) {
            // As Space does: the list reports the tick, the page runs it.
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

private:
    QListWidgetItem* Item() const { return list_ != nullptr ? list_->item(row_) : nullptr; }

    QPointer<OrderList> list_;
    int row_;
};

// The list itself, whose children are its entries. Each entry keeps one
// interface (and one identity on the bus) for as long as the list lives.
class OrderListAccessible : public QAccessibleWidget {
public:
    explicit OrderListAccessible(OrderList* list)
        : QAccessibleWidget(list, QAccessible::List), list_(list) {}
    ~OrderListAccessible() override {
        for (const QAccessible::Id id : std::as_const(entries_)) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
    OrderListAccessible(const OrderListAccessible&) = delete;
    OrderListAccessible& operator=(const OrderListAccessible&) = delete;

    int childCount() const override { return list_ != nullptr ? list_->count() : 0; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        auto known = entries_.constFind(index);
        if (known == entries_.cend()) {
            known = entries_.insert(
                index, QAccessible::registerAccessibleInterface(new EntryAccessible(list_, index)));
        }
        return QAccessible::accessibleInterface(*known);
    }
    int indexOfChild(const QAccessibleInterface* entry) const override {
        for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
            if (QAccessible::accessibleInterface(it.value()) == entry) {
                return it.key();
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (list_ == nullptr) {
            return nullptr;
        }
        const QListWidgetItem* item = list_->itemAt(list_->viewport()->mapFromGlobal(QPoint(x, y)));
        return item != nullptr ? child(list_->row(item)) : nullptr;
    }

private:
    QPointer<OrderList> list_;
    mutable QHash<int, QAccessible::Id> entries_;
};

QAccessibleInterface* OrderListInterface(const QString& className, QObject* object) {
    auto* list = qobject_cast<OrderList*>(object);
    return list != nullptr && className == QLatin1String(OrderList::staticMetaObject.className())
               ? new OrderListAccessible(list)
               : nullptr;
}

} // namespace

OrderList::OrderList(QWidget* parent) : QListWidget(parent) {
    static const bool speaking = [] {
        QAccessible::installFactory(&OrderListInterface);
        return true;
    }();
    (void)speaking;
    // Qt's item view may have made a plain list's interface while this list
    // was still being built; it goes, and the next query makes this list's.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(this);
    if (made != nullptr && dynamic_cast<OrderListAccessible*>(made) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    // A tick, by mouse, key or screen reader, is told to the screen reader.
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!QAccessible::isActive() || item == nullptr) {
            return;
        }
        QAccessibleInterface* self = QAccessible::queryAccessibleInterface(this);
        QAccessibleInterface* entry = self != nullptr ? self->child(row(item)) : nullptr;
        if (entry != nullptr) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(entry, changed);
            QAccessible::updateAccessibility(&event);
        }
    });
}

QByteArray OrderList::Identity() const {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(this));
}

QMimeData* OrderList::mimeData(const QList<QListWidgetItem*>& items) const {
    QMimeData* dragged = QListWidget::mimeData(items);
    if (dragged != nullptr) {
        dragged->setData(QString::fromLatin1(kOwnerFormat), Identity());
    }
    return dragged;
}

int OrderList::DraggedRow(const QMimeData* dragged) const {
    const QString format = model()->mimeTypes().value(0);
    if (dragged == nullptr || format.isEmpty() ||
        dragged->data(QString::fromLatin1(kOwnerFormat)) != Identity() ||
        !dragged->hasFormat(format)) {
        return -1;
    }
    // The model's own data: row, column and roles of each entry dragged (one,
    // as one entry is selected at a time).
    QByteArray bytes = dragged->data(format);
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    int row = -1;
    int column = -1;
    stream >> row >> column;
    return stream.status() == QDataStream::Ok && row >= 0 && row < count() ? row : -1;
}

void OrderList::dragEnterEvent(QDragEnterEvent* event) {
    // Qt's own view takes the drag when it started in this widget; a drag of
    // this list's entries handed over without that tie is taken as well.
    if (event->source() == this) {
        QListWidget::dragEnterEvent(event);
    } else if (DraggedRow(event->mimeData()) >= 0) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void OrderList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this) {
        QListWidget::dragMoveEvent(event); // with the drop indicator
    } else if (DraggedRow(event->mimeData()) >= 0) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void OrderList::dropEvent(QDropEvent* event) {
    const int from = DraggedRow(event->mimeData());
    if (from < 0) {
        event->ignore();
        return;
    }
    // Dropped on the upper half of a row: before it; on the lower half or
    // below the last row: after it. The entries take no drops onto
    // themselves, so Qt's drop indicator shows the same place.
    const QPoint at = event->position().toPoint();
    int insertBefore = count();
    const QModelIndex row = indexAt(at);
    if (row.isValid()) {
        insertBefore = at.y() < visualRect(row).center().y() ? row.row() : row.row() + 1;
    }
    // Nothing is moved here: the drag ends as ignored, so Qt removes no row
    // either, and the window shows the order the core makes of it.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    const int to = insertBefore > from ? insertBefore - 1 : insertBefore;
    if (to != from) {
        Q_EMIT EntryDragged(from, to);
    }
}

} // namespace kelvaro::ui

#include "ui/order_list.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDropEvent>
#include <QMimeData>

namespace kelvaro::ui {
namespace {

// Names the list a drag comes from. Every Qt item view drags the same data
// format, so the row it carries means something only for drags of this list.
const char* const kOwnerFormat = "application/x-kelvaro-order-list";

} // namespace

OrderList::OrderList(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
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

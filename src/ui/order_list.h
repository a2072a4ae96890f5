#pragma once

// The item order list (SortList): a list whose entries the user drags into
// place. The order itself is the core's: a drop only reports which entry went
// where, and the window then shows the core's new order, so the list never
// moves an entry on its own and cannot drift out of step with the form.

#include <QListWidget>

class QMimeData;

namespace kelvaro::ui {

class OrderList : public QListWidget {
    Q_OBJECT

public:
    explicit OrderList(QWidget* parent = nullptr);

    // The row whose entry `dragged` carries when it is a drag of this very
    // list's entries, else -1.
    int DraggedRow(const QMimeData* dragged) const;

Q_SIGNALS:
    // Entry `from` was dragged so that it now belongs at index `to` (both
    // 0-based, `to` counted after the entry has left its old place).
    void EntryDragged(int from, int to);

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QByteArray Identity() const;
};

} // namespace kelvaro::ui

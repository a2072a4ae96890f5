#include "window_fixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>

namespace kelvaro::test {

WindowFixture::WindowFixture() {
    std::filesystem::copy(std::string(KELVARO_SOURCE_DIR) + "/data/Templates",
                          folder.File("Templates"), std::filesystem::copy_options::recursive);
    window = std::make_unique<ui::ReadMeForm>(host, folder.Path());
    // Tests reach every page's controls at once; filling pages as they are
    // first shown has tests of its own.
    window->FillAllPages();
    window->show();
}

WindowFixture::~WindowFixture() {
    // Closing through the window would ask the exit question; the test is over.
    window->hide();
    window.reset();
}

void WindowFixture::ClickTab(int index) const {
    QTabBar* bar = window->findChild<QTabWidget*>(QStringLiteral("TabSheet"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

bool DragListEntry(QListWidget* list, int from, QPoint target) {
    QWidget* viewport = list->viewport();
    const QPoint start = list->visualItemRect(list->item(from)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, start);
    const std::unique_ptr<QMimeData> data(list->model()->mimeData({list->model()->index(from, 0)}));
    QDragEnterEvent enter(start, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(target, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(target), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    return enter.isAccepted() && move.isAccepted() && drop.isAccepted() &&
           drop.dropAction() == Qt::IgnoreAction;
}

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80 && c.isPrint()) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

QString Qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace kelvaro::test

// The window by keyboard: Tab visits each page's controls in the order they
// are read, every menu entry is reached by its mnemonic, and the fixes a
// keyboard user met stay fixed (long one-line values, the HTML5 entries).

#include "ui/qt_host.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowKeyboardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tabFollowsTheReadingOrder_data();
    void tabFollowsTheReadingOrder();
    void everyMenuEntryIsReachedByItsMnemonic();
    void oneLineBoxesTakeValuesLongerThanQtsDefault_data();
    void oneLineBoxesTakeValuesLongerThanQtsDefault();
    void html5EntriesGiveTheHtml5Page_data();
    void html5EntriesGiveTheHtml5Page();
};

namespace {

// Where Tab stops, as Qt's own focus chain decides it.
bool TabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget->isVisible() &&
           widget->isEnabled() && widget->focusProxy() == nullptr;
}

QStringList Names(const QList<QWidget*>& widgets) {
    QStringList names;
    for (const QWidget* widget : widgets) {
        names << widget->objectName() + QLatin1Char('/') +
                     QString::fromLatin1(widget->metaObject()->className());
    }
    return names;
}

// The page's controls in the order a reader meets them: rows from top to
// bottom, a control joining the row whose first control its middle lies
// beside, and each row from left to right.
QList<QWidget*> ReadingOrder(QWidget* page, QList<QWidget*> controls) {
    auto box = [page](const QWidget* w) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](QWidget* a, QWidget* b) { return box(a).top() < box(b).top(); });
    QList<QList<QWidget*>> rows;
    QRect opener;
    for (QWidget* control : controls) {
        const int middle = box(control).center().y();
        if (rows.isEmpty() || middle > opener.bottom()) {
            rows.append(QList<QWidget*>{});
            opener = box(control);
        }
        rows.last().append(control);
    }
    QList<QWidget*> order;
    for (QList<QWidget*>& row : rows) {
        std::stable_sort(row.begin(), row.end(), [&](QWidget* a, QWidget* b) {
            return box(a).left() != box(b).left() ? box(a).left() < box(b).left()
                                                  : box(a).top() < box(b).top();
        });
        order += row;
    }
    return order;
}

} // namespace

void WindowKeyboardTest::tabFollowsTheReadingOrder_data() {
    QTest::addColumn<int>("page");
    for (int page = 0; page < static_cast<int>(PageCount); ++page) {
        QTest::addRow("page %d", page + 1) << page;
    }
}

void WindowKeyboardTest::tabFollowsTheReadingOrder() {
    QFETCH(int, page);
    WindowFixture f;
    f.ClickTab(page);
    auto* tab = f.Find<QWidget>(qPrintable(QStringLiteral("TabPage_%1").arg(page + 1)));
    QVERIFY(tab->isVisible());
    // The whole chain from the window on; this page's stops in its order.
    QList<QWidget*> chain;
    QWidget* start = f.window.get();
    QWidget* each = start;
    do {
        if (tab->isAncestorOf(each) && TabStop(each)) {
            chain.append(each);
        }
        each = each->nextInFocusChain();
    } while (each != start);
    QVERIFY(chain.size() >= 2);
    const QStringList tabbed = Names(chain);
    const QStringList read = Names(ReadingOrder(tab, chain));
    QVERIFY2(tabbed == read,
             qPrintable(QStringLiteral("Tab:  %1\nread: %2")
                            .arg(tabbed.join(QLatin1Char(' ')), read.join(QLatin1Char(' ')))));
}

void WindowKeyboardTest::everyMenuEntryIsReachedByItsMnemonic() {
    WindowFixture f;
    QList<QMenu*> menus;
    for (QAction* top : f.window->menuBar()->actions()) {
        QVERIFY2(!QKeySequence::mnemonic(top->text()).isEmpty(), qPrintable(top->text()));
        menus << top->menu();
        for (QAction* entry : top->menu()->actions()) {
            if (entry->menu() != nullptr) {
                menus << entry->menu();
            }
        }
    }
    for (QMenu* menu : menus) {
        const QList<QAction*> entries = menu->actions();
        for (QAction* entry : entries) {
            if (entry->isSeparator()) {
                continue;
            }
            const QString what = menu->title() + QStringLiteral(" > ") + entry->text();
            const QKeySequence mnemonic = QKeySequence::mnemonic(entry->text());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(what + QStringLiteral(": no mnemonic")));
            if (!entry->isEnabled() || entry->menu() != nullptr) {
                continue;
            }
            // Entries that share a letter are visited in turn, the chosen one
            // run with Enter; a letter of its own runs the entry at once.
            int presses = 0;
            int sharing = 0;
            bool passed = false;
            for (QAction* other : entries) {
                if (QKeySequence::mnemonic(other->text()) == mnemonic) {
                    ++sharing;
                    presses += passed ? 0 : 1;
                }
                passed = passed || other == entry;
            }
            const bool shared = sharing > 1;
            const QSignalSpy ran(entry, &QAction::triggered);
            menu->popup(f.window->mapToGlobal(QPoint(20, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            // The letter alone, as in an open menu (the sequence says Alt+letter).
            const char key = QChar(mnemonic[0].key()).toLower().toLatin1();
            for (int i = 0; i < presses; ++i) {
                QTest::keyClick(menu, key);
            }
            if (shared) {
                QCOMPARE(menu->activeAction(), entry);
                QTest::keyClick(menu, Qt::Key_Return);
            }
            QVERIFY2(ran.size() == 1, qPrintable(what + QStringLiteral(": not run by its key")));
            menu->hide();
        }
    }
}

void WindowKeyboardTest::oneLineBoxesTakeValuesLongerThanQtsDefault_data() {
    // Qt's line edits hold 32,767 characters unless told otherwise.
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("choice");
    QTest::newRow("plain item (作者名)") << QStringLiteral("TopicsLineText_0") << false;
    QTest::newRow("choice item (種別)") << QStringLiteral("ComboTopics_0") << true;
    QTest::newRow("user item's name (追加1)") << QStringLiteral("TopicsAdd_0") << false;
    QTest::newRow("HTML setting (BODY)") << QStringLiteral("TopicsHTMLInput_6") << false;
}

void WindowKeyboardTest::oneLineBoxesTakeValuesLongerThanQtsDefault() {
    QFETCH(QString, box);
    QFETCH(bool, choice);
    WindowFixture f;
    QLineEdit* edit = choice ? f.Find<QComboBox>(qPrintable(box))->lineEdit()
                             : f.Find<QLineEdit>(qPrintable(box));
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    for (int page = 0; page < static_cast<int>(PageCount); ++page) {
        if (f.Find<QWidget>(qPrintable(QStringLiteral("TabPage_%1").arg(page + 1)))
                ->isAncestorOf(edit)) {
            f.ClickTab(page);
        }
    }
    edit->setFocus();
    edit->setText(QString(40000, QLatin1Char('x')));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text().size(), 39999);
}

void WindowKeyboardTest::html5EntriesGiveTheHtml5Page_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("toClipboard");
    QTest::newRow("HTML5形式でクリップボードに出力")
        << QStringLiteral("MiReadMeHTML5Clipboard") << true;
    QTest::newRow("HTML5形式でブラウザに表示") << QStringLiteral("MiReadMeHTML5Browser") << false;
}

void WindowKeyboardTest::html5EntriesGiveTheHtml5Page() {
    QFETCH(QString, entry);
    QFETCH(bool, toClipboard);
    WindowFixture f;
    // The clipboard is the desktop's own, through the program's real host; the
    // browser is reached through the scripted one, which records the page.
    ui::QtHost desktop;
    std::unique_ptr<ui::ReadMeForm> own;
    ui::ReadMeForm* window = f.window.get();
    if (toClipboard) {
        QGuiApplication::clipboard()->clear();
        own = std::make_unique<ui::ReadMeForm>(desktop, f.folder.Path());
        own->FillAllPages();
        window = own.get();
    }
    window->findChild<QLineEdit*>(QStringLiteral("TopicsLineText_1"))
        ->setText(QStringLiteral("ケルヴァロ"));
    // The real host tells of the copy in a message box; it is answered.
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    window->findChild<QAction*>(entry)->trigger();
    QString page;
    if (toClipboard) {
        page = QGuiApplication::clipboard()->text();
    } else {
        QCOMPARE(f.host.OpenedDocuments.size(), std::size_t{1});
        page = Qs(ReadBytes(f.host.OpenedDocuments[0].first));
    }
    QVERIFY2(page.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\">")),
             qPrintable(page.left(200)));
    QVERIFY(page.contains(QStringLiteral("ケルヴァロ")));
}

QTEST_MAIN(WindowKeyboardTest)
#include "window_keyboard_test.moc"

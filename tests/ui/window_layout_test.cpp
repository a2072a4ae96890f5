// Nothing a user has to read is cut: the user items' name boxes, the choice
// boxes' placeholder, every suggestion in the suggestion lists, the template
// names and the tab captions are shown whole, at the desktop's font and at a
// larger one. ctest runs this at the scale factors 1, 1.25, 1.5 and 2.

#include "window_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void userItemNamesAreShownWhole_data();
    void userItemNamesAreShownWhole();
    void choicePlaceholdersAreShownWhole_data();
    void choicePlaceholdersAreShownWhole();
    void suggestionListsAreAsWideAsTheirLongestEntry_data();
    void suggestionListsAreAsWideAsTheirLongestEntry();
    void templateNamesAreShownWholeAndTheListGrowsWithTheWindow_data();
    void templateNamesAreShownWholeAndTheListGrowsWithTheWindow();
    void tabCaptionsFitTheirTabs_data();
    void tabCaptionsFitTheirTabs();

private:
    QFont desktopFont_;
};

namespace {

// Whether a line edit shows its whole text: with the cursor after the last
// character, the text's start is still inside the box (a box too narrow
// scrolls its beginning out of sight).
bool ShowsWholeText(QLineEdit* box) {
    box->setCursorPosition(static_cast<int>(box->text().size()));
    box->grab(); // a paint lays the text out where the user sees it
    // The cursor's rectangle is centred on the cursor.
    const int cursor = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    const int advance = box->fontMetrics().horizontalAdvance(box->text());
    const bool whole = cursor - advance >= 0 && cursor < box->width();
    box->setCursorPosition(0);
    return whole;
}

void AddFontRows() {
    QTest::addColumn<int>("points");
    QTest::newRow("desktop font") << 0;
    QTest::newRow("12 pt desktop font") << 12;
}

// The desktop font for this row; 0 keeps the one Qt found.
void UseFontOfRow(const QFont& desktop, int points) {
    QFont font = desktop;
    if (points > 0) {
        font.setPointSize(points);
    }
    QApplication::setFont(font);
}

} // namespace

void WindowLayoutTest::initTestCase() {
    qInfo("scale factor %s",
          qgetenv("QT_SCALE_FACTOR").isEmpty() ? "1" : qgetenv("QT_SCALE_FACTOR").constData());
    desktopFont_ = QApplication::font();
}

void WindowLayoutTest::init() {
    QFETCH(int, points);
    UseFontOfRow(desktopFont_, points);
}

void WindowLayoutTest::cleanup() {
    QApplication::setFont(desktopFont_);
}

void WindowLayoutTest::userItemNamesAreShownWhole_data() {
    AddFontRows();
}

void WindowLayoutTest::userItemNamesAreShownWhole() {
    WindowFixture f;
    auto* first = f.Find<QLineEdit>("TopicsAdd_0");
    auto* second = f.Find<QLineEdit>("TopicsAdd_1");
    QCOMPARE(first->text(), QStringLiteral("ユーザー入力可能1"));
    QVERIFY2(ShowsWholeText(first), qPrintable(QString::number(first->width())));
    QVERIFY2(ShowsWholeText(second), qPrintable(QString::number(second->width())));
    // Bold once their entries are checked, and still whole.
    f.Find<QPushButton>("CmdListAllCheck_0")->click();
    QVERIFY(first->font().bold());
    QVERIFY(ShowsWholeText(first));
    QVERIFY(ShowsWholeText(second));
    // The two on the long-text page as well.
    f.ClickTab(1);
    QVERIFY(ShowsWholeText(f.Find<QLineEdit>("TopicsAdd_2")));
    QVERIFY(ShowsWholeText(f.Find<QLineEdit>("TopicsAdd_3")));
}

void WindowLayoutTest::choicePlaceholdersAreShownWhole_data() {
    AddFontRows();
}

void WindowLayoutTest::choicePlaceholdersAreShownWhole() {
    WindowFixture f;
    for (int i = 0; i < 7; ++i) {
        const QByteArray name = "ComboTopics_" + QByteArray::number(i);
        QLineEdit* box = f.Find<QComboBox>(name.constData())->lineEdit();
        QCOMPARE(box->text(), QStringLiteral("ユーザー入力可能"));
        QVERIFY2(ShowsWholeText(box), name.constData());
    }
}

void WindowLayoutTest::suggestionListsAreAsWideAsTheirLongestEntry_data() {
    AddFontRows();
}

void WindowLayoutTest::suggestionListsAreAsWideAsTheirLongestEntry() {
    WindowFixture f;
    QList<QComboBox*> boxes{f.Find<QComboBox>("ComboSize")};
    for (int i = 0; i < 7; ++i) {
        boxes << f.Find<QComboBox>(("ComboTopics_" + QByteArray::number(i)).constData());
    }
    for (QComboBox* box : boxes) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        QTRY_VERIFY(list->isVisible());
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < box->count(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            const int text = metrics.horizontalAdvance(box->itemText(row));
            // The row as wide as the entry's text and the list's own margins.
            QVERIFY2(list->viewport()->width() >= text &&
                         list->viewport()->width() >= list->sizeHintForIndex(index).width(),
                     qPrintable(box->objectName() + QLatin1Char(' ') + box->itemText(row) +
                                QStringLiteral(": %1 < %2")
                                    .arg(list->viewport()->width())
                                    .arg(list->sizeHintForIndex(index).width())));
        }
        box->hidePopup();
        QTRY_VERIFY(!list->isVisible());
    }
}

void WindowLayoutTest::templateNamesAreShownWholeAndTheListGrowsWithTheWindow_data() {
    AddFontRows();
}

void WindowLayoutTest::templateNamesAreShownWholeAndTheListGrowsWithTheWindow() {
    WindowFixture f;
    f.ClickTab(7);
    f.Find<QPushButton>("CmdLoadTemplate")->click();
    auto* list = f.Find<QListWidget>("TemplateList");
    QVERIFY(list->count() >= 12);
    auto wholeNames = [list] {
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* item = list->item(row);
            const int needed = std::max(metrics.horizontalAdvance(item->text()),
                                        list->sizeHintForIndex(list->indexFromItem(item)).width());
            if (list->viewport()->width() < needed) {
                qWarning() << "cut:" << item->text() << list->viewport()->width() << needed;
                return false;
            }
        }
        return !list->horizontalScrollBar()->isVisible();
    };
    QTRY_VERIFY(wholeNames());
    // "アンインストール方法(インストーラ版).txt" and "アンインストール方法.txt"
    // are told apart in the list the user reads.
    QVERIFY(!list->findItems(QStringLiteral("アンインストール方法(インストーラ版).txt"),
                             Qt::MatchExactly)
                 .isEmpty());

    // Wider (ctest gives this test a large screen): the list takes its share.
    const int before = list->width();
    const int screen = f.window->screen()->availableGeometry().width();
    QVERIFY(screen >= f.window->width() + 100);
    f.window->resize(screen, f.window->height());
    QTRY_VERIFY(list->width() >= before + 40);
    QVERIFY(wholeNames());
}

void WindowLayoutTest::tabCaptionsFitTheirTabs_data() {
    AddFontRows();
}

void WindowLayoutTest::tabCaptionsFitTheirTabs() {
    WindowFixture f;
    auto* tabs = f.Find<QTabWidget>("TabSheet");
    QTabBar* bar = tabs->tabBar();
    const QFontMetrics metrics(bar->font());
    for (QToolButton* arrow : bar->findChildren<QToolButton*>()) {
        QVERIFY2(!arrow->isVisible(), "scroll arrows over the captions");
    }
    QVERIFY(bar->width() <= tabs->width());
    for (int i = 0; i < bar->count(); ++i) {
        const QRect rect = bar->tabRect(i);
        QVERIFY2(rect.left() >= 0 && rect.right() < bar->width(), qPrintable(bar->tabText(i)));
        // Where the style draws the caption inside its tab: the caption fits.
        QStyleOptionTab option;
        option.initFrom(bar);
        option.rect = rect;
        option.text = bar->tabText(i);
        option.shape = bar->shape();
        const QRect label = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &option, bar);
        QVERIFY2(
            label.width() >= metrics.horizontalAdvance(bar->tabText(i)),
            qPrintable(bar->tabText(i) + QStringLiteral(": %1 < %2")
                                             .arg(label.width())
                                             .arg(metrics.horizontalAdvance(bar->tabText(i)))));
    }
    // The window starts no smaller than the design size, larger where the
    // captions and boxes need it, and every page fits it.
    const qreal scale = f.window->logicalDpiY() / 96.0;
    QVERIFY(tabs->width() >= qRound(472 * scale));
    QVERIFY(tabs->height() >= qRound(352 * scale));
    for (int i = 0; i < tabs->count(); ++i) {
        QVERIFY(tabs->widget(i)->minimumSizeHint().width() <= tabs->width());
    }
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"

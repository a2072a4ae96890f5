// The window as it opens: every page shows the defaults in its controls, the
// tab strip and the menus are the ones the window's description gives, and the
// title names the program.

#include "model/catalogue.h"
#include "ui/text_convert.h"
#include "window/menus.h"
#include "window/pages.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>

using namespace kelvaro;
using namespace kelvaro::test;
using kelvaro::ui::ToQt;

class WindowStartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titleAndFirstPage();
    void singleLinePageShowsDefaults();
    void longTextPageShowsDefaults();
    void orderPageShowsTheDefaultOrder();
    void otherAndHtmlPagesShowDefaults();
    void previewOptionsAndTemplatePages();
    void everyPageIsReachableAtTheDesignSize();
    void menuBarCaptionsAndShortcuts();
    void pagesAreDrawnAsDescribed();
};

void WindowStartupTest::titleAndFirstPage() {
    WindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvaro Ver 1.0.0"));
    auto* tabs = f.Find<QTabWidget>("TabSheet");
    QCOMPARE(tabs->count(), 8);
    QCOMPARE(tabs->currentIndex(), 0);
    for (int i = 0; i < tabs->count(); ++i) {
        const TabDescription& tab = WindowTabs()[static_cast<std::size_t>(i)];
        QCOMPARE(tabs->tabText(i), ToQt(tab.Caption));
        QCOMPARE(tabs->widget(i)->objectName(), ToQt(tab.Name));
        QCOMPARE(tabs->widget(i)->isVisible(), i == 0);
    }
}

void WindowStartupTest::singleLinePageShowsDefaults() {
    WindowFixture f;
    for (int i = 0; i < 11; ++i) {
        const QByteArray name = "TopicsLineText_" + QByteArray::number(i);
        const QString expected = i == 2   ? QStringLiteral("Ver ")
                                 : i == 7 ? QStringLiteral("http://")
                                          : QString();
        QCOMPARE(f.Find<QLineEdit>(name.constData())->text(), expected);
    }
    for (int i = 0; i < 7; ++i) {
        const QByteArray name = "ComboTopics_" + QByteArray::number(i);
        auto* combo = f.Find<QComboBox>(name.constData());
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->currentText(), QStringLiteral("ユーザー入力可能"));
        // The placeholder is not one of the suggestions.
        QCOMPARE(combo->findText(QStringLiteral("ユーザー入力可能")), -1);
    }
    auto* kind = f.Find<QComboBox>("ComboTopics_0");
    QCOMPARE(kind->count(), 10);
    QCOMPARE(kind->itemText(0), QStringLiteral("フリーウェア"));
    QCOMPARE(kind->itemText(9), QStringLiteral("デモ版"));
    QCOMPARE(f.Find<QComboBox>("ComboTopics_1")->count(), 21);
    QCOMPARE(f.Find<QComboBox>("ComboTopics_3")->itemText(1), QStringLiteral("DirectX 9.0 以上"));

    auto* size = f.Find<QComboBox>("ComboSize");
    QVERIFY(!size->isEditable());
    QCOMPARE(size->count(), 4);
    QCOMPARE(size->currentText(), QStringLiteral("Byte"));
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_0")->text(), QStringLiteral("ユーザー入力可能1"));
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_1")->text(), QStringLiteral("ユーザー入力可能2"));
}

void WindowStartupTest::longTextPageShowsDefaults() {
    WindowFixture f;
    for (int i = 0; i < static_cast<int>(LongTextCount); ++i) {
        const QByteArray name = "OptTopics_" + QByteArray::number(i);
        QCOMPARE(f.Find<QRadioButton>(name.constData())->isChecked(), i == 0);
    }
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_2")->text(), QStringLiteral("ユーザー入力可能3"));
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_3")->text(), QStringLiteral("ユーザー入力可能4"));
    auto* description = f.Find<QPlainTextEdit>("Description");
    QVERIFY(!description->isReadOnly());
    QVERIFY(description->toPlainText().isEmpty());
    QCOMPARE(description->font().family(), QStringLiteral("ＭＳ ゴシック"));
}

void WindowStartupTest::orderPageShowsTheDefaultOrder() {
    WindowFixture f;
    auto* list = f.Find<QListWidget>("SortList");
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->count(), 39);
    QCOMPARE(list->item(0)->text(), QStringLiteral("区切り線"));
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(5)->text(), QStringLiteral("アーカイブ名"));
    QCOMPARE(list->item(5)->checkState(), Qt::Unchecked);
    QVERIFY(list->item(5)->flags() & Qt::ItemIsUserCheckable);
    // The user items show their names, not their keys.
    QCOMPARE(list->item(17)->text(), QStringLiteral("ユーザー入力可能1"));
    QCOMPARE(list->item(36)->text(), QStringLiteral("このソフトウェアの情報"));
    QCOMPARE(list->item(38)->checkState(), Qt::Unchecked);
    QCOMPARE(list->currentRow(), -1);

    QVERIFY(!f.Find<QCheckBox>("TopicsSortCheckSpace")->isChecked());
}

void WindowStartupTest::otherAndHtmlPagesShowDefaults() {
    WindowFixture f;
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherPauseChar")->text(), QStringLiteral("*"));
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherPauseNum")->text(), QStringLiteral("78"));
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherLeftChar")->text(), QStringLiteral("【"));
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherRightChar")->text(), QStringLiteral("】"));

    QVERIFY(f.Find<QRadioButton>("OptTopicsHTML_0")->isChecked());
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_0")->text(), QStringLiteral("#FFFFFF"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_1")->text(), QStringLiteral("images/back.gif"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_2")->text(), QStringLiteral("color:\"#0000FF\";"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_6")->text(),
             QStringLiteral("color:\"#000000\";font-size:\"12px\";font-family:\"ＭＳ ゴシック\";"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_8")->text(), QStringLiteral("color:\"#FF0000\";"));
    QVERIFY(f.Find<QCheckBox>("TopicsHTMLCheckHR")->isChecked());
}

void WindowStartupTest::previewOptionsAndTemplatePages() {
    WindowFixture f;
    QVERIFY(f.Find<QRadioButton>("OptPreviewMode_0")->isChecked());
    QVERIFY(!f.Find<QRadioButton>("OptPreviewMode_3")->isChecked());
    QVERIFY(f.Find<QRadioButton>("OptTopicsOptionBold_0")->isChecked());
    QCOMPARE(f.Find<QListWidget>("TemplateList")->count(), 0);

    // The three read-only boxes have the button face behind their text.
    for (const char* name : {"PreviewText", "TopicsOptionInfo", "TemplateText"}) {
        auto* box = f.Find<QPlainTextEdit>(name);
        QVERIFY2(box->isReadOnly(), name);
        QCOMPARE(box->palette().color(QPalette::Base), box->palette().color(QPalette::Button));
        QCOMPARE(box->font().family(), QStringLiteral("ＭＳ ゴシック"));
    }
    auto* description = f.Find<QPlainTextEdit>("Description");
    QVERIFY(description->palette().color(QPalette::Base) !=
            description->palette().color(QPalette::Button));
}

void WindowStartupTest::everyPageIsReachableAtTheDesignSize() {
    WindowFixture f;
    auto* tabs = f.Find<QTabWidget>("TabSheet");
    // 472 x 352 at 96 dpi is the client area below the menu bar; the window
    // is only as much wider as its pages need to show their names whole.
    const qreal scale = f.window->logicalDpiY() / 96.0;
    QCOMPARE(tabs->size().width(), std::max(qRound(472 * scale), tabs->minimumSizeHint().width()));
    QCOMPARE(tabs->size().height(), qRound(352 * scale));
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* page = tabs->widget(i);
        QVERIFY2(page->minimumSizeHint().width() <= tabs->width(), qPrintable(page->objectName()));
        QVERIFY2(page->minimumSizeHint().height() <= tabs->height() - tabs->tabBar()->height(),
                 qPrintable(page->objectName()));
    }
    // No scroll arrows: every tab caption is in view.
    QVERIFY(tabs->tabBar()->sizeHint().width() <= tabs->width());
}

void WindowStartupTest::menuBarCaptionsAndShortcuts() {
    // The menu bar shows the window's menu description, entry for entry.
    WindowFixture f;
    QList<QMenu*> shown;
    for (QAction* top : f.window->menuBar()->actions()) {
        shown << top->menu();
    }
    for (const MenuDescription& menu : WindowMenus()) {
        QMenu* drawn = f.Find<QMenu>(std::string(menu.Name).c_str());
        QCOMPARE(drawn->title(), ToQt(menu.Caption));
        QCOMPARE(shown.contains(drawn), menu.OnMenuBar);
        const QList<QAction*> actions = drawn->actions();
        QCOMPARE(actions.size(), static_cast<qsizetype>(menu.Items.size()));
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const MenuItem& item = menu.Items[static_cast<std::size_t>(i)];
            QAction* a = actions[i];
            QCOMPARE(a->isSeparator(), item.Separator());
            if (item.Submenu != nullptr) {
                QCOMPARE(a->menu()->objectName(), ToQt(MenuOf(*item.Submenu).Name));
                continue;
            }
            QCOMPARE(a->objectName(), ToQt(item.Name));
            if (!item.Separator()) {
                QCOMPARE(a->text(), ToQt(item.Caption));
                QCOMPARE(a->isEnabled(), item.Enabled());
                QCOMPARE(a->shortcut().isEmpty(), item.Shortcut.Empty());
            }
        }
    }
    // The chords as Qt spells them.
    QCOMPARE(f.Find<QAction>("MiFileSaveAs")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(f.Find<QAction>("MiHelpFile")->shortcut(), QKeySequence(Qt::Key_F1));
}

void WindowStartupTest::pagesAreDrawnAsDescribed() {
    // Every control of the pages' description, drawn: its caption, what a
    // screen reader says, the label that leads to it, and Tab's order.
    WindowFixture f;
    f.window->FillAllPages();
    auto* tabs = f.Find<QTabWidget>("TabSheet");
    for (const PageDescription& page : WindowPages()) {
        QWidget* tab = tabs->widget(static_cast<int>(page.Which));
        std::vector<QWidget*> drawn;
        for (const ControlDescription& c : page.Controls) {
            auto* w = tab->findChild<QWidget*>(ToQt(c.Name));
            QVERIFY2(w != nullptr, c.Name.c_str());
            drawn.push_back(w);
            const QString caption = ToQt(c.Caption);
            if (auto* label = qobject_cast<QLabel*>(w)) {
                QCOMPARE(label->text(), caption);
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                QCOMPARE(button->text(), caption);
            } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
                QCOMPARE(frame->title(), caption);
            }
            // The editor is called after the chosen item instead.
            if (!c.Spoken.empty() && c.Kind != ControlKind::TextEditor) {
                QCOMPARE(w->accessibleName(), ToQt(c.Spoken));
            }
        }
        for (std::size_t i = 0; i < page.Controls.size(); ++i) {
            const ControlDescription& c = page.Controls[i];
            if (c.LabelledBy != NoControl) {
                auto* label = qobject_cast<QLabel*>(drawn[static_cast<std::size_t>(c.LabelledBy)]);
                QCOMPARE(label->buddy(), drawn[i]);
                if (c.Spoken.empty()) {
                    QCOMPARE(drawn[i]->accessibleName(), label->text());
                }
            }
            if (c.SpokenBy != NoControl) {
                auto* name = qobject_cast<QLineEdit*>(drawn[static_cast<std::size_t>(c.SpokenBy)]);
                QCOMPARE(drawn[i]->accessibleName(), name->text());
            }
        }
        // Walking the focus chain from the first stop meets every stop in order.
        std::vector<QWidget*> stops;
        for (int index : page.TabOrder) {
            stops.push_back(drawn[static_cast<std::size_t>(index)]);
        }
        QWidget* at = stops.front();
        std::size_t next = 1;
        for (int step = 0; step < 1000 && next < stops.size(); ++step) {
            at = at->nextInFocusChain();
            if (at == stops[next] || stops[next]->isAncestorOf(at)) {
                ++next;
            }
        }
        QCOMPARE(next, stops.size());
    }
}

QTEST_MAIN(WindowStartupTest)
#include "window_startup_test.moc"

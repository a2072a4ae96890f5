// The window as it opens: every page shows the defaults in its controls, the
// tab strip and the menus are the ones the window's description gives, and the
// title names the program.

#include "ui/text_convert.h"
#include "window/menus.h"
#include "window_fixture.h"

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
    const QStringList labels{"作者名",       "ソフト名",   "バージョン",   "作成日",
                             "アーカイブ名", "ｱｰｶｲﾌﾞｻｲｽﾞ", "種別",         "ｼｪｱｳｪｱ代金",
                             "開発言語",     "必要ﾗﾝﾀｲﾑ",  "DirectX",      "動作OS",
                             "再配布",       "転載",       "ホームページ", "メール"};
    for (int i = 0; i < labels.size(); ++i) {
        const QByteArray name = "TopicsLine_" + QByteArray::number(i);
        QCOMPARE(f.Find<QLabel>(name.constData())->text(), labels[i]);
    }
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
    QCOMPARE(f.Find<QPushButton>("CmdGetToday")->text(), QStringLiteral("≪今日の日付"));
}

void WindowStartupTest::longTextPageShowsDefaults() {
    WindowFixture f;
    QCOMPARE(f.Find<QGroupBox>("TopicsFrame")->title(), QStringLiteral("長文項目"));
    const QStringList options{"アーカイブ内容",
                              "送金方法",
                              "特徴",
                              "開発環境",
                              "動作環境(スペック)",
                              "インストール方法",
                              "アンインストール方法",
                              "使用方法",
                              "著作権",
                              "再配布・転載",
                              "免責",
                              "謝辞",
                              "開発履歴",
                              "",
                              ""};
    for (int i = 0; i < options.size(); ++i) {
        const QByteArray name = "OptTopics_" + QByteArray::number(i);
        auto* option = f.Find<QRadioButton>(name.constData());
        QCOMPARE(option->text(), options[i]);
        QCOMPARE(option->isChecked(), i == 0);
    }
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_2")->text(), QStringLiteral("ユーザー入力可能3"));
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_3")->text(), QStringLiteral("ユーザー入力可能4"));
    auto* description = f.Find<QPlainTextEdit>("Description");
    QVERIFY(!description->isReadOnly());
    QVERIFY(description->toPlainText().isEmpty());
    QCOMPARE(description->font().family(), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(f.Find<QPushButton>("CmdTemplate_0")->text(),
             QStringLiteral("テンプレートを読み込む"));
    QCOMPARE(f.Find<QPushButton>("CmdTemplate_1")->text(),
             QStringLiteral("テンプレートとして保存"));
}

void WindowStartupTest::orderPageShowsTheDefaultOrder() {
    WindowFixture f;
    QCOMPARE(f.Find<QLabel>("TopicsSort")->text(), QStringLiteral("項目順序の並び替え"));
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

    QCOMPARE(f.Find<QPushButton>("CmdListUpDown_0")->text(), QStringLiteral("▲"));
    QCOMPARE(f.Find<QPushButton>("CmdListUpDown_1")->text(), QStringLiteral("▼"));
    const QStringList checks{"すべてにチェックをつける", "すべてのチェックをはずす",
                             "すべてのチェックの反転", "リストをデフォルトに戻す"};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "CmdListAllCheck_" + QByteArray::number(i);
        QCOMPARE(f.Find<QPushButton>(name.constData())->text(), checks[i]);
    }
    auto* skip = f.Find<QCheckBox>("TopicsSortCheckSpace");
    QCOMPARE(skip->text(), QStringLiteral("空白の項目はチェックがついていても記述しない"));
    QVERIFY(!skip->isChecked());
}

void WindowStartupTest::otherAndHtmlPagesShowDefaults() {
    WindowFixture f;
    const QStringList other{"区切り線", "を", "回繰り返す", "括弧", "置換"};
    for (int i = 0; i < other.size(); ++i) {
        const QByteArray name = "TopicsOther_" + QByteArray::number(i);
        QCOMPARE(f.Find<QLabel>(name.constData())->text(), other[i]);
    }
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherPauseChar")->text(), QStringLiteral("*"));
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherPauseNum")->text(), QStringLiteral("78"));
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherLeftChar")->text(), QStringLiteral("【"));
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherRightChar")->text(), QStringLiteral("】"));
    QCOMPARE(f.Find<QPushButton>("CmdGetPauseNum")->text(),
             QStringLiteral("記号から適切な回数を取得"));
    QCOMPARE(f.Find<QCheckBox>("TopicsOtherCheckChange")->text(),
             QStringLiteral("置換文字列を利用する"));
    QCOMPARE(f.Find<QCheckBox>("TopicsOtherCheckUserInput")->text(),
             QStringLiteral("「ユーザー入力可能」 は 「」 (何も書かない) に置き換える"));

    QCOMPARE(f.Find<QLabel>("TopicsHTML_1")->text(), QStringLiteral("色設定 (StyleSheet)"));
    QVERIFY(f.Find<QRadioButton>("OptTopicsHTML_0")->isChecked());
    QCOMPARE(f.Find<QRadioButton>("OptTopicsHTML_1")->text(), QStringLiteral("背景画像を使用する"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_0")->text(), QStringLiteral("#FFFFFF"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_1")->text(), QStringLiteral("images/back.gif"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_2")->text(), QStringLiteral("color:\"#0000FF\";"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_6")->text(),
             QStringLiteral("color:\"#000000\";font-size:\"12px\";font-family:\"ＭＳ ゴシック\";"));
    QCOMPARE(f.Find<QLineEdit>("TopicsHTMLInput_8")->text(), QStringLiteral("color:\"#FF0000\";"));
    const QStringList colours{"Link", "Active Link", "Visited Link", "Hover Link",
                              "BODY", "区切り線",    "括弧項目"};
    for (int i = 0; i < colours.size(); ++i) {
        const QByteArray name = "TopicsHTMLColor_" + QByteArray::number(i);
        QCOMPARE(f.Find<QLabel>(name.constData())->text(), colours[i]);
    }
    auto* hr = f.Find<QCheckBox>("TopicsHTMLCheckHR");
    QCOMPARE(hr->text(), QStringLiteral("区切り線は<HR>タグで代用"));
    QVERIFY(hr->isChecked());
}

void WindowStartupTest::previewOptionsAndTemplatePages() {
    WindowFixture f;
    QVERIFY(f.Find<QRadioButton>("OptPreviewMode_0")->isChecked());
    QCOMPARE(f.Find<QRadioButton>("OptPreviewMode_2")->text(), QStringLiteral("HTML(Browser)"));
    QCOMPARE(f.Find<QRadioButton>("OptPreviewMode_3")->text(), QStringLiteral("Markdown"));
    QVERIFY(!f.Find<QRadioButton>("OptPreviewMode_3")->isChecked());
    QVERIFY(f.Find<QRadioButton>("OptTopicsOptionBold_0")->isChecked());
    QCOMPARE(f.Find<QLabel>("TopicsOption_1")->text(),
             QStringLiteral("長文項目 ・ ﾌﾟﾚﾋﾞｭｰ ・ ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ のフォント指定"));
    QCOMPARE(f.Find<QPushButton>("CmdFontSelect_1")->text(),
             QStringLiteral("デフォルトのフォント"));
    QCOMPARE(f.Find<QLabel>("TopicsTemplate")->text(), QStringLiteral("テンプレートビューア"));
    QCOMPARE(f.Find<QPushButton>("CmdLoadTemplate")->text(),
             QStringLiteral("テンプレートの読み込み"));
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

QTEST_MAIN(WindowStartupTest)
#include "window_startup_test.moc"

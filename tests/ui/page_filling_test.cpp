// The window fills only its first page before it is first shown; the others
// are filled when first shown, or in the idle time after the first frame. A
// page filled late shows what the session holds and works like any other.

#include "window_fixture.h"

#include "model/catalogue.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <filesystem>

namespace kelvaro::test {
namespace {

class PageFillingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyTheFirstPageIsFilledAtFirst();
    void aPageShownFirstShowsTheSessionAndTakesInput();
    void theOtherPagesFillThemselvesAfterTheFirstFrame();
};

std::unique_ptr<ui::ReadMeForm> NewWindow(ScriptedHost& host, const TempFolder& folder) {
    std::filesystem::copy(std::string(KELVARO_SOURCE_DIR) + "/data/Templates",
                          folder.File("Templates"), std::filesystem::copy_options::recursive);
    return std::make_unique<ui::ReadMeForm>(host, folder.Path());
}

void PageFillingTest::onlyTheFirstPageIsFilledAtFirst() {
    ScriptedHost host;
    TempFolder folder;
    auto window = NewWindow(host, folder);
    QVERIFY(window->PageFilled(0));
    for (std::size_t n = 1; n < PageCount; ++n) {
        QVERIFY2(!window->PageFilled(n), qPrintable(QString::number(n)));
    }
    QVERIFY(window->findChild<QLineEdit*>(QStringLiteral("TopicsLineText_0")) != nullptr);
    QVERIFY(window->findChild<QListWidget*>(QStringLiteral("SortList")) == nullptr);
    QCOMPARE(window->findChild<QTabWidget*>(QStringLiteral("TabSheet"))->count(),
             static_cast<int>(PageCount));
}

void PageFillingTest::aPageShownFirstShowsTheSessionAndTakesInput() {
    ScriptedHost host;
    TempFolder folder;
    auto window = NewWindow(host, folder);
    // Changed while its page is still empty.
    window->session().ws.form.PauseChars = "＝-";
    window->session().ws.form.Order[1].Checked = false;
    window->session().Notify(Change::Form);
    window->session().Notify(Change::Order);
    window->show();

    QTabBar* bar = window->findChild<QTabWidget*>(QStringLiteral("TabSheet"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QVERIFY(window->PageFilled(2));
    auto* list = window->findChild<QListWidget*>(QStringLiteral("SortList"));
    QVERIFY(list != nullptr);
    QCOMPARE(static_cast<std::size_t>(list->count()), window->session().ws.form.Order.size());
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(list->item(2)->checkState(), Qt::Checked);
    // Its controls are connected: a check mark reaches the form.
    list->item(2)->setCheckState(Qt::Unchecked);
    QVERIFY(!window->session().ws.form.Order[2].Checked);

    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
    auto* pause = window->findChild<QLineEdit*>(QStringLiteral("TopicsOtherPauseChar"));
    QVERIFY(pause != nullptr);
    QCOMPARE(pause->text(), QStringLiteral("＝-"));
    pause->setText(QStringLiteral("*"));
    QCOMPARE(window->session().ws.form.PauseChars, std::string("*"));

    // Filling every page later connects nothing twice: one click on ▲ moves
    // the selected entry one place, not two.
    window->FillAllPages();
    list->setCurrentRow(5);
    QCOMPARE(window->session().ws.Selected, 5);
    auto* up = window->findChild<QPushButton*>(QStringLiteral("CmdListUpDown_0"));
    QVERIFY(up != nullptr);
    up->click();
    QCOMPARE(window->session().ws.Selected, 4);
    window->hide();
}

void PageFillingTest::theOtherPagesFillThemselvesAfterTheFirstFrame() {
    ScriptedHost host;
    TempFolder folder;
    auto window = NewWindow(host, folder);
    window->show();
    QVERIFY(QTest::qWaitFor([&] {
        for (std::size_t n = 0; n < PageCount; ++n) {
            if (!window->PageFilled(n)) {
                return false;
            }
        }
        return true;
    }));
    auto* info = window->findChild<QWidget*>(QStringLiteral("TemplateList"));
    QVERIFY(info != nullptr);
    QVERIFY(host.Messages.empty());
    window->hide();
}

} // namespace
} // namespace kelvaro::test

QTEST_MAIN(kelvaro::test::PageFillingTest)
#include "page_filling_test.moc"

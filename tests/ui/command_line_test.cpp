// The window program's command line, and a form file reaching the window by
// name or by a drop: it opens as フォームを開く opens it.

#include "ui/command_line.h"
#include "window_fixture.h"

#include "files/form_file.h"
#include "model/defaults.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

namespace kelvaro::test {
namespace {

using ui::ParseWindowArguments;
using Action = ui::WindowArguments::Action;

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void optionsFilesAndQtsOwnOptions();
    void aFileNamedOnTheCommandLineOpensWithItsTitle();
    void aDroppedFormFileOpensTheSameWay();
};

void CommandLineTest::optionsFilesAndQtsOwnOptions() {
    QCOMPARE(ParseWindowArguments({"kelvaro"}).What, Action::Run);
    QCOMPARE(ParseWindowArguments({"kelvaro"}).FormFile, std::string());
    QCOMPARE(ParseWindowArguments({"kelvaro", "--help", "x.ref"}).What, Action::Help);
    QCOMPARE(ParseWindowArguments({"kelvaro", "x.ref", "--version"}).What, Action::Version);
    QCOMPARE(ParseWindowArguments({"kelvaro", "--verbose"}).What, Action::UsageError);
    QCOMPARE(ParseWindowArguments({"kelvaro", "--verbose"}).Problem,
             std::string("unknown option --verbose"));
    QCOMPARE(ParseWindowArguments({"kelvaro", "a.ref", "b.ref"}).What, Action::UsageError);

    // Qt's options and their values are Qt's; "--" ends the options.
    const auto styled = ParseWindowArguments({"kelvaro", "-style", "fusion", "My.ref"});
    QCOMPARE(styled.What, Action::Run);
    QCOMPARE(styled.FormFile, std::string("My.ref"));
    QCOMPARE(ParseWindowArguments({"kelvaro", "--", "--odd.ref"}).FormFile,
             std::string("--odd.ref"));
    QVERIFY(ui::WindowHelpText().rfind(ui::WindowUsageLine(), 0) == 0);
}

void CommandLineTest::aFileNamedOnTheCommandLineOpensWithItsTitle() {
    WindowFixture f;
    Workspace saved = FreshWorkspace();
    saved.form.LineValues[LineSlot::SoftwareName] = "よむよむ";
    const std::string path = f.folder.File("MySoft.ref");
    WriteFormFile(saved, path);

    f.window->OpenFormFile(path);
    QCOMPARE(f.window->windowTitle(), Qs("Kelvaro Ver 1.0.0 --- MySoft.ref"));
    QCOMPARE(f.Find<QLineEdit>("TopicsLineText_1")->text(), Qs("よむよむ"));
    QCOMPARE(f.session().FormFilePath, path);

    // A file that is not there says so and changes nothing.
    f.window->OpenFormFile(f.folder.File("missing.ref"));
    QCOMPARE(f.host.Messages.size(), std::size_t{1});
    QVERIFY(f.host.Messages[0].Text.rfind("Error No.53", 0) == 0);
    QCOMPARE(f.session().FormFilePath, path);
}

void CommandLineTest::aDroppedFormFileOpensTheSameWay() {
    WindowFixture f;
    Workspace saved = FreshWorkspace();
    saved.form.LineValues[LineSlot::Author] = "落とした人";
    const std::string path = f.folder.File("dropped.ref");
    WriteFormFile(saved, path);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    // A drop reaches the widget that accepted the drag's entry, as with the mouse.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &drop);
    QCOMPARE(f.window->windowTitle(), Qs("Kelvaro Ver 1.0.0 --- dropped.ref"));
    QCOMPARE(f.Find<QLineEdit>("TopicsLineText_0")->text(), Qs("落とした人"));

    // Two files at once, or an address, are not taken.
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(QString::fromStdString(path)),
                 QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &refused);
    QVERIFY(!refused.isAccepted());
}

} // namespace
} // namespace kelvaro::test

QTEST_MAIN(kelvaro::test::CommandLineTest)
#include "command_line_test.moc"

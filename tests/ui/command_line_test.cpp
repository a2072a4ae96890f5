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
    struct Case {
        std::vector<std::string> Args;
        Action What;
        std::string FormFile;
        std::string Problem; // in English
    };
    const std::vector<Case> cases{
        {{"kelvaro"}, Action::Run, "", ""},
        {{"kelvaro", "--help", "x.ref"}, Action::Help, "", ""},
        // The table's short name is the program's, not Qt's.
        {{"kelvaro", "-h"}, Action::Help, "", ""},
        {{"kelvaro", "x.ref", "--version"}, Action::Version, "", ""},
        {{"kelvaro", "--verbose"}, Action::UsageError, "", "unknown option '--verbose'"},
        // kelvaro-compose's options are not the window's.
        {{"kelvaro", "--output", "o.txt"}, Action::UsageError, "", "unknown option '--output'"},
        {{"kelvaro", "a.ref", "b.ref"},
         Action::UsageError,
         "",
         "more than one form file: a.ref and b.ref"},
        // Qt's options and their values are Qt's; "--" ends the options.
        {{"kelvaro", "-style", "fusion", "My.ref"}, Action::Run, "My.ref", ""},
        {{"kelvaro", "-reverse", "My.ref"}, Action::Run, "My.ref", ""},
        {{"kelvaro", "--", "--odd.ref"}, Action::Run, "--odd.ref", ""},
        {{"kelvaro", "--", "-style"}, Action::Run, "-style", ""},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseWindowArguments(c.Args);
        const QByteArray args = QByteArray::fromStdString(c.Args.back());
        QVERIFY2(parsed.What == c.What, args.constData());
        QCOMPARE(parsed.FormFile, c.FormFile);
        QCOMPARE(parsed.Problem.En, c.Problem);
        QCOMPARE(parsed.Problem.Ja.empty(), c.Problem.empty());
    }
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

// The file menu's import through the real window: the imported ReadMe fills
// the page's boxes as a new form without a file, only after the user agreed to
// discard unsaved work, and a refused file leaves the form as it was. A large
// ReadMe is read while the window keeps running its event loop.

#include "window_fixture.h"

#include "ui/qt_host.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTimer>

#include <fstream>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowImportTest : public QObject {
    Q_OBJECT

private slots:
    void importReplacesTheFormOnlyWhenAllowedAndReadable();
    void aLargeImportLeavesTheEventLoopRunning();
};

void WindowImportTest::importReplacesTheFormOnlyWhenAllowedAndReadable() {
    struct Case {
        const char* What;
        std::string File;
        MessageAnswer Discard; // the answer to the unsaved-work question
        QString Author;        // what the author box shows afterwards
        bool NewForm;          // the title of a new form, without the saved file
    };
    const std::string fixture = std::string(KELVARO_TEST_DATA) + "/import/colon_facts.txt";
    const Case cases[] = {
        {"a ReadMe, discarding allowed", fixture, MessageAnswer::Yes, QStringLiteral("佐藤一郎"),
         true},
        {"a ReadMe, discarding refused", fixture, MessageAnswer::No, QStringLiteral("作者A"),
         false},
        {"no text at all", "binary", MessageAnswer::Yes, QStringLiteral("作者A"), false},
    };
    for (const Case& c : cases) {
        WindowFixture f;
        const std::string saved = f.folder.File("mine.ref");
        f.host.AnswerFile(saved);
        f.Find<QAction>("MiFileSaveAs")->trigger();
        TypeText(f.Find<QLineEdit>("TopicsLineText_0"), QStringLiteral("作者A")); // unsaved
        std::string file = c.File;
        if (file == "binary") {
            file = f.folder.File("picture.txt");
            std::ofstream(file, std::ios::binary) << std::string(512, '\x01');
        }
        const QString titleBefore = f.window->windowTitle();

        f.host.MessageAnswers.push_back(c.Discard);
        f.host.AnswerFile(file);
        f.Find<QAction>("MiFileImport")->trigger();

        // The dialog comes only after the user agreed to discard the unsaved work.
        QVERIFY2(f.host.FileDialogs.size() == (c.Discard == MessageAnswer::Yes ? 2u : 1u), c.What);
        QCOMPARE(f.Find<QLineEdit>("TopicsLineText_0")->text(), c.Author);
        QCOMPARE(f.window->windowTitle(),
                 c.NewForm ? Qs(kProductAndVersion + " --- ") : titleBefore);
        if (c.NewForm) {
            QCOMPARE(f.Find<QLineEdit>("TopicsLineText_1")->text(), QStringLiteral("FooTool"));
            // The short report is shown; the whole one waits in the information box.
            const std::string& summary = f.host.Messages.back().Text;
            QVERIFY(Qs(summary).contains(QStringLiteral("見出しから")));
            QVERIFY(f.session().InformationText.starts_with(summary + "\r\n"));
        }
    }
}

// The busy work goes to the real Qt host. A timer started before the import
// fires while the file is read: the window's loop runs, a modal busy dialog is
// up, and the boxes still show the old form, which only the window's thread
// replaces once the reading has ended.
void WindowImportTest::aLargeImportLeavesTheEventLoopRunning() {
    WindowFixture f;
    ui::QtHost qtHost(f.window.get());
    f.host.BusyRunner = [&qtHost](const std::string& caption, const std::function<void()>& work) {
        qtHost.RunBusy(caption, work);
    };
    const std::string file = f.folder.File("large.txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << "ねこメモ Ver 2.1\n作者：佐藤一郎\n■ 概要\n";
        for (int i = 0; i < 100000; ++i) {
            out << "付箋を貼って書き留めるメモ帳です。" << i << "行目\n";
        }
    }
    TypeText(f.Find<QLineEdit>("TopicsLineText_0"), QStringLiteral("作者A"));
    bool fired = false;
    bool busyShown = false;
    QString authorMeanwhile;
    QTimer::singleShot(0, [&] {
        fired = true;
        busyShown = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()) != nullptr;
        authorMeanwhile = f.Find<QLineEdit>("TopicsLineText_0")->text();
    });
    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.host.AnswerFile(file);
    f.Find<QAction>("MiFileImport")->trigger();

    QVERIFY(fired);
    QVERIFY(busyShown);
    QCOMPARE(authorMeanwhile, QStringLiteral("作者A"));
    QCOMPARE(f.host.BusyCaptions.size(), std::size_t{1});
    QCOMPARE(f.Find<QLineEdit>("TopicsLineText_0")->text(), QStringLiteral("佐藤一郎"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(WindowImportTest)
#include "window_import_test.moc"

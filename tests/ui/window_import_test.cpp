// The file menu's import through the real window: the imported ReadMe fills
// the page's boxes as a new form without a file, only after the user agreed to
// discard unsaved work, and a refused file leaves the form as it was.

#include "window_fixture.h"

#include <QAction>
#include <QLineEdit>

#include <fstream>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowImportTest : public QObject {
    Q_OBJECT

private slots:
    void importReplacesTheFormOnlyWhenAllowedAndReadable();
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

QTEST_MAIN(WindowImportTest)
#include "window_import_test.moc"

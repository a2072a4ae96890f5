// The window of an installed program: bin/kelvaro beside share/kelvaro, no
// Templates folder beside the program. The template commands work on the
// user's own folder, filled from the installed set; the guide is the
// installed one.

#include "window_fixture.h"

#include "platform/app_folders.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>

namespace kelvaro::test {
namespace {

namespace fs = std::filesystem;

class InstalledLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void templatesLiveInTheUsersFolder();
};

void InstalledLayoutTest::templatesLiveInTheUsersFolder() {
    TempFolder prefix;
    TempFolder home;
    fs::create_directories(prefix.File("bin"));
    fs::create_directories(prefix.File("share/kelvaro"));
    fs::copy(std::string(KELVARO_SOURCE_DIR) + "/data/Templates",
             prefix.File("share/kelvaro/Templates"), fs::copy_options::recursive);
    std::size_t installedCount = 0;
    for ([[maybe_unused]] const auto& entry :
         fs::directory_iterator(prefix.File("share/kelvaro/Templates"))) {
        ++installedCount;
    }

    const AppFolders folders = LocateAppFolders(
        prefix.File("bin"), FolderEnvironment{home.Path(), "", home.File("run"), ""});
    PrepareAppFolders(folders);
    ScriptedHost host;
    ui::ReadMeForm window(host, folders);
    window.FillAllPages();
    window.show();
    const std::string userTemplates = home.File(".local/share/kelvaro/Templates");
    QCOMPARE(window.session().TemplateFolder, userTemplates);

    // The viewer lists the user's copy of the set: every template but Version.txt.
    auto* load = window.findChild<QPushButton*>(QStringLiteral("CmdLoadTemplate"));
    QVERIFY(load != nullptr);
    QTest::mouseClick(load, Qt::LeftButton);
    auto* list = window.findChild<QListWidget*>(QStringLiteral("TemplateList"));
    QCOMPARE(static_cast<std::size_t>(list->count()), installedCount - 1);
    QVERIFY(host.Messages.empty());

    // Saving a template: the dialog opens in the user's folder, and the file lands there.
    window.session().ws.EditorText = "自分の文章\r\n";
    host.AnswerFile(userTemplates + "/自分の文章.txt");
    auto* save = window.findChild<QPushButton*>(QStringLiteral("CmdTemplate_1"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(host.Messages.empty());
    QCOMPARE(host.FileDialogs.back().InitialFolder, userTemplates);
    QVERIFY(fs::is_regular_file(userTemplates + "/自分の文章.txt"));
    QVERIFY(!fs::exists(prefix.File("share/kelvaro/Templates/自分の文章.txt")));

    // The help menu's guide is the installed one.
    window.findChild<QAction*>(QStringLiteral("MiOnlineHelpPage"))->trigger();
    QCOMPARE(host.OpenedDocuments.back().first,
             prefix.File("bin") + "/../share/doc/kelvaro/guide.html");
}

} // namespace
} // namespace kelvaro::test

QTEST_MAIN(kelvaro::test::InstalledLayoutTest)
#include "installed_layout_test.moc"

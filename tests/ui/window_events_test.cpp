// The window's events reach their commands: what the user types is what the
// commands see, tab clicks refresh the preview each time, the order list and
// the emphasis stay in step, and the file menu keeps the title and the exit
// question honest.

#include "platform/cp932.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <filesystem>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowEventsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedLongTextReachesTheTextFileWithoutSwitchingItems();
    void longTextEditorFollowsTheOptionButtons();
    void renamingAUserItemRenamesItsOrderEntriesOnEachKeystroke();
    void previewTabRefreshesOnEveryClick();
    void browserPreviewEndsInHtmlTextWithTheSource();
    void typedFieldsAndComboChoicesReachTheReadMe();
    void markdownMenuEntriesWriteAndCopyTheMarkdown();
    void markdownPreviewKeepsTheFormsPreviewMode();
    void emphasisFollowsChecksInversionAndTheOptionButtons();
    void orderButtonsMoveTheSelectedEntry();
    void titleAfterNewOpenAndSaveAs();
    void ctrlSOpensSaveAsEvenWithACurrentFile();
    void exitAnsweredNoKeepsTheWindowAndDeletesTheBrowserPage();
    void disabledHelpEntryDoesNothing();
    void assistsFillTheirFields();
    void downFromThePlaceholderTakesTheFirstSuggestion();
    void aTemplateLoadIsOneStepCtrlZUndoes();
    void draggingAnEntryMovesItAsTheArrowButtonsDo();
    void lineBreaksPastedIntoOneLineFieldsBecomeBlanks();
};

namespace {

std::string FileText(const std::string& path) {
    return Cp932ToUtf8(ReadBytes(path));
}

bool IsBold(QWidget* widget) {
    return widget->font().bold();
}

void DragEntry(QListWidget* list, int from, QPoint target) {
    QVERIFY(DragListEntry(list, from, target));
}

// A point on the upper part of row `row`: a drop there puts the entry before it.
QPoint Above(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    return QPoint(rect.center().x(), rect.top() + rect.height() / 4);
}

QStringList Texts(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked
                                              ? QStringLiteral(" [x]")
                                              : QStringLiteral(" [ ]"));
    }
    return texts;
}

} // namespace

void WindowEventsTest::typedLongTextReachesTheTextFileWithoutSwitchingItems() {
    WindowFixture f;
    f.Find<QRadioButton>("OptTopics_5")->click(); // インストール方法
    auto* description = f.Find<QPlainTextEdit>("Description");
    description->setFocus();
    TypeText(description, QStringLiteral("setup.exe を実行"));
    QTest::keyClick(description, Qt::Key_Return);
    TypeText(description, QStringLiteral("done"));

    const std::string path = f.folder.File("ReadMe.txt");
    f.host.AnswerFile(path);
    f.Find<QAction>("MiReadMeText")->trigger();

    const std::string text = FileText(path);
    QVERIFY2(text.find("【インストール方法】\r\nsetup.exe を実行\r\ndone") != std::string::npos,
             text.c_str());
}

void WindowEventsTest::longTextEditorFollowsTheOptionButtons() {
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.ClickTab(1);
    auto* description = f.Find<QPlainTextEdit>("Description");
    auto* first = f.Find<QRadioButton>("OptTopics_0");
    auto* third = f.Find<QRadioButton>("OptTopics_2");
    TypeText(description, QStringLiteral("中身"));
    third->click();
    QCOMPARE(description->toPlainText(), QString());
    TypeText(description, QStringLiteral("特徴の文"));
    // The arrow keys move the current option as the mouse does.
    third->setFocus();
    QTest::keyClick(third, Qt::Key_Left);
    QVERIFY(f.Find<QRadioButton>("OptTopics_1")->isChecked());
    QCOMPARE(description->toPlainText(), QString());
    first->click();
    QCOMPARE(description->toPlainText(), QStringLiteral("中身"));
    third->click();
    QCOMPARE(description->toPlainText(), QStringLiteral("特徴の文"));
    QCOMPARE(f.session().ws.form.LongTexts[0], std::string("中身"));
}

void WindowEventsTest::renamingAUserItemRenamesItsOrderEntriesOnEachKeystroke() {
    WindowFixture f;
    auto* name = f.Find<QLineEdit>("TopicsAdd_2");
    auto* list = f.Find<QListWidget>("SortList");
    const int row = 33; // the entry of 追加3 in the default order
    QCOMPARE(f.session().ws.form.Order[row].Key, std::string("追加3"));
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    QCOMPARE(list->item(row)->text(), QString());
    QTest::keyClick(name, 'A');
    QCOMPARE(list->item(row)->text(), QStringLiteral("A"));
    TypeText(name, QStringLiteral("bc"));
    QCOMPARE(list->item(row)->text(), QStringLiteral("Abc"));
    QCOMPARE(f.session().ws.form.UserNames[2], std::string("Abc"));
    // Only that item's entries change.
    QCOMPARE(list->item(row + 1)->text(), QStringLiteral("ユーザー入力可能4"));
}

void WindowEventsTest::previewTabRefreshesOnEveryClick() {
    WindowFixture f;
    auto* author = f.Find<QLineEdit>("TopicsLineText_0");
    auto* preview = f.Find<QPlainTextEdit>("PreviewText");
    author->setText(QStringLiteral("山田"));
    QVERIFY(preview->toPlainText().isEmpty()); // typing refreshes nothing
    f.ClickTab(5);
    QCOMPARE(f.Find<QTabWidget>("TabSheet")->currentIndex(), 5);
    QVERIFY(preview->toPlainText().contains(QStringLiteral("山田")));

    // A second click on the tab already shown refreshes again.
    author->setText(QStringLiteral("佐藤"));
    f.ClickTab(5);
    QVERIFY(preview->toPlainText().contains(QStringLiteral("佐藤")));

    // Any other tab leaves the preview as it was.
    author->setText(QStringLiteral("鈴木"));
    f.ClickTab(0);
    QVERIFY(f.Find<QWidget>("TabPage_1")->isVisible());
    QVERIFY(!f.Find<QWidget>("TabPage_6")->isVisible());
    QVERIFY(preview->toPlainText().contains(QStringLiteral("佐藤")));
    f.ClickTab(0);
    QVERIFY(preview->toPlainText().contains(QStringLiteral("佐藤")));
    // Reaching the page by keyboard refreshes it as well.
    f.Find<QTabWidget>("TabSheet")->setCurrentIndex(5);
    QVERIFY(preview->toPlainText().contains(QStringLiteral("鈴木")));
}

void WindowEventsTest::browserPreviewEndsInHtmlTextWithTheSource() {
    WindowFixture f;
    f.ClickTab(5);
    f.Find<QRadioButton>("OptPreviewMode_2")->click();
    QVERIFY(f.Find<QRadioButton>("OptPreviewMode_1")->isChecked());
    QVERIFY(!f.Find<QRadioButton>("OptPreviewMode_2")->isChecked());
    auto* preview = f.Find<QPlainTextEdit>("PreviewText");
    QVERIFY(preview->toPlainText().startsWith(QStringLiteral("<!DOCTYPE HTML")));
    const std::string page = f.folder.File("BrowserSample.html");
    QVERIFY(std::filesystem::exists(page));
    QCOMPARE(f.host.OpenedDocuments.size(), std::size_t{1});
    QCOMPARE(f.host.OpenedDocuments[0].first, page);

    f.Find<QRadioButton>("OptPreviewMode_0")->click();
    QVERIFY(preview->toPlainText().startsWith(QStringLiteral("*****")));
}

void WindowEventsTest::typedFieldsAndComboChoicesReachTheReadMe() {
    WindowFixture f;
    TypeText(f.Find<QLineEdit>("TopicsLineText_1"), QStringLiteral("Kelvaro"));
    auto* kind = f.Find<QComboBox>("ComboTopics_0");
    kind->setCurrentIndex(kind->findText(QStringLiteral("フリーウェア(GPL)")));
    auto* language = f.Find<QComboBox>("ComboTopics_1");
    language->lineEdit()->selectAll();
    TypeText(language->lineEdit(), QStringLiteral("C++20"));
    f.Find<QComboBox>("ComboSize")->setCurrentIndex(2);
    TypeText(f.Find<QLineEdit>("TopicsLineText_5"), QStringLiteral("12"));
    f.Find<QListWidget>("SortList")->item(6)->setCheckState(Qt::Checked); // ｱｰｶｲﾌﾞｻｲｽﾞ
    auto* left = f.Find<QLineEdit>("TopicsOtherLeftChar");
    left->setText(QStringLiteral("["));

    f.Find<QAction>("MiReadMeTextClipboard")->trigger();
    QCOMPARE(f.host.ClipboardTexts.size(), std::size_t{1});
    const QString text = Qs(f.host.ClipboardTexts[0]);
    QVERIFY2(text.contains(QStringLiteral("[  ソフト名  】")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Kelvaro")));
    QVERIFY(text.contains(QStringLiteral("フリーウェア(GPL)")));
    QVERIFY(text.contains(QStringLiteral("C++20")));
    QVERIFY(text.contains(QStringLiteral("12MB")));
}

void WindowEventsTest::markdownMenuEntriesWriteAndCopyTheMarkdown() {
    WindowFixture f;
    TypeText(f.Find<QLineEdit>("TopicsLineText_1"), QStringLiteral("Kelvaro"));
    f.session().DialogFileName = f.folder.File("ReadMe.txt");
    const std::string path = f.folder.File("README.md");
    f.host.AnswerFile(path);
    f.Find<QAction>("MiReadMeMarkdown")->trigger();
    QCOMPARE(f.host.FileDialogs.size(), std::size_t{1});
    QCOMPARE(f.host.FileDialogs[0].InitialFileName, path);
    const std::string markdown = ReadBytes(path);
    QVERIFY2(markdown.starts_with("# Kelvaro Ver\n"), markdown.c_str());
    QVERIFY(markdown.find('\r') == std::string::npos);

    f.Find<QAction>("MiReadMeMarkdownClipboard")->trigger();
    QCOMPARE(f.host.ClipboardTexts.size(), std::size_t{1});
    QCOMPARE(f.host.ClipboardTexts[0] + "\n", markdown);

    // The HTML dialog's second filter writes the HTML5 page.
    const std::string page = f.folder.File("ReadMe.html");
    f.host.AnswerFile(page, 1);
    f.Find<QAction>("MiReadMeHTML")->trigger();
    QVERIFY(ReadBytes(page).starts_with("<!DOCTYPE html>\n<html lang=\"ja\">"));
}

void WindowEventsTest::markdownPreviewKeepsTheFormsPreviewMode() {
    WindowFixture f;
    f.ClickTab(5);
    f.Find<QRadioButton>("OptPreviewMode_1")->click();
    f.Find<QRadioButton>("OptPreviewMode_3")->click();
    auto* preview = f.Find<QPlainTextEdit>("PreviewText");
    QVERIFY2(preview->toPlainText().startsWith(QStringLiteral("***\n\n| 項目 | 内容 |")),
             qPrintable(preview->toPlainText()));
    QVERIFY(f.Find<QRadioButton>("OptPreviewMode_3")->isChecked());
    QCOMPARE(f.session().ws.form.PreviewMode, 1);

    // Showing the page again refreshes the Markdown; the choice stays.
    f.ClickTab(0);
    TypeText(f.Find<QLineEdit>("TopicsLineText_0"), QStringLiteral("佐藤"));
    f.ClickTab(5);
    QVERIFY(preview->toPlainText().contains(QStringLiteral("| 作者名 | 佐藤 |")));
    QVERIFY(f.Find<QRadioButton>("OptPreviewMode_3")->isChecked());

    f.Find<QRadioButton>("OptPreviewMode_0")->click();
    QVERIFY(preview->toPlainText().startsWith(QStringLiteral("*****")));
    QCOMPARE(f.session().ws.form.PreviewMode, 0);
}

void WindowEventsTest::emphasisFollowsChecksInversionAndTheOptionButtons() {
    WindowFixture f;
    auto* author = f.Find<QLabel>("TopicsLine_0");        // 作者名, checked by default
    auto* archive = f.Find<QLabel>("TopicsLine_4");       // アーカイブ名, unchecked
    auto* contents = f.Find<QRadioButton>("OptTopics_0"); // アーカイブ内容, checked
    auto* user = f.Find<QLineEdit>("TopicsAdd_0");        // 追加1, unchecked
    QVERIFY(IsBold(author));
    QVERIFY(!IsBold(archive));
    QVERIFY(IsBold(contents));
    QVERIFY(!IsBold(user));

    auto* list = f.Find<QListWidget>("SortList");
    list->item(5)->setCheckState(Qt::Checked);
    QVERIFY(IsBold(archive));
    QVERIFY(f.session().ws.form.Order[5].Checked);
    list->item(17)->setCheckState(Qt::Checked);
    QVERIFY(IsBold(user));

    f.Find<QPushButton>("CmdListAllCheck_2")->click(); // invert
    QVERIFY(!IsBold(author));
    QVERIFY(!IsBold(archive));
    QVERIFY(!IsBold(contents));
    QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
    QCOMPARE(list->item(21)->checkState(), Qt::Checked); // 送金方法 was unchecked
    QVERIFY(IsBold(f.Find<QRadioButton>("OptTopics_1")));

    f.Find<QRadioButton>("OptTopicsOptionBold_1")->click();
    QVERIFY(!IsBold(f.Find<QRadioButton>("OptTopics_1")));
    list->item(1)->setCheckState(Qt::Checked);
    QVERIFY(!IsBold(author)); // no emphasis while it is switched off
    f.Find<QRadioButton>("OptTopicsOptionBold_0")->click();
    QVERIFY(IsBold(author));
    QVERIFY(IsBold(f.Find<QRadioButton>("OptTopics_1")));

    f.Find<QPushButton>("CmdListAllCheck_1")->click(); // uncheck all
    QVERIFY(!IsBold(author));
    f.Find<QPushButton>("CmdListAllCheck_0")->click(); // check all
    QVERIFY(IsBold(archive));
    QVERIFY(IsBold(user));
}

void WindowEventsTest::orderButtonsMoveTheSelectedEntry() {
    WindowFixture f;
    auto* list = f.Find<QListWidget>("SortList");
    auto* up = f.Find<QPushButton>("CmdListUpDown_0");
    auto* down = f.Find<QPushButton>("CmdListUpDown_1");
    up->click(); // nothing selected: nothing moves
    QCOMPARE(list->item(1)->text(), QStringLiteral("作者名"));
    list->setCurrentRow(2); // ソフト名
    QCOMPARE(f.session().ws.Selected, 2);
    up->click();
    QCOMPARE(list->item(1)->text(), QStringLiteral("ソフト名"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("作者名"));
    QCOMPARE(list->currentRow(), 1);
    down->click();
    down->click();
    QCOMPARE(list->item(3)->text(), QStringLiteral("ソフト名"));
    QCOMPARE(list->currentRow(), 3);
    QCOMPARE(f.session().ws.form.Order[3].Key, std::string("ソフト名"));

    // Back to the default order after the question is answered yes.
    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.Find<QPushButton>("CmdListAllCheck_3")->click();
    QCOMPARE(list->item(2)->text(), QStringLiteral("ソフト名"));
    QCOMPARE(f.host.Messages.size(), std::size_t{1});
}

void WindowEventsTest::titleAfterNewOpenAndSaveAs() {
    WindowFixture f;
    TypeText(f.Find<QLineEdit>("TopicsLineText_0"), QStringLiteral("作者A"));
    TypeText(f.Find<QPlainTextEdit>("Description"), QStringLiteral("内容の説明"));
    f.Find<QCheckBox>("TopicsSortCheckSpace")->setChecked(true);

    const std::string path = f.folder.File("mine.ref");
    f.host.AnswerFile(path);
    f.Find<QAction>("MiFileSaveAs")->trigger();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvaro Ver 1.0.0 --- mine.ref"));
    QVERIFY(std::filesystem::exists(path));

    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.Find<QAction>("MiFileNew")->trigger();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvaro Ver 1.0.0 --- "));
    QCOMPARE(f.Find<QLineEdit>("TopicsLineText_0")->text(), QString());
    QVERIFY(f.Find<QPlainTextEdit>("Description")->toPlainText().isEmpty());
    // The skip option is not a default of a new form: untick it by hand.
    f.Find<QCheckBox>("TopicsSortCheckSpace")->setChecked(false);

    // Opening shows what was saved, in the widgets; the untick is unsaved work,
    // so the open asks first.
    f.ClickTab(3);
    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.host.AnswerFile(path);
    f.Find<QAction>("MiFileOpen")->trigger();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvaro Ver 1.0.0 --- mine.ref"));
    QCOMPARE(f.Find<QLineEdit>("TopicsLineText_0")->text(), QStringLiteral("作者A"));
    QCOMPARE(f.Find<QPlainTextEdit>("Description")->toPlainText(), QStringLiteral("内容の説明"));
    QVERIFY(f.Find<QCheckBox>("TopicsSortCheckSpace")->isChecked());
}

void WindowEventsTest::ctrlSOpensSaveAsEvenWithACurrentFile() {
    WindowFixture f;
    const std::string path = f.folder.File("first.ref");
    f.host.AnswerFile(path);
    f.Find<QAction>("MiFileSaveAs")->trigger();
    QCOMPARE(f.host.FileDialogs.size(), std::size_t{1});

    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.host.CancelFile();
    QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.host.FileDialogs.size(), std::size_t{2});
    QCOMPARE(f.host.FileDialogs[1].Kind, FileDialogKind::Save);
    QCOMPARE(f.host.FileDialogs[1].InitialFileName, path);
    QCOMPARE(f.host.LastMessage().Text, std::string("キャンセルされました。"));

    // The plain save entry writes the current file without a dialog.
    f.Find<QAction>("MiFileSave")->trigger();
    QCOMPARE(f.host.FileDialogs.size(), std::size_t{2});
}

void WindowEventsTest::exitAnsweredNoKeepsTheWindowAndDeletesTheBrowserPage() {
    WindowFixture f;
    const std::string page = f.folder.File("BrowserSample.html");
    WriteBytes(page, "<HTML></HTML>");
    f.host.MessageAnswers.push_back(MessageAnswer::No);
    f.Find<QAction>("MiExit")->trigger();
    QVERIFY(f.window->isVisible());
    QVERIFY(!std::filesystem::exists(page));
    QCOMPARE(f.host.LastMessage().Text,
             std::string("終了しますか？\r\n(作業中のデータを保存したい場合は\r\n"
                         "[いいえ]を押してください。)"));

    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    QVERIFY(f.window->close());
    QVERIFY(!f.window->isVisible());
}

void WindowEventsTest::disabledHelpEntryDoesNothing() {
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_F1);
    f.Find<QAction>("MiHelpFile")->trigger();
    QVERIFY(f.host.Messages.empty());
    QVERIFY(f.host.OpenedDocuments.empty());
    QVERIFY(f.host.FileDialogs.empty());

    // The online help next to it does open the guide.
    f.Find<QAction>("MiOnlineHelpPage")->trigger();
    QCOMPARE(f.host.OpenedDocuments.size(), std::size_t{1});
}

void WindowEventsTest::assistsFillTheirFields() {
    WindowFixture f;
    f.host.Today = "2026/12/07";
    auto* date = f.Find<QLineEdit>("TopicsLineText_3");
    f.Find<QPushButton>("CmdGetToday")->click();
    f.Find<QPushButton>("CmdGetToday")->click();
    QCOMPARE(date->text(), QStringLiteral("2026/12/07"));

    f.Find<QLineEdit>("TopicsOtherPauseChar")->setText(QStringLiteral("＝"));
    f.Find<QLineEdit>("TopicsOtherPauseNum")->setText(QStringLiteral("5"));
    f.Find<QPushButton>("CmdGetPauseNum")->click();
    QCOMPARE(f.Find<QLineEdit>("TopicsOtherPauseNum")->text(), QStringLiteral("39"));

    f.Find<QPushButton>("CmdGetInformation")->click();
    QVERIFY(f.Find<QPlainTextEdit>("TopicsOptionInfo")
                ->toPlainText()
                .startsWith(QStringLiteral("OS : ")));

    f.Find<QPushButton>("CmdLoadTemplate")->click();
    auto* templates = f.Find<QListWidget>("TemplateList");
    QVERIFY(templates->count() >= 12);
    QTest::mouseClick(templates->viewport(), Qt::LeftButton, {},
                      templates->visualItemRect(templates->item(0)).center());
    // The viewer's box shows the chosen template (only the viewer's page is
    // hidden, so the click is made on its list as it stands).
    QVERIFY(!f.Find<QPlainTextEdit>("TemplateText")->toPlainText().isEmpty());
}

void WindowEventsTest::downFromThePlaceholderTakesTheFirstSuggestion() {
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto keyIn = [](QComboBox* box, Qt::Key key) {
        box->lineEdit()->setFocus();
        QTest::keyClick(box->lineEdit(), key);
    };
    for (int i = 0; i < 7; ++i) {
        auto* box = f.Find<QComboBox>(("ComboTopics_" + QByteArray::number(i)).constData());
        // Up from the placeholder changes nothing.
        keyIn(box, Qt::Key_Up);
        QCOMPARE(box->currentText(), QStringLiteral("ユーザー入力可能"));
        QCOMPARE(f.session().ws.form.ChoiceValues[static_cast<std::size_t>(i)],
                 std::string("ユーザー入力可能"));
        keyIn(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), box->itemText(0));
        QCOMPARE(Qs(f.session().ws.form.ChoiceValues[static_cast<std::size_t>(i)]),
                 box->itemText(0));
    }
    auto* runtime = f.Find<QComboBox>("ComboTopics_2"); // 必要ﾗﾝﾀｲﾑ
    QCOMPARE(runtime->currentText(), QStringLiteral("必要なし"));
    keyIn(runtime, Qt::Key_Down);
    QCOMPARE(runtime->currentText(), QStringLiteral(".NET Framework"));

    // A new form brings the placeholder back, and Down starts over.
    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.Find<QAction>("MiFileNew")->trigger();
    QCOMPARE(runtime->currentText(), QStringLiteral("ユーザー入力可能"));
    keyIn(runtime, Qt::Key_Down);
    QCOMPARE(runtime->currentText(), QStringLiteral("必要なし"));

    // An opened form's own suggestion is where Down goes on from.
    f.session().ws.form.ChoiceValues[2] = ".NET Framework";
    f.session().Notify(Change::Form);
    keyIn(runtime, Qt::Key_Down);
    QCOMPARE(runtime->currentText(), runtime->itemText(2));
}

void WindowEventsTest::aTemplateLoadIsOneStepCtrlZUndoes() {
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.ClickTab(1);
    auto* description = f.Find<QPlainTextEdit>("Description");
    description->setFocus();
    TypeText(description, QStringLiteral("自分の文章"));
    f.host.AnswerFile(f.folder.File("Templates/免責.txt"));
    f.Find<QPushButton>("CmdTemplate_0")->click();
    const QString loaded = Qs(f.session().ws.EditorText).replace(QStringLiteral("\r\n"), "\n");
    QVERIFY(loaded.size() > 20);
    QCOMPARE(description->toPlainText(), loaded);

    auto key = [description](Qt::Key k, Qt::KeyboardModifiers modifiers) {
        description->setFocus();
        QTest::keyClick(description, k, modifiers);
    };
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(description->toPlainText(), QStringLiteral("自分の文章"));
    // What the box shows is what the next command takes.
    f.Find<QAction>("MiReadMeTextClipboard")->trigger();
    QVERIFY(Qs(f.host.ClipboardTexts.back())
                .contains(QStringLiteral("【アーカイブ内容】\r\n自分の文章")));
    QCOMPARE(f.session().ws.EditorText, std::string("自分の文章"));

    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(description->toPlainText(), loaded);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(description->toPlainText(), QStringLiteral("自分の文章"));
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(description->toPlainText(), loaded);

    // Another item's text starts a history of its own.
    f.Find<QRadioButton>("OptTopics_1")->click();
    f.Find<QRadioButton>("OptTopics_0")->click();
    QCOMPARE(description->toPlainText(), loaded);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(description->toPlainText(), loaded);
}

void WindowEventsTest::draggingAnEntryMovesItAsTheArrowButtonsDo() {
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.ClickTab(2);
    auto* list = f.Find<QListWidget>("SortList");
    auto* archive = f.Find<QLabel>("TopicsLine_4"); // アーカイブ名, unchecked: not bold
    QCOMPARE(list->item(5)->text(), QStringLiteral("アーカイブ名"));

    // The same move made with ▲ three times, in a second window.
    WindowFixture pressed;
    auto* reference = pressed.Find<QListWidget>("SortList");
    reference->setCurrentRow(5);
    for (int i = 0; i < 3; ++i) {
        pressed.Find<QPushButton>("CmdListUpDown_0")->click();
    }

    // アーカイブ名 dragged up onto the upper half of ソフト名 (row 2).
    DragEntry(list, 5, Above(list, 2));
    QCOMPARE(Texts(list), Texts(reference));
    QCOMPARE(f.session().ws.form.Order, pressed.session().ws.form.Order);
    QCOMPARE(list->item(2)->text(), QStringLiteral("アーカイブ名"));
    QCOMPARE(list->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(f.session().ws.form.Order[2].Key, std::string("アーカイブ名"));
    // The moved entry stays selected and the names keep their emphasis.
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(f.session().ws.Selected, 2);
    QVERIFY(!IsBold(archive));
    QVERIFY(IsBold(f.Find<QLabel>("TopicsLine_1")));

    // Down past several entries, onto the lower half of row 7: after it.
    const QRect seventh = list->visualItemRect(list->item(7));
    DragEntry(list, 1, QPoint(seventh.center().x(), seventh.bottom() - seventh.height() / 4));
    QCOMPARE(list->item(7)->text(), QStringLiteral("作者名"));
    QCOMPARE(list->item(7)->checkState(), Qt::Checked);
    QCOMPARE(list->item(1)->text(), QStringLiteral("アーカイブ名"));
    QCOMPARE(list->currentRow(), 7);
    QCOMPARE(f.session().ws.form.Order[7].Key, std::string("作者名"));
    QCOMPARE(list->count(), 39);

    // Dropped where it was: nothing moves.
    const auto before = f.session().ws.form.Order;
    DragEntry(list, 7, Above(list, 8));
    QCOMPARE(f.session().ws.form.Order, before);
    QCOMPARE(list->count(), 39);
    QCOMPARE(list->item(7)->text(), QStringLiteral("作者名"));

    // The ReadMe follows the new order.
    f.Find<QAction>("MiReadMeTextClipboard")->trigger();
    const QString text = Qs(f.host.ClipboardTexts.back());
    QVERIFY(text.indexOf(QStringLiteral("ソフト名")) < text.indexOf(QStringLiteral("作者名")));
}

void WindowEventsTest::lineBreaksPastedIntoOneLineFieldsBecomeBlanks() {
    WindowFixture f;
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto paste = [&](QLineEdit* box, const QString& text) {
        clipboard->setText(text);
        box->setFocus();
        box->selectAll();
        QTest::keySequence(box, QKeySequence::Paste);
    };
    paste(f.Find<QLineEdit>("TopicsAdd_0"), QStringLiteral("a\nb"));
    paste(f.Find<QLineEdit>("TopicsLineText_0"), QStringLiteral("作者\r\n名"));
    paste(f.Find<QLineEdit>("TopicsOtherPauseNum"), QStringLiteral("3\n9"));
    paste(f.Find<QLineEdit>("TopicsHTMLInput_8"), QStringLiteral("color:red;\r\n"));
    paste(f.Find<QComboBox>("ComboTopics_0")->lineEdit(), QStringLiteral("フリー\nウェア"));
    const Form& form = f.session().ws.form;
    QCOMPARE(form.UserNames[0], std::string("a b"));
    QCOMPARE(form.Order[17].Text, std::string("a b")); // its order entry follows
    QCOMPARE(form.LineValues[LineSlot::Author], std::string("作者 名"));
    QCOMPARE(form.PauseCount, std::string("3 9"));
    QCOMPARE(form.HtmlSettings[HtmlSetting::TopicStyle], std::string("color:red; "));
    QCOMPARE(form.ChoiceValues[ChoiceSlot::SoftwareKind], std::string("フリー ウェア"));
    // The boxes show what the form holds, not the pasted line break.
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_0")->text(), QStringLiteral("a b"));
    QCOMPARE(f.Find<QLineEdit>("TopicsLineText_0")->text(), QStringLiteral("作者 名"));
    QCOMPARE(f.Find<QComboBox>("ComboTopics_0")->currentText(), QStringLiteral("フリー ウェア"));

    // Saved and opened again, the form is the same, field for field.
    const Form saved = form;
    const std::string path = f.folder.File("pasted.ref");
    f.host.AnswerFile(path);
    f.Find<QAction>("MiFileSaveAs")->trigger();
    QVERIFY(f.host.Messages.empty());
    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.Find<QAction>("MiFileNew")->trigger();
    f.host.AnswerFile(path);
    f.Find<QAction>("MiFileOpen")->trigger();
    QCOMPARE(f.host.Messages.size(), std::size_t{1}); // the new-form question only
    QCOMPARE(f.session().ws.form, saved);
    QCOMPARE(f.Find<QLineEdit>("TopicsAdd_0")->text(), QStringLiteral("a b"));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kelvaro Ver 1.0.0 --- pasted.ref"));
}

QTEST_MAIN(WindowEventsTest)
#include "window_events_test.moc"

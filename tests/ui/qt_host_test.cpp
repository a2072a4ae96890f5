// The Qt host shows what the core asks for: message boxes with the exact text,
// title, icon, Japanese buttons and default; file dialogs with the titles,
// filter descriptions, folders and options of the request; the font dialog
// with the text colour; the real clipboard; and busy work off the window's
// thread under a dialog that takes no input.

#include "host/busy_work.h"
#include "platform/error.h"
#include "ui/application.h"
#include "ui/font_colour_dialog.h"
#include "ui/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <future>
#include <stdexcept>

using namespace kelvaro;
using namespace kelvaro::ui;

class QtHostTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void yesNoBoxHasJapaneseButtonsAndTheRequestedDefault();
    void okBoxAndIcons();
    void messageAnswersComeFromTheButtonPressed();
    void filterDescriptionsShowExactlyAndPatternsSelect();
    void fileDialogTakesTitleFolderNameAndOptions();
    void chosenFilterIsReportedByItsIndex();
    void fontDialogReportsFontAndColourTogether();
    void clipboardHoldsTheText();
    void busyWorkLetsTheEventLoopRunAndTakesNoInput();
    void busyWorkHandsBackItsResultOrFailure();
};

namespace {

QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) {
        texts << button->text();
    }
    texts.sort();
    return texts;
}

} // namespace

void QtHostTest::yesNoBoxHasJapaneseButtonsAndTheRequestedDefault() {
    MessageRequest request{"一行目\r\n二行目", "Kelvaro Ver 1.0.0", MessageButtons::YesNo,
                           MessageIcon::Exclamation, MessageAnswer::No};
    auto box = MakeMessageBox(request, nullptr);
    QCOMPARE(box->text(), QStringLiteral("一行目\n二行目"));
    QCOMPARE(box->windowTitle(), QStringLiteral("Kelvaro Ver 1.0.0"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(ButtonTexts(*box), (QStringList{"いいえ(&N)", "はい(&Y)"}));
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("いいえ(&N)"));
    // Escape and the close box mean "no", never "yes".
    QCOMPARE(box->escapeButton()->text(), QStringLiteral("いいえ(&N)"));

    request.DefaultButton = MessageAnswer::Yes;
    box = MakeMessageBox(request, nullptr);
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("はい(&Y)"));

    // Three answers: キャンセル is the default and what Escape means.
    request.Buttons = MessageButtons::YesNoCancel;
    request.DefaultButton = MessageAnswer::Cancel;
    box = MakeMessageBox(request, nullptr);
    QCOMPARE(ButtonTexts(*box).size(), 3);
    QVERIFY(ButtonTexts(*box).contains(QStringLiteral("キャンセル")));
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("キャンセル"));
    QCOMPARE(box->escapeButton()->text(), QStringLiteral("キャンセル"));
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QCOMPARE(QtHost().ShowMessage(request), MessageAnswer::Cancel);
}

void QtHostTest::okBoxAndIcons() {
    MessageRequest request{"キャンセルされました。", "Kelvaro", MessageButtons::Ok,
                           MessageIcon::Information, MessageAnswer::Ok};
    auto box = MakeMessageBox(request, nullptr);
    QCOMPARE(ButtonTexts(*box), QStringList{"OK"});
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("OK"));
    QCOMPARE(box->icon(), QMessageBox::Information);
    request.Icon = MessageIcon::Critical;
    QCOMPARE(MakeMessageBox(request, nullptr)->icon(), QMessageBox::Critical);
    request.Icon = MessageIcon::None;
    QCOMPARE(MakeMessageBox(request, nullptr)->icon(), QMessageBox::NoIcon);
    // Rich text in a message is shown as it stands.
    request.Text = "<b>a</b>";
    QCOMPARE(MakeMessageBox(request, nullptr)->textFormat(), Qt::PlainText);
}

void QtHostTest::messageAnswersComeFromTheButtonPressed() {
    QtHost host;
    const MessageRequest question{"終了しますか？", "Kelvaro", MessageButtons::YesNo,
                                  MessageIcon::Exclamation, MessageAnswer::No};
    auto press = [](const QString& caption) {
        QTimer::singleShot(0, [caption] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == caption) {
                    button->click();
                }
            }
        });
    };
    press(QStringLiteral("はい(&Y)"));
    QCOMPARE(host.ShowMessage(question), MessageAnswer::Yes);
    press(QStringLiteral("いいえ(&N)"));
    QCOMPARE(host.ShowMessage(question), MessageAnswer::No);
    // Enter takes the default button.
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    QCOMPARE(host.ShowMessage(question), MessageAnswer::No);
}

void QtHostTest::filterDescriptionsShowExactlyAndPatternsSelect() {
    const std::string filter =
        "HTMLファイル (*.html, *htm)|*.html;*.htm|すべてのファイル (*.*)|*.*";
    QFileDialog dialog;
    FileDialogRequest request;
    request.Kind = FileDialogKind::Save;
    request.Title = "ReadMeファイルの出力先指定";
    request.Filter = filter;
    ConfigureFileDialog(dialog, request);

    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types != nullptr);
    QCOMPARE(types->count(), 2);
    QCOMPARE(types->itemText(0), QStringLiteral("HTMLファイル (*.html, *htm)"));
    QCOMPARE(types->itemText(1), QStringLiteral("すべてのファイル (*.*)"));
    // What the dialog matches with is the pattern half: "*htm" of the
    // description would also take "xhtm", the pattern ".htm" does not.
    QTemporaryDir folder;
    for (const char* name : {"a.html", "b.htm", "c.txt", "xhtm"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    dialog.setDirectory(folder.path());
    auto* model = dialog.findChild<QFileSystemModel*>();
    QVERIFY(model != nullptr);
    auto rows = [&] { return model->rowCount(model->index(folder.path())); };
    QTRY_COMPARE(rows(), 2);
    const QModelIndex root = model->index(folder.path());
    QStringList shown;
    for (int i = 0; i < model->rowCount(root); ++i) {
        shown << model->index(i, 0, root).data().toString();
    }
    shown.sort();
    QCOMPARE(shown, (QStringList{"a.html", "b.htm"}));
}

void QtHostTest::fileDialogTakesTitleFolderNameAndOptions() {
    const QString folder = QDir::tempPath();
    FileDialogRequest request;
    request.Kind = FileDialogKind::Open;
    request.Title = "テンプレートを開く";
    request.Filter = "テンプレート (*.txt)|*.txt|すべてのファイル (*.*)|*.*";
    request.Options.FileMustExist = true;
    request.InitialFolder = folder.toStdString();
    request.InitialFileName = "/elsewhere/last.txt";
    QFileDialog open;
    ConfigureFileDialog(open, request);
    QCOMPARE(open.windowTitle(), QStringLiteral("テンプレートを開く"));
    QCOMPARE(open.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(open.fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(open.directory().absolutePath(), QDir(folder).absolutePath());
    auto* name = open.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    QCOMPARE(name->text(), QStringLiteral("last.txt"));

    // Without a folder of its own the dialog opens where the last file was.
    request.Kind = FileDialogKind::Save;
    request.Options = {};
    request.Options.OverwritePrompt = true;
    request.InitialFolder.clear();
    request.InitialFileName = (folder + QStringLiteral("/ReadMe.txt")).toStdString();
    QFileDialog save;
    ConfigureFileDialog(save, request);
    QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(save.fileMode(), QFileDialog::AnyFile);
    QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(save.directory().absolutePath(), QDir(folder).absolutePath());

    request.Options.OverwritePrompt = false;
    QFileDialog plain;
    ConfigureFileDialog(plain, request);
    QVERIFY(plain.testOption(QFileDialog::DontConfirmOverwrite));
}

void QtHostTest::chosenFilterIsReportedByItsIndex() {
    FileDialogRequest request;
    request.Kind = FileDialogKind::Save;
    request.Filter = "テキストファイル (*.txt)|*.txt|テキストファイル UTF-8 (*.txt)|*.txt|"
                     "すべてのファイル (*.*)|*.*";
    QFileDialog dialog;
    ConfigureFileDialog(dialog, request);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types != nullptr);
    QCOMPARE(types->count(), 3);
    QCOMPARE(types->itemText(1), QStringLiteral("テキストファイル UTF-8 (*.txt)"));
    // The first filter is the one the dialog opens with.
    QCOMPARE(ChosenFilterIndex(dialog, request), 0);
    for (int index : {1, 2, 0}) {
        types->setCurrentIndex(index);
        emit types->activated(index); // as the user's choice in the list
        QCOMPARE(ChosenFilterIndex(dialog, request), index);
    }
    // Filters that are not the request's count as the first.
    FileDialogRequest other = request;
    other.Filter = "HTMLファイル (*.html)|*.html";
    QCOMPARE(ChosenFilterIndex(dialog, other), 0);
}

void QtHostTest::fontDialogReportsFontAndColourTogether() {
    FontChoice preset;
    preset.Font.Name = "Noto Sans Mono CJK JP";
    preset.Font.SizePoints = 12;
    preset.Font.Bold = true;
    preset.TextColour = Colour{0, 0, 128};
    FontColourDialog dialog(preset);
    FontChoice choice = dialog.Choice();
    QCOMPARE(choice.Font.Name, preset.Font.Name);
    QCOMPARE(choice.Font.SizePoints, 12.0);
    QVERIFY(choice.Font.Bold);
    QVERIFY(!choice.Font.Italic);
    QCOMPARE(choice.TextColour, preset.TextColour);

    dialog.SetColour(QColor(255, 0, 0));
    auto* chooser = dialog.findChild<QFontDialog*>(QStringLiteral("FontChooser"));
    QVERIFY(chooser != nullptr);
    // The effects the user ticks come back with the font (the installed CJK
    // font has no italic face, so the dialog offers none).
    QFont marked = chooser->currentFont();
    marked.setStrikeOut(true);
    marked.setUnderline(true);
    chooser->setCurrentFont(marked);
    choice = dialog.Choice();
    QVERIFY(choice.Font.Strikethrough);
    QVERIFY(choice.Font.Underline);
    QCOMPARE(choice.TextColour, (Colour{255, 0, 0}));

    // A family that is not installed opens on the font that stands in for it.
    FontChoice missing;
    missing.Font.Name = "ＭＳ ゴシック";
    SetUpJapanese(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    FontColourDialog substituted(missing);
    QCOMPARE(QString::fromStdString(substituted.Choice().Font.Name),
             QStringLiteral("Noto Sans Mono CJK JP"));

    // Cancelling hands the preset back unchanged.
    QtHost host;
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    QCOMPARE(host.ShowFontDialog(preset), preset);
}

void QtHostTest::clipboardHoldsTheText() {
    QtHost host;
    host.SetClipboardText("【作者名】\r\n山田");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("【作者名】\r\n山田"));
}

// The work waits for a timer of the window's thread, which fires only while
// the event loop runs: work done on the window's thread, or a loop that stood
// still, would wait in vain. Meanwhile a modal busy dialog that shuts for
// neither Escape nor close is all that takes input.
void QtHostTest::busyWorkLetsTheEventLoopRunAndTakesNoInput() {
    QWidget window;
    window.show();
    QtHost host(&window);
    std::promise<void> ticked;
    std::future<void> tick = ticked.get_future();
    QString caption;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            caption = dialog->labelText();
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close();
            stayedOpen = dialog->isVisible();
        }
        ticked.set_value();
    });
    bool tickedDuringWork = false;
    Qt::HANDLE workThread = nullptr;
    host.RunBusy("ReadMeを読み込んでいます...", [&] {
        workThread = QThread::currentThreadId();
        // A bound against a hang, not a measure: the timer fires at once.
        tickedDuringWork = tick.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    });
    QVERIFY(tickedDuringWork);
    QVERIFY(workThread != QThread::currentThreadId());
    QCOMPARE(caption, QStringLiteral("ReadMeを読み込んでいます..."));
    QVERIFY(stayedOpen);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

// What the work returns or throws on its thread comes back to the caller's.
void QtHostTest::busyWorkHandsBackItsResultOrFailure() {
    struct Case {
        const char* What;
        int Fails; // 0: returns, 1: a RuntimeError, 2: another exception
    };
    const Case cases[] = {{"returns", 0}, {"runtime error", 1}, {"other", 2}};
    for (const Case& c : cases) {
        QtHost host;
        int answer = 0;
        int number = 0;
        bool other = false;
        try {
            answer = RunBusyWork(host, "作業中", [&c] {
                if (c.Fails == 1) {
                    throw RuntimeError(ErrorNo::BadFileFormat);
                }
                if (c.Fails == 2) {
                    throw std::logic_error("other");
                }
                return 42;
            });
        } catch (const RuntimeError& e) {
            number = e.Number();
        } catch (const std::logic_error&) {
            other = true;
        }
        QVERIFY2(answer == (c.Fails == 0 ? 42 : 0), c.What);
        QVERIFY2((number == ErrorNo::BadFileFormat) == (c.Fails == 1), c.What);
        QVERIFY2(other == (c.Fails == 2), c.What);
    }
}

QTEST_MAIN(QtHostTest)
#include "qt_host_test.moc"

// The font dialog as a Japanese desktop shows it: Qt's own texts are
// translated, yet the dialog opens on the boxes' family, size, bold and italic
// and gives them back untouched on OK; Escape and Enter answer for the whole
// dialog, not for the chooser inside it.

#include "ui/application.h"
#include "ui/font_colour_dialog.h"
#include "ui/qt_host.h"

#include <QApplication>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kelvaro;
using namespace kelvaro::ui;

class FontColourDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opensOnTheFaceOfTheBoxesInTheJapaneseInterface_data();
    void opensOnTheFaceOfTheBoxesInTheJapaneseInterface();
    void okUntouchedGivesThePresetBackExactly();
    void whatTheUserChangesComesBack();
    void escapeAnywhereCancelsTheWholeDialog();
    void enterAnywhereIsTheOkOfTheWholeDialog();
};

namespace {

QFontDialog* Chooser(const QWidget& dialog) {
    return dialog.findChild<QFontDialog*>(QStringLiteral("FontChooser"));
}

// The chooser's three lists in their order on screen: family, style, size.
QList<QListView*> Lists(const QWidget& dialog) {
    return Chooser(dialog)->findChildren<QListView*>();
}

FontChoice Preset(const char* family, double size, bool bold, bool italic) {
    FontChoice preset;
    preset.Font.Name = family;
    preset.Font.SizePoints = size;
    preset.Font.Bold = bold;
    preset.Font.Italic = italic;
    preset.TextColour = Colour{0, 0, 128};
    return preset;
}

// Opens the dialog through the Qt host as the font command does, lets `act`
// work on it once it is shown, and reports whether it was still open a
// second later (then it is cancelled so the test goes on).
struct Outcome {
    FontChoice Choice;
    bool Stuck = false;
};

Outcome RunDialog(const FontChoice& preset, const std::function<void(FontColourDialog&)>& act) {
    Outcome outcome;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FontColourDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            act(*dialog);
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            outcome.Stuck = true;
            dialog->done(QDialog::Rejected);
        }
    });
    watchdog.start(1000);
    QtHost host;
    outcome.Choice = host.ShowFontDialog(preset);
    return outcome;
}

void ClickOk(FontColourDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isVisible() && button->text().contains(QStringLiteral("OK"))) {
            button->click();
            return;
        }
    }
    QFAIL("the dialog shows no OK button");
}

void ChooseSize(FontColourDialog& dialog, int points) {
    QFontDialog* chooser = Chooser(dialog);
    QFont font = chooser->currentFont();
    font.setPointSize(points);
    chooser->setCurrentFont(font);
}

} // namespace

void FontColourDialogTest::initTestCase() {
    SetUpJapanese(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    // What the dialog has to live with: Qt names styles in Japanese here.
    QCOMPARE(QCoreApplication::translate("QFontDatabase", "Bold"), QStringLiteral("太字"));
}

void FontColourDialogTest::opensOnTheFaceOfTheBoxesInTheJapaneseInterface_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("face");
    QTest::newRow("bold CJK box font") << "Noto Sans Mono CJK JP" << true << false << "Bold";
    QTest::newRow("regular CJK box font") << "Noto Sans Mono CJK JP" << false << false << "Regular";
    QTest::newRow("Book is not the first face") << "DejaVu Sans Mono" << false << false << "Book";
    QTest::newRow("bold oblique") << "DejaVu Sans Mono" << true << true << "Bold Oblique";
    QTest::newRow("oblique") << "DejaVu Sans" << false << true << "Oblique";
}

void FontColourDialogTest::opensOnTheFaceOfTheBoxesInTheJapaneseInterface() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, face);
    const FontChoice preset = Preset(family.toUtf8().constData(), 12, bold, italic);
    FontColourDialog dialog(preset);
    const QList<QListView*> lists = Lists(dialog);
    QCOMPARE(lists.size(), 3);
    QCOMPARE(lists[0]->currentIndex().data().toString(), family);
    QCOMPARE(lists[1]->currentIndex().data().toString(), face);
    QCOMPARE(lists[2]->currentIndex().data().toString(), QStringLiteral("12"));
    const FontChoice choice = dialog.Choice();
    QCOMPARE(choice.Font.Bold, bold);
    QCOMPARE(choice.Font.Italic, italic);
    QCOMPARE(choice.Font, preset.Font);
}

void FontColourDialogTest::okUntouchedGivesThePresetBackExactly() {
    // Through the host, with the OK button: a bold box font stays bold, a
    // size the chooser cannot show stays what it was.
    for (const FontChoice& preset :
         {Preset("Noto Sans Mono CJK JP", 9, true, false),
          Preset("DejaVu Sans Mono", 10.5, false, false), Preset("DejaVu Sans", 11, true, true)}) {
        const Outcome outcome = RunDialog(preset, ClickOk);
        QVERIFY(!outcome.Stuck);
        QCOMPARE(outcome.Choice, preset);
    }
    // A family without an italic face cannot show the slant; untouched, the
    // boxes keep it.
    const FontChoice slanted = Preset("Noto Sans Mono CJK JP", 9, false, true);
    QCOMPARE(RunDialog(slanted, ClickOk).Choice, slanted);
}

void FontColourDialogTest::whatTheUserChangesComesBack() {
    const FontChoice preset = Preset("DejaVu Sans Mono", 10.5, false, false);
    Outcome outcome = RunDialog(preset, [](FontColourDialog& dialog) {
        ChooseSize(dialog, 14);
        ClickOk(dialog);
    });
    QCOMPARE(outcome.Choice.Font.SizePoints, 14.0);
    QCOMPARE(outcome.Choice.Font.Name, preset.Font.Name);

    outcome = RunDialog(preset, [](FontColourDialog& dialog) {
        // The user picks the bold face in the style list.
        QListView* styles = Lists(dialog)[1];
        const QModelIndexList bold =
            styles->model()->match(styles->model()->index(0, 0), Qt::DisplayRole,
                                   QStringLiteral("Bold"), 1, Qt::MatchExactly);
        QCOMPARE(bold.size(), 1);
        QTest::mouseClick(styles->viewport(), Qt::LeftButton, {},
                          styles->visualRect(bold[0]).center());
        ClickOk(dialog);
    });
    QVERIFY(outcome.Choice.Font.Bold);
    QVERIFY(!outcome.Choice.Font.Italic);
    QCOMPARE(outcome.Choice.Font.SizePoints, 10.5);
}

void FontColourDialogTest::escapeAnywhereCancelsTheWholeDialog() {
    const FontChoice preset = Preset("DejaVu Sans Mono", 10, true, false);
    // Escape in the family list, where the dialog opens, and in the size box.
    for (int target : {0, 2}) {
        const Outcome outcome = RunDialog(preset, [target](FontColourDialog& dialog) {
            ChooseSize(dialog, 20);
            QWidget* box = target == 0 ? static_cast<QWidget*>(Lists(dialog)[0])
                                       : Chooser(dialog)->findChildren<QLineEdit*>()[2];
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QVERIFY2(!outcome.Stuck, "Escape left the dialog open");
        QCOMPARE(outcome.Choice, preset);
    }
}

void FontColourDialogTest::enterAnywhereIsTheOkOfTheWholeDialog() {
    const FontChoice preset = Preset("DejaVu Sans Mono", 10, false, false);
    // Enter in the family list (the family box hands its focus to it), in the
    // style list and in the size box.
    for (int target : {0, 1, 2}) {
        const Outcome outcome = RunDialog(preset, [target](FontColourDialog& dialog) {
            ChooseSize(dialog, 16);
            QWidget* box =
                target == 2 ? static_cast<QWidget*>(Chooser(dialog)->findChildren<QLineEdit*>()[2])
                            : Lists(dialog)[target];
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY2(!outcome.Stuck, "Enter left the dialog open");
        QCOMPARE(outcome.Choice.Font.SizePoints, 16.0);
        QCOMPARE(outcome.Choice.Font.Name, preset.Font.Name);
    }
}

QTEST_MAIN(FontColourDialogTest)
#include "font_colour_dialog_test.moc"

// The three large text boxes on light and dark desktop themes: the default
// text colour is the theme's, so the text can be read on either; a colour the
// user picks is drawn as picked; a light theme looks as it always has.

#include "ui/font_colour_dialog.h"
#include "window_fixture.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowThemeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void defaultTextIsReadableOnADarkTheme();
    void aPickedColourIsDrawnAsPickedUntilTheDefaultFont();
    void lightThemeKeepsBlackTextAndTheButtonFace();
    void aThemeChangedWhileRunningReachesTheBoxes();
    void fontDialogShowsTheDefaultAsTheThemeColourAndKeepsIt();

private:
    QPalette light_;
};

namespace {

QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(48, 47, 46));
    dark.setColor(QPalette::WindowText, QColor(255, 255, 255));
    dark.setColor(QPalette::Base, QColor(34, 32, 32));
    dark.setColor(QPalette::AlternateBase, QColor(61, 61, 61));
    dark.setColor(QPalette::Text, QColor(231, 228, 224));
    dark.setColor(QPalette::Button, QColor(66, 66, 69));
    dark.setColor(QPalette::ButtonText, QColor(255, 255, 255));
    return dark;
}

// Pixels of the box's text area that differ from its background by at least
// 100 of 255 grey levels: text a reader can make out. Black text on a dark
// background leaves none.
int ReadablePixels(QPlainTextEdit* box) {
    const QImage image = box->viewport()->grab().toImage();
    const int background = qGray(box->palette().color(QPalette::Base).rgb());
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (std::abs(qGray(image.pixel(x, y)) - background) >= 100) {
                ++count;
            }
        }
    }
    return count;
}

const char* const kBoxes[] = {"Description", "PreviewText", "TemplateText"};

// Text in each of the three boxes, put there the way the user does it.
void FillTheBoxes(WindowFixture& f) {
    f.ClickTab(1);
    TypeText(f.Find<QPlainTextEdit>("Description"), QStringLiteral("読めますか ABC"));
    f.ClickTab(5); // the preview is made as its page opens
    f.ClickTab(7);
    f.Find<QPushButton>("CmdLoadTemplate")->click();
    auto* templates = f.Find<QListWidget>("TemplateList");
    QTest::mouseClick(templates->viewport(), Qt::LeftButton, {},
                      templates->visualItemRect(templates->item(0)).center());
}

int ReadablePixelsOnItsPage(WindowFixture& f, const char* name) {
    auto* box = f.Find<QPlainTextEdit>(name);
    const int page = QByteArray(name) == "Description"   ? 1
                     : QByteArray(name) == "PreviewText" ? 5
                                                         : 7;
    f.ClickTab(page);
    return ReadablePixels(box);
}

} // namespace

void WindowThemeTest::initTestCase() {
    light_ = QApplication::palette();
}

void WindowThemeTest::cleanup() {
    QApplication::setPalette(light_);
    QCoreApplication::processEvents();
}

void WindowThemeTest::defaultTextIsReadableOnADarkTheme() {
    QApplication::setPalette(DarkPalette());
    WindowFixture f;
    FillTheBoxes(f);
    for (const char* name : kBoxes) {
        auto* box = f.Find<QPlainTextEdit>(name);
        QVERIFY2(!box->toPlainText().isEmpty(), name);
        QCOMPARE(box->palette().color(QPalette::Text), DarkPalette().color(QPalette::Text));
        QVERIFY2(ReadablePixelsOnItsPage(f, name) > 50, name);
    }
    // The read-only boxes keep the button face behind their text.
    auto* preview = f.Find<QPlainTextEdit>("PreviewText");
    QCOMPARE(preview->palette().color(QPalette::Base), DarkPalette().color(QPalette::Button));
}

void WindowThemeTest::aPickedColourIsDrawnAsPickedUntilTheDefaultFont() {
    QApplication::setPalette(DarkPalette());
    WindowFixture f;
    FillTheBoxes(f);
    // Black picked by hand is black, even where it cannot be read.
    f.host.FontAnswers.push_back(FontChoice{FontSpec{}, Colour{0, 0, 0}, true});
    f.Find<QPushButton>("CmdFontSelect_0")->click();
    for (const char* name : kBoxes) {
        QCOMPARE(f.Find<QPlainTextEdit>(name)->palette().color(QPalette::Text), QColor(0, 0, 0));
    }

    f.host.FontAnswers.push_back(FontChoice{FontSpec{}, Colour{255, 64, 0}, true});
    f.Find<QPushButton>("CmdFontSelect_0")->click();
    QCOMPARE(f.Find<QPlainTextEdit>("TemplateText")->palette().color(QPalette::Text),
             QColor(255, 64, 0));

    // "デフォルトのフォント" brings the theme's colour back.
    f.host.MessageAnswers.push_back(MessageAnswer::Yes);
    f.Find<QPushButton>("CmdFontSelect_1")->click();
    for (const char* name : kBoxes) {
        QCOMPARE(f.Find<QPlainTextEdit>(name)->palette().color(QPalette::Text),
                 DarkPalette().color(QPalette::Text));
    }
    QVERIFY(ReadablePixelsOnItsPage(f, "Description") > 50);
}

void WindowThemeTest::lightThemeKeepsBlackTextAndTheButtonFace() {
    WindowFixture f;
    FillTheBoxes(f);
    for (const char* name : kBoxes) {
        auto* box = f.Find<QPlainTextEdit>(name);
        QCOMPARE(box->palette().color(QPalette::Text), QColor(0, 0, 0));
        QVERIFY2(ReadablePixelsOnItsPage(f, name) > 50, name);
    }
    auto* info = f.Find<QPlainTextEdit>("TopicsOptionInfo");
    QCOMPARE(info->palette().color(QPalette::Base), light_.color(QPalette::Button));
    QCOMPARE(f.Find<QPlainTextEdit>("Description")->palette().color(QPalette::Base),
             light_.color(QPalette::Base));
}

void WindowThemeTest::aThemeChangedWhileRunningReachesTheBoxes() {
    WindowFixture f;
    FillTheBoxes(f);
    QApplication::setPalette(DarkPalette());
    QCoreApplication::processEvents(); // Qt hands a new palette round as posted events
    for (const char* name : kBoxes) {
        QCOMPARE(f.Find<QPlainTextEdit>(name)->palette().color(QPalette::Text),
                 DarkPalette().color(QPalette::Text));
    }
    for (const char* name : {"PreviewText", "TemplateText", "TopicsOptionInfo"}) {
        QCOMPARE(f.Find<QPlainTextEdit>(name)->palette().color(QPalette::Base),
                 DarkPalette().color(QPalette::Button));
    }
    QVERIFY(ReadablePixelsOnItsPage(f, "TemplateText") > 50);
}

void WindowThemeTest::fontDialogShowsTheDefaultAsTheThemeColourAndKeepsIt() {
    QApplication::setPalette(DarkPalette());
    ui::FontColourDialog untouched{FontChoice{}};
    auto* colour = untouched.findChild<QPushButton*>(QStringLiteral("ColourButton"));
    QVERIFY(colour != nullptr);
    QCOMPARE(colour->text(), DarkPalette().color(QPalette::Text).name().toUpper());
    // OK without touching the colour: still the default, not a picked grey.
    QCOMPARE(untouched.Choice().TextColour, Colour{});
    QVERIFY(!untouched.Choice().ColourPicked);

    ui::FontColourDialog picked{FontChoice{}};
    picked.SetColour(QColor(0, 0, 0));
    QVERIFY(picked.Choice().ColourPicked);
    QCOMPARE(picked.Choice().TextColour, Colour{});
}

QTEST_MAIN(WindowThemeTest)
#include "window_theme_test.moc"

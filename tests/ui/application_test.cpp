// What the program sets up before its window: Japanese in Qt's own dialogs,
// the box font drawn with an installed Japanese monospaced font, and a clear
// word instead of Qt's abort when there is no display.

#include "ui/application.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

class ApplicationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void standardButtonsSpeakJapanese();
    void boxFontIsAnInstalledJapaneseMonospacedFont();
    void missingDisplayIsSaidInOneLine();
};

void ApplicationTest::standardButtonsSpeakJapanese() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    kelvaro::ui::SetUpJapanese(*app);
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

void ApplicationTest::boxFontIsAnInstalledJapaneseMonospacedFont() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    kelvaro::ui::SetUpJapanese(*app);
    QVERIFY(QFont::substitutes(QStringLiteral("ＭＳ ゴシック"))
                .contains(QStringLiteral("Noto Sans Mono CJK JP"), Qt::CaseInsensitive));
    const QFontInfo drawn(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    QVERIFY2(QFontDatabase::families().contains(drawn.family()), qPrintable(drawn.family()));
    QVERIFY2(drawn.family().contains(QStringLiteral("CJK")) ||
                 drawn.family().contains(QStringLiteral("Gothic")),
             qPrintable(drawn.family()));
    // Half-width letters share one width, so columns in the boxes line up
    // (CJK monospaced fonts are two-width, which Qt does not call fixed pitch).
    const QFontMetrics metrics(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')),
             metrics.horizontalAdvance(QLatin1Char('W')));
}

void ApplicationTest::missingDisplayIsSaidInOneLine() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    const std::string message = kelvaro::ui::MissingDisplayMessage();
    QVERIFY(message.find("no display") != std::string::npos);
    QVERIFY(message.find("xvfb-run") != std::string::npos);
    QVERIFY(message.find('\n') == std::string::npos);
    qputenv("DISPLAY", ":99");
    QVERIFY(kelvaro::ui::MissingDisplayMessage().empty());
    qunsetenv("DISPLAY");
    qputenv("QT_QPA_PLATFORM", platform);
    QVERIFY(kelvaro::ui::MissingDisplayMessage().empty());
}

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"

#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>

namespace kelvaro::ui {
namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

std::string MissingDisplayMessage() {
    if (Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY")) {
        return {};
    }
    return "kelvaro: there is no display to open the window on (neither DISPLAY nor "
           "WAYLAND_DISPLAY is set); without a desktop, run it under Xvfb: xvfb-run -a kelvaro";
}

void SetUpJapanese(QApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_ja", "qt_ja"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), folder)) {
            QApplication::installTranslator(translator);
        } else {
            delete translator;
        }
    }
    // The real font first where it is installed, then the Japanese monospaced
    // fonts of free desktops.
    QFont::insertSubstitutions(
        QStringLiteral("ＭＳ ゴシック"),
        {QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans Mono CJK JP"),
         QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic")});
}

} // namespace kelvaro::ui

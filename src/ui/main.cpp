// kelvaro: the desktop program.

#include "platform/file_io.h"
#include "ui/application.h"
#include "ui/qt_host.h"
#include "ui/read_me_form.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Qt aborts without a display; say so in words a person can act on.
    const std::string missing = kelvaro::ui::MissingDisplayMessage();
    if (!missing.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvaro"));
    kelvaro::ui::SetUpJapanese(app);

    kelvaro::ui::QtHost host;
    kelvaro::ui::ReadMeForm window(host, kelvaro::ProgramFolder());
    host.SetWindow(&window);
    window.show();
    return QApplication::exec();
}

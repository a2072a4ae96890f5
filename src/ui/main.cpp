// kelvaro: the desktop program.

#include "platform/version.h"
#include "ui/application.h"
#include "ui/command_line.h"
#include "ui/qt_host.h"
#include "ui/read_me_form.h"
#include "ui/recovery_guard.h"
#include "window/start_up.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using kelvaro::ui::WindowArguments;
    const WindowArguments args =
        kelvaro::ui::ParseWindowArguments(std::vector<std::string>(argv, argv + argc));
    switch (args.What) {
    case WindowArguments::Action::Help:
        std::printf("%s", kelvaro::ui::WindowHelpText().c_str());
        return 0;
    case WindowArguments::Action::Version:
        std::printf("kelvaro %s\n", kelvaro::ProgramVersion);
        return 0;
    case WindowArguments::Action::UsageError:
        std::fprintf(stderr, "kelvaro: %s\n%s\n",
                     args.Problem.In(kelvaro::EnvironmentLanguage()).c_str(),
                     kelvaro::ui::WindowUsageLine().c_str());
        return 2;
    case WindowArguments::Action::Run:
        break;
    }

    // Qt aborts without a display; say so in words a person can act on.
    const std::string missing = kelvaro::ui::MissingDisplayMessage();
    if (!missing.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
        return 1;
    }

    const kelvaro::AppFolders folders = kelvaro::PrepareWindowFolders(std::cerr);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvaro"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.kelvaro.Kelvaro"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/48x48/io.github.kelvaro.Kelvaro.png"));
    icon.addFile(QStringLiteral(":/icons/128x128/io.github.kelvaro.Kelvaro.png"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("io.github.kelvaro.Kelvaro"), icon));
    kelvaro::ui::SetUpJapanese(app);

    kelvaro::ui::QtHost host;
    kelvaro::ui::ReadMeForm window(host, folders);
    host.SetWindow(&window);
    const std::unique_ptr<kelvaro::RecoveryJournal> journal =
        kelvaro::OpenRunJournal(folders, std::cerr);
    window.controller().SetJournal(journal.get(), folders.StateFolder);
    kelvaro::ui::RecoveryGuard guard(window);

    window.show();
    kelvaro::StartShownWindow(window.controller(), folders, args.FormFile);
    // An end asked for during the start-up came before the event loop that
    // it would have ended.
    const int status = window.controller().Ending() ? 0 : QApplication::exec();
    // The exit question answered はい: nothing is left to offer next time.
    window.controller().Finish();
    return status;
}

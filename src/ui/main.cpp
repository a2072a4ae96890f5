// kelvaro: the desktop program.

#include "platform/app_folders.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/private_folder.h"
#include "platform/version.h"
#include "recovery/journal.h"
#include "session/failure.h"
#include "session/session.h"
#include "ui/application.h"
#include "ui/command_line.h"
#include "ui/qt_host.h"
#include "ui/read_me_form.h"
#include "ui/recovery_guard.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
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
        std::fprintf(stderr, "kelvaro: %s\n%s\n", args.Problem.c_str(),
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

    const kelvaro::AppFolders folders =
        kelvaro::LocateAppFolders(kelvaro::ProgramFolder(), kelvaro::CurrentFolderEnvironment());
    try {
        kelvaro::PrepareAppFolders(folders);
    } catch (const kelvaro::RuntimeError& error) {
        // The window still opens; the template commands report the folder as
        // they find it.
        std::fprintf(stderr, "kelvaro: could not prepare %s (Error No.%d)\n", error.what(),
                     error.Number());
    }

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
    // The recovery journal of this run, in the user's private state folder;
    // without that folder the window runs without one.
    std::unique_ptr<kelvaro::RecoveryJournal> journal;
    try {
        kelvaro::MakePrivateFolder(folders.StateFolder);
        journal = std::make_unique<kelvaro::RecoveryJournal>(folders.StateFolder);
    } catch (const kelvaro::RuntimeError& error) {
        std::fprintf(stderr, "kelvaro: no recovery journal: %s (Error No.%d)\n", error.what(),
                     error.Number());
    }
    if (journal && !journal->Active()) {
        std::fprintf(stderr, "kelvaro: no recovery journal: %s cannot be written\n",
                     folders.StateFolder.c_str());
    }
    kelvaro::ui::RecoveryGuard guard(window, journal.get());

    window.show();
    // A write in place that a kill cut short is finished before anything else
    // can read or write that file, and the user is told.
    kelvaro::RunReportingFailures(window.session(), [&] {
        for (const kelvaro::ResumedWrite& resumed :
             kelvaro::FinishInterruptedWrites(folders.StateFolder)) {
            kelvaro::ShowInformation(window.session(), kelvaro::ResumedWriteText(resumed));
        }
    });
    if (journal) {
        kelvaro::OfferLeftJournals(window.session(), *journal);
    }
    if (!args.FormFile.empty()) {
        window.OpenFormFile(args.FormFile);
    }
    const int status = QApplication::exec();
    // The exit question answered はい: nothing is left to offer next time.
    if (journal && !guard.KeepsJournal()) {
        journal->Discard();
    }
    return status;
}

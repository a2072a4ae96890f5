#include "window/start_up.h"

#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/private_folder.h"
#include "session/failure.h"

namespace kelvaro {

AppFolders PrepareWindowFolders(std::ostream& err) {
    AppFolders folders = LocateAppFolders(ProgramFolder(), CurrentFolderEnvironment());
    try {
        PrepareAppFolders(folders);
    } catch (const RuntimeError& error) {
        err << "kelvaro: could not prepare " << error.what() << " (Error No." << error.Number()
            << ")\n";
    }
    return folders;
}

std::unique_ptr<RecoveryJournal> OpenRunJournal(const AppFolders& folders, std::ostream& err) {
    std::unique_ptr<RecoveryJournal> journal;
    try {
        MakePrivateFolder(folders.StateFolder);
        journal = std::make_unique<RecoveryJournal>(folders.StateFolder);
    } catch (const RuntimeError& error) {
        err << "kelvaro: no recovery journal: " << error.what() << " (Error No." << error.Number()
            << ")\n";
    }
    if (journal && !journal->Active()) {
        err << "kelvaro: no recovery journal: " << folders.StateFolder << " cannot be written\n";
    }
    return journal;
}

void StartShownWindow(WindowController& controller, const AppFolders& folders,
                      const std::string& formFile) {
    controller.Run([&] {
        for (const ResumedWrite& resumed : FinishInterruptedWrites(folders.StateFolder)) {
            ShowInformation(controller.session(), ResumedWriteText(resumed));
        }
    });
    controller.OfferLeftJournals();
    if (!formFile.empty() && !controller.Ending()) {
        controller.OpenFormFile(formFile);
    }
}

} // namespace kelvaro

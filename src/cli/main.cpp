#include "cli/compose_command.h"
#include "platform/app_folders.h"
#include "platform/command_line.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/standard_output.h"
#include "session/failure.h"

#include <ostream>

int main(int argc, char** argv) {
    // Before any file is opened, so that none becomes standard output.
    kelvaro::TakeClosedStandardDescriptors();
    // A write in place that a kill cut short is finished first, and said so.
    try {
        const kelvaro::AppFolders folders = kelvaro::LocateAppFolders(
            kelvaro::ProgramFolder(), kelvaro::CurrentFolderEnvironment());
        for (const kelvaro::ResumedWrite& resumed :
             kelvaro::FinishInterruptedWrites(folders.StateFolder)) {
            kelvaro::StandardError()
                << "kelvaro-compose: " << kelvaro::ResumedWriteText(resumed) << '\n';
        }
    } catch (const kelvaro::RuntimeError& error) {
        kelvaro::StandardError() << "kelvaro-compose: " << error.what() << '\n';
    }
    const int status =
        kelvaro::cli::RunCompose(kelvaro::ProgramArguments(argc, argv), kelvaro::StandardError());
    kelvaro::StandardError().flush();
    return status;
}

#include "cli/compose_command.h"
#include "cli/messages.h"
#include "platform/app_folders.h"
#include "platform/command_line.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/standard_output.h"

#include <ostream>

int main(int argc, char** argv) {
    // Before any file is opened, so that none becomes standard output.
    kelvaro::TakeClosedStandardDescriptors();
    // A write in place that a kill cut short is finished first, and said so.
    const kelvaro::cli::Messages say(kelvaro::StandardError(), kelvaro::EnvironmentLanguage());
    try {
        const kelvaro::AppFolders folders = kelvaro::LocateAppFolders(
            kelvaro::ProgramFolder(), kelvaro::CurrentFolderEnvironment());
        for (const kelvaro::ResumedWrite& resumed :
             kelvaro::FinishInterruptedWrites(folders.StateFolder)) {
            say.Say(kelvaro::cli::ResumedWriteWords(resumed));
        }
    } catch (const kelvaro::RuntimeError& error) {
        say.Say(kelvaro::cli::FailureLine(error, say.In()));
    }
    const int status =
        kelvaro::cli::RunCompose(kelvaro::ProgramArguments(argc, argv), kelvaro::StandardError());
    kelvaro::StandardError().flush();
    return status;
}

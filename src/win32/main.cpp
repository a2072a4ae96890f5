// Kelvaro.exe: the desktop program on Windows.

#include "win32/main_window.h"
#include "win32/wide_text.h"
#include "win32/win32_host.h"
#include "window/start_up.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <sstream>
#include <string>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int show) {
    // The form file Explorer or the command line names (Kelvaro.exe file.ref).
    std::string formFile;
    int count = 0;
    if (LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count > 1) {
            formFile = kelvaro::win32::Narrow(args[1]);
        }
        LocalFree(args);
    }
    // A GUI program has no console: what the start-up reports goes nowhere.
    std::ostringstream err;
    const kelvaro::AppFolders folders = kelvaro::PrepareWindowFolders(err);

    kelvaro::win32::Win32Host host;
    kelvaro::win32::MainWindow window(host, folders);
    host.SetOwner(window.Handle());
    const std::unique_ptr<kelvaro::RecoveryJournal> journal = kelvaro::OpenRunJournal(folders, err);
    window.controller().SetJournal(journal.get(), folders.StateFolder);
    // A restart for updates starts the program again, which offers the journal.
    RegisterApplicationRestart(L"", 0);

    ShowWindow(window.Handle(), show);
    UpdateWindow(window.Handle());
    kelvaro::StartShownWindow(window.controller(), folders, formFile);
    // An end asked for during the start-up came before the message loop.
    const int status = window.controller().Ending() ? 0 : window.RunMessageLoop();
    // The exit question answered はい: nothing is left to offer next time.
    window.controller().Finish();
    return status;
}

#pragma once

// The start-up every window shares, around what only its toolkit does (making
// the application and the window, showing it, running its event loop):
//
//   folders = PrepareWindowFolders(err);
//   journal = OpenRunJournal(folders, err);        then the window is made
//   controller.SetJournal(journal.get(), ...);     and shown
//   StartShownWindow(controller, folders, file);
//   if (!controller.Ending()) run the event loop;
//   controller.Finish();

#include "platform/app_folders.h"
#include "recovery/journal.h"
#include "window/controller.h"

#include <memory>
#include <ostream>
#include <string>

namespace kelvaro {

// The program's folders, made ready; a folder that cannot be prepared is said
// on `err`, and the window opens all the same (the template commands report
// the folder as they find it).
AppFolders PrepareWindowFolders(std::ostream& err);

// The recovery journal of this run, in the user's private state folder; null
// when there is no such folder (said on `err`). The window runs without one.
std::unique_ptr<RecoveryJournal> OpenRunJournal(const AppFolders& folders, std::ostream& err);

// Once the window is shown: a write in place that a kill cut short is finished
// before anything else can read or write that file (and the user is told), the
// journals of ended programs are offered, and `formFile` (may be "") opens.
void StartShownWindow(WindowController& controller, const AppFolders& folders,
                      const std::string& formFile);

} // namespace kelvaro

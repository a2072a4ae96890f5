#pragma once

// The life of the one form: start-up, the file menu, the end of the program and
// the window title.

#include "session/session.h"

#include <string>

namespace kelvaro {

void StartUp(Session& s);
void NewForm(Session& s);
void OpenForm(Session& s);
// Opens the form file at `path` as OpenForm does with the file its dialog chose
// (the command line, a file dropped on the window).
void OpenFormPath(Session& s, const std::string& path);
void SaveForm(Session& s);
void SaveFormAs(Session& s);
// Asks before the window closes; true: close. Deletes the browser page whatever
// the answer.
bool ConfirmClose(Session& s);
void UpdateWindowTitle(Session& s);

} // namespace kelvaro

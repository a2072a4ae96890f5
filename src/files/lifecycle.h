#pragma once

// The life of the one form: start-up, the file menu, the end of the program and
// the window title.

#include "session/session.h"

namespace kelvaro {

void StartUp(Session& s);
void NewForm(Session& s);
void OpenForm(Session& s);
void SaveForm(Session& s);
void SaveFormAs(Session& s);
// Asks before the window closes; true: close. Deletes the browser page whatever
// the answer.
bool ConfirmClose(Session& s);
void UpdateWindowTitle(Session& s);

} // namespace kelvaro

#pragma once

// The window's command that brings a ReadMe back into a form.

#include "session/session.h"

#include <string>

namespace kelvaro {

// Asks for a ReadMe (*.txt;*.md;*.html;*.htm), reads it and, when that worked,
// replaces the form by the imported one as a new form without a current file;
// a failure leaves the form as it was. Then shows the report's summary and puts
// the whole report into the information box (Session::InformationText), where
// the window shows it.
void ImportReadMe(Session& s);

// The same for a file already chosen (a test, a future drop on the window).
void ImportReadMePath(Session& s, const std::string& path);

} // namespace kelvaro

#pragma once

// Templates: ready-made texts for the long-text editor, kept as CP932 text
// files in the Templates folder beside the program.

#include "session/session.h"

namespace kelvaro {

// Replaces the long-text editor's text with a chosen template.
void LoadTemplate(Session& s);
// Writes the long-text editor's text to a chosen template file.
void SaveTemplate(Session& s);

} // namespace kelvaro

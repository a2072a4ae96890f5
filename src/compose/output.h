#pragma once

// Every ReadMe goes out through GenerateReadMe: into a file, the preview box,
// the clipboard or the browser page. Failures are shown to the user here; the
// caller never sees one.

#include "session/session.h"

namespace kelvaro {

enum class OutputMode {
    TextFile = 0,
    HtmlFile = 1,
    TextPreview = 2,
    HtmlPreview = 3,
    TextClipboard = 4,
    HtmlClipboard = 5,
    HtmlBrowser = 6,
};

bool IsHtmlMode(OutputMode mode);

void GenerateReadMe(Session& s, OutputMode mode);

// Brings the preview page up to date for the current preview mode; after a
// browser preview the mode returns to "HTML(Text)" and the box shows the source.
void RefreshPreview(Session& s);

// The user chose a preview mode option (0 Text, 1 HTML(Text), 2 HTML(Browser)).
void SelectPreviewMode(Session& s, int mode);

} // namespace kelvaro

#pragma once

// Every ReadMe goes out through GenerateReadMe: into a file, the preview box,
// the clipboard or the browser page. Failures are shown to the user here; the
// caller never sees one.

#include "compose/readme_format.h"
#include "session/session.h"

#include <cstddef>

namespace kelvaro {

// Where a ReadMe goes.
enum class OutputDestination {
    File,      // a file the save dialog asks for
    Clipboard, // the clipboard's text
    Preview,   // the preview page's box
    Browser,   // the browser page, opened on the desktop
};

// A ReadMe output: any format into any destination.
struct OutputMode {
    ReadMeFormat Format = ReadMeFormat::Text;
    OutputDestination Destination = OutputDestination::File;
};

// A file asks for its destination first. The text and HTML dialogs offer
// their UTF-8 variant as a second filter: choosing it writes the text ReadMe
// in UTF-8 or the HTML5 page. The Markdown dialog proposes README.md in the
// folder of the file last chosen.
void GenerateReadMe(Session& s, OutputMode mode);

// The options of the preview page: the form's three preview modes (0 Text,
// 1 HTML(Text), 2 HTML(Browser)) and Markdown, which only this session shows.
inline constexpr int MarkdownPreviewOption = 3;
inline constexpr std::size_t PreviewOptionCount = 4;

// The option the preview page shows as chosen.
int PreviewOption(const Session& s);

// Brings the preview page up to date for the current preview option; after a
// browser preview the mode returns to "HTML(Text)" and the box shows the source.
void RefreshPreview(Session& s);

// The user chose a preview option (0 Text, 1 HTML(Text), 2 HTML(Browser),
// 3 Markdown). Markdown leaves the form's preview mode as it was.
void SelectPreviewMode(Session& s, int mode);

} // namespace kelvaro

#pragma once

// Every ReadMe goes out through GenerateReadMe: into a file, the preview box,
// the clipboard or the browser page. Failures are shown to the user here; the
// caller never sees one.

#include "session/session.h"

#include <cstddef>

namespace kelvaro {

enum class OutputMode {
    TextFile = 0,
    HtmlFile = 1,
    TextPreview = 2,
    HtmlPreview = 3,
    TextClipboard = 4,
    HtmlClipboard = 5,
    HtmlBrowser = 6,
    MarkdownFile = 7,
    MarkdownPreview = 8,
    MarkdownClipboard = 9,
    // The HTML5 page (UTF-8) where users look for the HTML: the clipboard and
    // the browser, beside the HTML 4.01 ways above.
    Html5Clipboard = 10,
    Html5Browser = 11,
};

// True for the modes that write the HTML 4.01 page.
bool IsHtmlMode(OutputMode mode);

// The file modes ask for the destination first. The text and HTML dialogs
// offer their UTF-8 variant as a second filter: choosing it writes the text
// ReadMe in UTF-8 or the HTML5 page. The Markdown dialog proposes README.md in
// the folder of the file last chosen.
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

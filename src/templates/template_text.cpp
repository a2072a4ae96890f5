#include "templates/template_text_internal.h"

namespace kelvaro {

std::string WithLineEnds(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16 + 2);
    bool lineOpen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += "\r\n";
            lineOpen = false;
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            continue;
        }
        lines += text[i];
        lineOpen = true;
    }
    // The end of the file ends the last line too.
    if (lineOpen) {
        lines += "\r\n";
    }
    return lines;
}

} // namespace kelvaro

#include "platform/text.h"
#include "templates/template_text_internal.h"

namespace kelvaro {

std::string WithLineEnds(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16 + 2);
    // Every line gets CR LF; the end of the file ends the last line too, and
    // after a final line end there is no line left to end.
    ForEachLineEndedByCr(text, [&](std::string_view line) {
        const bool last = line.data() + line.size() == text.data() + text.size();
        lines += line;
        if (!last || !line.empty()) {
            lines += "\r\n";
        }
    });
    return lines;
}

} // namespace kelvaro

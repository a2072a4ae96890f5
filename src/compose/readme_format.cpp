#include "compose/readme_format.h"

namespace kelvaro {

ReadMeEncoding FileEncoding(ReadMeFormat format, ReadMeEncoding requested) {
    switch (format) {
    case ReadMeFormat::Text:
    case ReadMeFormat::Html:
        return requested;
    case ReadMeFormat::Markdown:
    case ReadMeFormat::Html5:
        return ReadMeEncoding::Utf8;
    }
    return requested;
}

std::string_view LineEnd(ReadMeFormat format) {
    switch (format) {
    case ReadMeFormat::Text:
    case ReadMeFormat::Html:
        return "\r\n";
    case ReadMeFormat::Markdown:
    case ReadMeFormat::Html5:
        return "\n";
    }
    return "\r\n";
}

} // namespace kelvaro

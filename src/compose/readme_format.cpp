#include "compose/readme_format.h"

namespace kelvaro {

const ReadMeFormatRow& FormatRow(ReadMeFormat format) {
    for (const ReadMeFormatRow& row : ReadMeFormats) {
        if (row.Format == format) {
            return row;
        }
    }
    return ReadMeFormats.front();
}

std::optional<ReadMeFormat> FormatNamed(std::string_view word) {
    for (const ReadMeFormatRow& row : ReadMeFormats) {
        if (row.Word == word) {
            return row.Format;
        }
    }
    return std::nullopt;
}

ReadMeEncoding FileEncoding(ReadMeFormat format, ReadMeEncoding requested) {
    return FormatRow(format).AlwaysUtf8 ? ReadMeEncoding::Utf8 : requested;
}

std::string_view LineEnd(ReadMeFormat format) {
    return FormatRow(format).LineEnd;
}

} // namespace kelvaro

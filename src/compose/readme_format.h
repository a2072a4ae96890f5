#pragma once

// The formats a ReadMe is composed in and the encodings its file can take.

#include <string_view>

namespace kelvaro {

enum class ReadMeFormat {
    Text,     // plain text with CR LF, as the program has always written it
    Html,     // an HTML 4.01 Transitional page with CR LF, as it has always written it
    Markdown, // GitHub Flavored Markdown with LF, for a README.md; always UTF-8
    Html5,    // an HTML5 page for today's browsers with LF; always UTF-8
};

enum class ReadMeEncoding {
    Cp932, // Shift_JIS as Windows has it: the program's own files
    Utf8,  // without a byte order mark
};

// The encoding a file of the format is written in: Markdown and the HTML5 page
// are UTF-8 whatever was asked for.
ReadMeEncoding FileEncoding(ReadMeFormat format, ReadMeEncoding requested);

// "\r\n" for the text and the HTML 4.01 page, "\n" for the others.
std::string_view LineEnd(ReadMeFormat format);

} // namespace kelvaro

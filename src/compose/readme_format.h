#pragma once

// The formats a ReadMe is composed in and the encodings its file can take.

#include <array>
#include <optional>
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

// What tells the formats apart outside their layouts: the word the command
// line names it by, its line end and whether its files are always UTF-8.
struct ReadMeFormatRow {
    ReadMeFormat Format;
    std::string_view Word;
    std::string_view LineEnd;
    bool AlwaysUtf8;
};

inline constexpr std::array<ReadMeFormatRow, 4> ReadMeFormats{{
    {ReadMeFormat::Text, "text", "\r\n", false},
    {ReadMeFormat::Html, "html", "\r\n", false},
    {ReadMeFormat::Markdown, "markdown", "\n", true},
    {ReadMeFormat::Html5, "html5", "\n", true},
}};

const ReadMeFormatRow& FormatRow(ReadMeFormat format);

// The format a command-line word names, exactly as the table spells it.
std::optional<ReadMeFormat> FormatNamed(std::string_view word);

// The encoding a file of the format is written in: Markdown and the HTML5 page
// are UTF-8 whatever was asked for.
ReadMeEncoding FileEncoding(ReadMeFormat format, ReadMeEncoding requested);

// "\r\n" for the text and the HTML 4.01 page, "\n" for the others.
std::string_view LineEnd(ReadMeFormat format);

} // namespace kelvaro

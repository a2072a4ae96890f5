#pragma once

// The formats a ReadMe is composed in.

namespace kelvaro {

enum class ReadMeFormat {
    Text, // plain text with CR LF, as the program has always written it
    Html, // an HTML 4.01 Transitional page with CR LF, as it has always written it
};

} // namespace kelvaro

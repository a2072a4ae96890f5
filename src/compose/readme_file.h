#pragma once

// What a ReadMe file holds: the composed string in the file's encoding followed
// by one line end of its format. This is the one place where a composed ReadMe
// becomes the bytes of a file, for the file outputs, the browser page and the
// command line alike.
//
// In CP932, characters without a CP932 form become "?" in text and a numeric
// character reference in HTML, where the browser still shows them. In UTF-8 every
// character is kept, line ends stay as the format has them, there is no byte
// order mark, and the HTML 4.01 page declares UTF-8 instead of Shift_JIS.
// Markdown and the HTML5 page are always UTF-8 (see FileEncoding).

#include "compose/readme_format.h"

#include <string>
#include <string_view>

namespace kelvaro {

std::string ReadMeFileBytes(std::string_view composed, ReadMeFormat format,
                            ReadMeEncoding encoding = ReadMeEncoding::Cp932);

} // namespace kelvaro

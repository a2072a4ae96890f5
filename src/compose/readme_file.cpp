#include "compose/readme_file.h"

#include "platform/cp932.h"

namespace kelvaro {

std::string ReadMeFileBytes(std::string_view composed, ReadMeFormat format) {
    std::string bytes =
        Utf8ToCp932(composed, format == ReadMeFormat::Text ? Unmappable::Question
                                                           : Unmappable::NumericReference);
    bytes += "\r\n";
    return bytes;
}

} // namespace kelvaro

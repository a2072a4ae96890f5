#include "compose/readme_file.h"

#include "platform/cp932.h"

namespace kelvaro {

std::string ReadMeFileBytes(std::string_view composed, bool isHtml) {
    std::string bytes =
        Utf8ToCp932(composed, isHtml ? Unmappable::NumericReference : Unmappable::Question);
    bytes += "\r\n";
    return bytes;
}

} // namespace kelvaro

#include "compose/readme_file.h"

#include "platform/cp932.h"

namespace kelvaro {

std::string ReadMeFileBytes(std::string_view composed, ReadMeFormat format,
                            ReadMeEncoding encoding) {
    std::string bytes;
    if (FileEncoding(format, encoding) == ReadMeEncoding::Cp932) {
        bytes = Utf8ToCp932(composed, format == ReadMeFormat::Text ? Unmappable::Question
                                                                   : Unmappable::NumericReference);
    } else {
        bytes.reserve(composed.size() + 2);
        bytes = composed;
    }
    bytes += LineEnd(format);
    return bytes;
}

} // namespace kelvaro

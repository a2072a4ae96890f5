#include "compose/readme_file.h"

#include "platform/cp932.h"

namespace kelvaro {

std::string ReadMeFileBytes(std::string_view composed, bool isHtml) {
    std::string bytes =
        Utf8ToCp932(composed, isHtml ? Unmappable::NumericReference : Unmappable::Question);
    bytes += "\r\n";
    return bytes;
}

std::string UnexpectedErrorText(int errorNumber) {
    return "Error No." + std::to_string(errorNumber) +
           "\r\n予期しないエラーです。\r\n製作者にErrorNumberを知らせてください。";
}

} // namespace kelvaro

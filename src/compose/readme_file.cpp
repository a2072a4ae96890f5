#include "compose/readme_file.h"

#include "compose/readme_layout_internal.h"
#include "platform/cp932.h"

namespace kelvaro {
namespace {

// The HTML 4.01 page declares Shift_JIS in its third line; written as UTF-8 it
// has to say so, or a browser reads every Japanese character wrong. The line
// comes before anything of the form's, so it is found where the layout wrote it.
std::string WithUtf8Declaration(std::string_view page) {
    const std::string shiftJis = Html401CharsetLine("Shift_JIS");
    const std::string_view start = Html401PageStart();
    if (!page.starts_with(start) ||
        page.substr(start.size()).substr(0, shiftJis.size()) != shiftJis) {
        return std::string(page);
    }
    std::string bytes;
    bytes.reserve(page.size() + 8);
    bytes += start;
    bytes += Html401CharsetLine("UTF-8");
    bytes += page.substr(start.size() + shiftJis.size());
    return bytes;
}

} // namespace

std::string ReadMeFileBytes(std::string_view composed, ReadMeFormat format,
                            ReadMeEncoding encoding) {
    std::string bytes;
    if (FileEncoding(format, encoding) == ReadMeEncoding::Cp932) {
        bytes = Utf8ToCp932(composed, format == ReadMeFormat::Text ? Unmappable::Question
                                                                   : Unmappable::NumericReference);
    } else if (format == ReadMeFormat::Html) {
        bytes = WithUtf8Declaration(composed);
    } else {
        bytes.reserve(composed.size() + 2);
        bytes = composed;
    }
    bytes += LineEnd(format);
    return bytes;
}

} // namespace kelvaro

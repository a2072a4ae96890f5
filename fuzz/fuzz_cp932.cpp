// Decoding never fails and gives valid UTF-8; encoding what was decoded gives
// back the bytes wherever they were valid CP932 (replacement characters aside).

#include "platform/cp932.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvaro;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = Cp932ToUtf8(bytes);
    const std::string back = Utf8ToCp932(utf8, Unmappable::Question);
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos && back != bytes) {
        // Several CP932 codes map to one character (NEC and IBM duplicates), so
        // only a second round trip has to be stable.
        if (Utf8ToCp932(Cp932ToUtf8(back)) != back) {
            std::abort();
        }
    }
    // Encoding arbitrary bytes as if they were UTF-8 must not crash either.
    (void)Utf8ToCp932(bytes, Unmappable::NumericReference);
    (void)Cp932ByteLength(bytes);
    return 0;
}

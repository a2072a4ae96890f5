// The separator count reader gives a number or the overflow error, nothing else.

#include "compose/pause_line.h"
#include "platform/error.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvaro;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        std::int32_t n = ReadRepeatCount(text);
        std::string line = BuildPauseLine("ab", text);
        if (n <= 0 ? !line.empty() : line.size() != 2 * static_cast<std::size_t>(n)) {
            std::abort();
        }
    } catch (const RuntimeError& e) {
        if (e.Number() != ErrorNo::Overflow && e.Number() != ErrorNo::OutOfMemory) {
            std::abort();
        }
    }
    return 0;
}

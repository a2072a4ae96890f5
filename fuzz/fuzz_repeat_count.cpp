// The separator count reader gives a number or the overflow error, nothing else;
// blanks anywhere do not change the number; the separator line is the characters
// repeated that many times, or the length bound's failure.

#include "compose/pause_line.h"
#include "platform/error.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace kelvaro;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// The count as a number, or the error number it fails with.
long long CountOrError(const std::string& text) {
    try {
        return ReadRepeatCount(text);
    } catch (const RuntimeError& e) {
        if (e.Number() != ErrorNo::Overflow) {
            Fail("the count failed with a number other than overflow");
        }
        return -(1LL << 40);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the separator characters, the rest is the count.
    static const char* const kChars[] = {"*", "ab", "＝", "-=", ""};
    const std::string chars = size == 0 ? "*" : kChars[data[0] % 5];
    const std::string text(reinterpret_cast<const char*>(data) + (size == 0 ? 0 : 1),
                           size == 0 ? 0 : size - 1);

    const long long count = CountOrError(text);
    std::string unblanked;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            unblanked += c;
        }
    }
    if (CountOrError(unblanked) != count) {
        Fail("blanks changed the count");
    }
    const double leading = ReadLeadingNumber(text);
    if (count != -(1LL << 40) && static_cast<double>(count) != std::nearbyint(leading)) {
        Fail("the count is not the leading number rounded");
    }

    try {
        const std::string line = BuildPauseLine(chars, text);
        const std::size_t expected =
            count <= 0 ? 0 : chars.size() * static_cast<std::size_t>(count);
        if (line.size() != expected) {
            Fail("the separator line is not the characters repeated count times");
        }
        if (CharacterCount(line) > MaxPauseLineLength) {
            Fail("a separator line longer than the bound");
        }
    } catch (const RuntimeError& e) {
        if (e.Number() == ErrorNo::Overflow) {
            if (count != -(1LL << 40)) {
                Fail("overflow for a count that reads");
            }
        } else if (e.Number() != ErrorNo::OutOfMemory ||
                   CharacterCount(chars) * static_cast<std::size_t>(count) <= MaxPauseLineLength) {
            Fail("the length bound failed for a line within it");
        }
    }
    return 0;
}

#pragma once

// glibc's "CP932" converter, used as the program used it before it had its own
// table, to hold the codec against: the tests and the fuzzer compare the two.
// Only where there is an iconv (not in a Windows build): KELVARO_HAVE_ICONV.

#if __has_include(<iconv.h>)
#include "platform/cp932.h"
#include "platform/text.h"

#include <cerrno>
#include <iconv.h>
#include <string>
#include <string_view>

#define KELVARO_HAVE_ICONV 1

namespace kelvaro::test {

struct Converted {
    std::string Text;
    bool Whole = true; // nothing failed
};

// glibc's converter used as the program used it: a character it cannot write
// becomes "?" (or its reference) and is skipped as DecodeUtf8At reads it; a
// byte it cannot read becomes U+FFFD.
class Glibc {
public:
    Glibc(const char* to, const char* from)
        : cd_(iconv_open(to, from)), reading_(std::string_view(from) == "CP932") {}
    ~Glibc() { iconv_close(cd_); }
    Glibc(const Glibc&) = delete;
    Glibc& operator=(const Glibc&) = delete;

    Converted operator()(std::string_view in, Unmappable mode = Unmappable::Question) {
        Converted result;
        char buffer[4096];
        while (!in.empty()) {
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            result.Text.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in.remove_prefix(in.size() - inLeft);
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG && !in.empty()) {
                result.Whole = false;
                const Utf8Char c = DecodeUtf8At(in, 0);
                result.Text += reading_ ? "\xEF\xBF\xBD"
                               : mode == Unmappable::Question
                                   ? "?"
                                   : "&#" + std::to_string(c.CodePoint) + ";";
                in.remove_prefix(reading_ ? 1 : c.Length);
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return result;
    }

private:
    iconv_t cd_;
    bool reading_;
};

} // namespace kelvaro::test
#endif

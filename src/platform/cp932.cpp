#include "platform/cp932.h"

#include "platform/error.h"

#include <cerrno>
#include <iconv.h>

namespace kelvaro {
namespace {

// One iconv conversion descriptor for the life of a call; iconv_t is not
// thread-safe to share, and opening one is cheap next to the conversion itself.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw RuntimeError(ErrorNo::DeviceIo, "iconv cannot convert between UTF-8 and CP932");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false with `in` at the offending byte
    // when it meets a sequence it cannot convert.
    bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[16384];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            char* inPtr = const_cast<char*>(in);
            std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            int error = errno;
            in = inPtr;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc != static_cast<std::size_t>(-1)) {
                continue;
            }
            if (error == E2BIG) {
                continue;
            }
            iconv(cd_, nullptr, nullptr, nullptr, nullptr); // reset the shift state
            return false;
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence starting at `s` and its code point; a malformed
// sequence counts as one byte with code point U+FFFD.
std::size_t DecodeUtf8(const unsigned char* s, std::size_t left, char32_t& cp) {
    unsigned char b = s[0];
    std::size_t len = b < 0x80           ? 1
                      : (b >> 5) == 0x6  ? 2
                      : (b >> 4) == 0xE  ? 3
                      : (b >> 3) == 0x1E ? 4
                                         : 0;
    if (len == 0 || len > left) {
        cp = 0xFFFD;
        return 1;
    }
    char32_t value = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            cp = 0xFFFD;
            return 1;
        }
        value = (value << 6) | (s[i] & 0x3F);
    }
    cp = value;
    return len;
}

} // namespace

std::string Utf8ToCp932(std::string_view utf8, Unmappable mode) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!converter.Run(in, left, out)) {
        char32_t cp = 0;
        std::size_t skip = DecodeUtf8(reinterpret_cast<const unsigned char*>(in), left, cp);
        if (mode == Unmappable::NumericReference) {
            out += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
        } else {
            out += '?';
        }
        in += skip;
        left -= skip;
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    out.reserve(cp932.size() + cp932.size() / 2);
    const char* in = cp932.data();
    std::size_t left = cp932.size();
    while (!converter.Run(in, left, out)) {
        out += "\xEF\xBF\xBD";
        ++in;
        --left;
    }
    return out;
}

std::size_t Cp932ByteLength(std::string_view utf8) {
    return Utf8ToCp932(utf8, Unmappable::Question).size();
}

bool IsCp932Representable(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    return converter.Run(in, left, out);
}

} // namespace kelvaro

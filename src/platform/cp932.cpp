#include "platform/cp932.h"

#include "platform/error.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <unordered_map>
#include <utility>

namespace kelvaro {

// One iconv conversion descriptor for the life of a call or a builder; iconv_t
// is not thread-safe to share, and opening one is cheap next to the conversion.
class Cp932Builder::Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw RuntimeError(ErrorNo::DeviceIo,
                               FailurePlace{{}, "Shift_JIS への文字コードの変換が使えません"},
                               "iconv cannot convert between UTF-8 and CP932");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can, appending to `out`; returns false with `in` at
    // the offending byte when it meets a sequence it cannot convert.
    //
    // iconv writes straight into `out`. Each call that stops for want of room
    // makes glibc throw away and redo part of its work, so the room doubles
    // with every such stop, up to 1 MiB: with a small fixed buffer a large text
    // converts at half the speed. The room starts small because it is filled
    // with zeros before iconv writes into it.
    //
    // The input goes to iconv in a window that starts small and doubles with
    // every call that converts all of it. glibc converts in two steps, and when
    // the second meets a character without a CP932 form, what the first did past
    // it is thrown away: given all the input at once, a text full of emoji would
    // cost kilobytes of conversion for every one of them.
    bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
        constexpr std::size_t MaxRoom = std::size_t{1} << 20;
        std::size_t room = 256;
        std::size_t window = 64;
        while (inLeft > 0) {
            const std::size_t given = std::min(window, inLeft);
            // One byte of either encoding becomes at most three of the other.
            room = std::min(room, 3 * given + 16);
            const std::size_t used = out.size();
            // What the caller reserved is used up before the string grows, so a
            // good reserve is never doubled for the last piece.
            const std::size_t spare = out.capacity() - used;
            if (spare < room && spare >= 4096) {
                room = spare;
            }
            out.resize(used + room);
            char* outPtr = out.data() + used;
            std::size_t outLeft = room;
            char* inPtr = const_cast<char*>(in);
            std::size_t givenLeft = given;
            std::size_t rc = iconv(cd_, &inPtr, &givenLeft, &outPtr, &outLeft);
            int error = errno;
            in = inPtr;
            inLeft -= given - givenLeft;
            out.resize(used + room - outLeft);
            if (rc != static_cast<std::size_t>(-1)) {
                window *= 2;
                continue;
            }
            if (error == E2BIG) {
                room = std::min(2 * room, MaxRoom);
                continue;
            }
            if (error == EINVAL && inLeft > givenLeft) {
                // The window ended inside a character that the input goes on to
                // complete.
                window *= 2;
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

namespace {

using Converter = Cp932Builder::Converter;

// Length of the UTF-8 sequence starting at text[i] and its code point, as the
// converter gets past a character it could not take: a sequence shaped like a
// character counts whole, a broken one as one byte with code point U+FFFD.
std::size_t CharacterAt(std::string_view text, std::size_t i, char32_t& cp) {
    const Utf8Char c = DecodeUtf8At(text, i);
    cp = c.CodePoint;
    return c.Length;
}

} // namespace

Cp932Builder::Cp932Builder(Unmappable mode)
    : converter_(std::make_unique<Converter>("CP932", "UTF-8")), mode_(mode) {}

Cp932Builder::~Cp932Builder() = default;

void Cp932Builder::Reserve(std::size_t bytes) {
    out_.reserve(bytes);
}

void Cp932Builder::Append(std::string_view utf8) {
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (!converter_->Run(in, left, out_)) {
        char32_t cp = 0;
        std::size_t skip = CharacterAt(std::string_view(in, left), 0, cp);
        if (mode_ == Unmappable::NumericReference) {
            out_ += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
        } else {
            out_ += '?';
        }
        in += skip;
        left -= skip;
    }
}

std::string Cp932Builder::Take() {
    return std::exchange(out_, std::string());
}

std::string Utf8ToCp932(std::string_view utf8, Unmappable mode) {
    Cp932Builder builder(mode);
    builder.Reserve(utf8.size());
    builder.Append(utf8);
    return builder.Take();
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

namespace kelvaro {

bool RoundTripsThroughCp932(std::string_view utf8) {
    return Cp932ToUtf8(Utf8ToCp932(utf8, Unmappable::Question)) == utf8;
}

std::vector<LossyCharacter> FindLossyCharacters(std::string_view utf8, std::size_t limit) {
    std::vector<LossyCharacter> found;
    // The whole text first: most texts come back whole, and then no character
    // needs a conversion of its own.
    if (limit == 0 || RoundTripsThroughCp932(utf8)) {
        return found;
    }
    // What each character gives back, worked out once per character: CP932
    // has no shift state, so a character converts alone as it does in a text.
    std::unordered_map<char32_t, std::string> givesBack;
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (bytes[pos] < 0x80) {
            ++pos; // ASCII maps to itself
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = CharacterAt(utf8, pos, cp);
        // A byte that starts no character of its own stands for U+FFFD.
        const std::string character = cp == 0xFFFD && length == 1
                                          ? std::string("\xEF\xBF\xBD")
                                          : std::string(utf8.substr(pos, length));
        pos += length;
        auto [it, fresh] = givesBack.try_emplace(cp);
        if (fresh) {
            std::string back = Cp932ToUtf8(Utf8ToCp932(character, Unmappable::Question));
            it->second = back == character ? std::string() : std::move(back);
            if (!it->second.empty()) {
                found.push_back(LossyCharacter{character, it->second});
                if (found.size() == limit) {
                    return found;
                }
            }
        }
    }
    return found;
}

} // namespace kelvaro

#include "platform/standard_output.h"

#include <streambuf>
#include <string>

namespace kelvaro {
namespace {

// Gathers a line, so that a message written in pieces reaches a console in one
// write and is converted there whole, never split inside a character.
class StandardErrorBuffer : public std::streambuf {
public:
    ~StandardErrorBuffer() override { Flush(); }
    StandardErrorBuffer() = default;
    StandardErrorBuffer(const StandardErrorBuffer&) = delete;
    StandardErrorBuffer& operator=(const StandardErrorBuffer&) = delete;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        line_.push_back(traits_type::to_char_type(c));
        if (c == '\n') {
            Flush();
        }
        return c;
    }
    int sync() override {
        Flush();
        return 0;
    }

private:
    void Flush() {
        if (!line_.empty()) {
            WriteStandardError(line_);
            line_.clear();
        }
    }

    std::string line_;
};

} // namespace

std::ostream& StandardError() {
    static StandardErrorBuffer buffer;
    static std::ostream stream(&buffer);
    return stream;
}

} // namespace kelvaro

#include "bench/bench_cases.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/defaults.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kelvaro::bench {

Workspace BigWorkspace(std::size_t bytesPerText, std::size_t extraEntries) {
    Workspace ws = FreshWorkspace();
    // A realistic mix: Japanese prose with ASCII words and line breaks.
    const std::string line =
        "インストールは、アーカイブを任意のフォルダに展開するだけです。Setup.exe v1.0\r\n";
    for (auto& text : ws.form.LongTexts) {
        text.clear();
        while (text.size() + line.size() <= bytesPerText) {
            text += line;
        }
    }
    for (std::size_t i = 0; i < extraEntries; ++i) {
        const char* key = i % 3 == 0 ? "追加3" : i % 3 == 1 ? "作者名" : "区切り線";
        ws.form.Order.push_back(OrderEntry{key, key, i % 2 == 0});
    }
    return ws;
}

std::string AllLongTexts(const Form& form) {
    std::string all;
    for (const auto& text : form.LongTexts) {
        all += text;
    }
    return all;
}

namespace {

// One iconv call over the whole input into a buffer of `outputSize` bytes,
// allocated for it and not filled in first.
Converted RunIconv(const char* to, const char* from, const std::string& input,
                   std::size_t outputSize) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv_open");
    }
    auto out = std::make_unique_for_overwrite<char[]>(outputSize);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* outPtr = out.get();
    std::size_t outLeft = outputSize;
    std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0) {
        throw std::runtime_error("iconv stopped part way; the baseline would be short");
    }
    return Converted{std::move(out), outputSize - outLeft};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

} // namespace

// One byte of either encoding becomes at most three of the other.
std::size_t EncodedSize(const std::string& utf8) {
    return RunIconv("CP932", "UTF-8", utf8, 3 * utf8.size() + 16).Size;
}
std::size_t DecodedSize(const std::string& cp932) {
    return RunIconv("UTF-8", "CP932", cp932, 3 * cp932.size() + 16).Size;
}
Converted IconvEncode(const std::string& utf8, std::size_t size) {
    return RunIconv("CP932", "UTF-8", utf8, size);
}
Converted IconvDecode(const std::string& cp932, std::size_t size) {
    return RunIconv("UTF-8", "CP932", cp932, size);
}
Converted IconvUtf8(const std::string& utf8) {
    return RunIconv("UTF-8", "UTF-8", utf8, utf8.size());
}

void PlainWrite(const std::string& path, std::string_view bytes) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.Get() < 0) {
        throw std::runtime_error("open " + path);
    }
    while (!bytes.empty()) {
        ssize_t n = ::write(fd.Get(), bytes.data(), bytes.size());
        if (n <= 0) {
            throw std::runtime_error("write " + path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // Every save of the program is synced before it counts as done; a baseline
    // without it would measure the page cache, not the disk.
    if (::fsync(fd.Get()) != 0) {
        throw std::runtime_error("fsync " + path);
    }
}

std::string PlainRead(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0) {
        throw std::runtime_error("open " + path);
    }
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            throw std::runtime_error("read " + path);
        }
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

std::size_t KeyPass(const Form& form, const std::string& key) {
    std::size_t matches = 0;
    for (const auto& entry : form.Order) {
        matches += entry.Key == key ? 1 : 0;
    }
    return matches;
}

std::size_t ComposeAndEncode(const Form& form, ReadMeFormat format, ReadMeEncoding encoding) {
    return ReadMeFileBytes(ComposeReadMe(form, format), format, encoding).size();
}

std::string TempPath(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/kelvaro-bench-" +
           std::to_string(::getpid()) + "-" + name;
}

} // namespace kelvaro::bench

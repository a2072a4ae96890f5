#include "bench/bench_cases.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "settings/defaults.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iconv.h>
#include <stdexcept>
#include <unistd.h>

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

std::string RunIconv(const char* to, const char* from, const std::string& input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv_open");
    }
    std::string out(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::string IconvEncode(const std::string& utf8) {
    return RunIconv("CP932", "UTF-8", utf8);
}
std::string IconvDecode(const std::string& cp932) {
    return RunIconv("UTF-8", "CP932", cp932);
}

void PlainWrite(const std::string& path, const std::string& bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        throw std::runtime_error("open " + path);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ::close(fd);
            throw std::runtime_error("write");
        }
        done += static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
}

std::string PlainRead(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        throw std::runtime_error("open " + path);
    }
    std::string bytes;
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::size_t KeyPass(const Form& form, const std::string& key) {
    std::size_t matches = 0;
    for (const auto& entry : form.Order) {
        matches += entry.Key == key ? 1 : 0;
    }
    return matches;
}

std::size_t ComposeAndEncode(const Form& form, bool html) {
    return ReadMeFileBytes(ComposeReadMe(form, html), html).size();
}

std::string TempPath(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/kelvaro-bench-" +
           std::to_string(::getpid()) + "-" + name;
}

} // namespace kelvaro::bench

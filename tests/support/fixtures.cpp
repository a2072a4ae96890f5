#include "support/fixtures.h"

#include "model/defaults.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kelvaro::test {

std::vector<std::string> NamedChanges(const std::string& question) {
    std::vector<std::string> named;
    std::istringstream lines(question);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with("・") || line == "ほかにもあります。") {
            named.push_back(line);
        }
    }
    return named;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Form FormWith(std::initializer_list<std::string> keys) {
    Form form = FreshWorkspace().form;
    form.Order.clear();
    for (const auto& key : keys) {
        form.Order.push_back(OrderEntry{key, key, true});
    }
    return form;
}

namespace {

// The core's paths are UTF-8; a narrow path given to a stream would be read
// in the ANSI code page on Windows.
std::filesystem::path Utf8Path(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

} // namespace

std::string ReadBytes(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFixture(const std::string& name) {
    return ReadBytes(std::string(KELVARO_TEST_DATA) + "/" + name);
}

std::string ErrorLines(int number) {
    return "Error No." + std::to_string(number) +
           "\r\n予期しないエラーです。\r\n製作者にErrorNumberを知らせてください。";
}

std::string FirstLines(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t line = 0; line < count; ++line) {
        end = text.find("\r\n", end);
        if (end == std::string::npos) {
            return text;
        }
        if (line + 1 < count) {
            end += 2;
        }
    }
    return text.substr(0, end);
}

std::string FourthLine(const std::string& text) {
    const std::string first = FirstLines(text, 3);
    if (first.size() + 2 > text.size()) {
        return {};
    }
    const std::string rest = text.substr(first.size() + 2);
    return rest.substr(0, rest.find("\r\n"));
}

TempFolder::TempFolder() {
    // Made the portable way: Windows has no mkdtemp. A name taken already is
    // passed over; create_directory makes the folder only when it is new.
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("kelvaro-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            const std::u8string spelled = candidate.u8string();
            path_.assign(spelled.begin(), spelled.end());
            return;
        }
    }
    throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable to remove them.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

} // namespace kelvaro::test

#pragma once

#include "model/form.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/version.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace kelvaro::test {

// The window's title and the messages' title: the product and the version the
// program is built with.
inline const std::string kProductAndVersion = "Kelvaro Ver " + std::string(ProgramVersion);

// The lines of a lossy-character question that name a character ("・「作者名」の
// 「¥」→「\」"), and "ほかにもあります。" when it says there are more: what a
// test of a save checks; the question's own words are pinned in one test.
std::vector<std::string> NamedChanges(const std::string& question);

// Every entry of the folder, hidden ones included, sorted by name.
std::vector<std::string> FolderEntries(const std::string& folder);

// A fresh form whose item order holds only the given entries, all checked.
Form FormWith(std::initializer_list<std::string> keys);

// The bytes of a file in tests/data, exactly as committed.
std::string ReadFixture(const std::string& name);

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return JoinPath(path_, name); }

private:
    std::string path_;
};

// The failure a call throws; number 0 when it returns.
template <typename Call> RuntimeError Thrown(Call call) {
    try {
        call();
    } catch (const RuntimeError& error) {
        return error;
    }
    return RuntimeError(0);
}

// The error number a call throws, or 0 when it returns.
template <typename Call> int ThrownNumber(Call call) {
    try {
        call();
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// The three fixed lines every failure message starts with.
std::string ErrorLines(int number);
// The first `count` lines of a message box text (lines joined by CR LF).
std::string FirstLines(const std::string& text, std::size_t count);
// The line after them: "（/path: cause）", or "" when there is none.
std::string FourthLine(const std::string& text);

} // namespace kelvaro::test

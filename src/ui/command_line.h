#pragma once

// The window program's own command line: `kelvaro [FILE.ref]`, --help and
// --version. Read before Qt starts, so help and version need no display.
// Single-dash options (-style, -platform, ...) are Qt's and are left to it.

#include <string>
#include <vector>

namespace kelvaro::ui {

struct WindowArguments {
    enum class Action { Run, Help, Version, UsageError } What = Action::Run;
    std::string FormFile; // the form file to open; empty: a new form
    std::string Problem;  // for UsageError
};

WindowArguments ParseWindowArguments(const std::vector<std::string>& args);

// What `--help` prints, the usage line first.
std::string WindowHelpText();
std::string WindowUsageLine();

} // namespace kelvaro::ui

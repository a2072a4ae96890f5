#pragma once

// The window program's command line: `kelvaro [FILE.ref]`, --help and
// --version, read by the options table both programs share. Read before Qt
// starts, so help and version need no display. Single-dash options (-style,
// -platform, ...) that are not the table's are Qt's and are left to it.

#include "settings/command_options.h"

#include <string>
#include <vector>

namespace kelvaro::ui {

struct WindowArguments {
    enum class Action { Run, Help, Version, UsageError } What = Action::Run;
    std::string FormFile; // the form file to open; empty: a new form
    Words Problem;        // for UsageError, in both languages
};

WindowArguments ParseWindowArguments(const std::vector<std::string>& args);

// What `--help` prints, the usage line first.
std::string WindowHelpText();
std::string WindowUsageLine();

} // namespace kelvaro::ui

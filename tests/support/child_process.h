#pragma once

// Running another program from a test and collecting what it wrote.

#include <string>
#include <vector>

namespace kelvaro::test {

struct ToolRun {
    int Status = -1; // the exit status; -1 when the tool did not exit by itself
    std::string Out; // standard output
    std::string Err; // standard error
};

// Runs `arguments[0]` with the arguments, without a shell; its input is empty.
ToolRun RunTool(const std::vector<std::string>& arguments);

// Runs a command line through /bin/sh.
ToolRun RunShell(const std::string& command);

} // namespace kelvaro::test

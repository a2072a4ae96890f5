// RunTool and RunShell for the Windows build, through the C runtime's _popen:
// the tools the tests render with are Linux programs, which the Windows build
// is not given (their tests skip themselves), so what runs here is a Windows
// command line with its standard output read back.
#include "support/child_process.h"

#include <cstdio>

namespace kelvaro::test {
namespace {

std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    }
    return quoted + "\"";
}

} // namespace

ToolRun RunShell(const std::string& command) {
    ToolRun run;
    FILE* pipe = ::_popen(command.c_str(), "rb");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.Out.append(buffer, got);
    }
    run.Status = ::_pclose(pipe);
    return run;
}

ToolRun RunTool(const std::vector<std::string>& arguments) {
    std::string command;
    for (const std::string& argument : arguments) {
        command += (command.empty() ? "" : " ") + Quoted(argument);
    }
    return RunShell(command);
}

} // namespace kelvaro::test

#include "platform/command_line.h"

#include "platform/win32/wide.h"

#include <windows.h>

#include <shellapi.h>

namespace kelvaro {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        // Out of memory at start: the narrow arguments are all there is.
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(win32::Utf8FromWide(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

} // namespace kelvaro

#pragma once

// The program's arguments as the core takes every text: UTF-8. On POSIX they
// are the bytes the program was given. On Windows they are read from the wide
// command line, so that a path in any script (C:\…, 作者\ReadMe.ref) arrives
// whole, whatever the ANSI code page could have spelt.

#include <string>
#include <vector>

namespace kelvaro {

// The arguments after the program's own name.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace kelvaro

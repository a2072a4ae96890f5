#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvaro::cli {

// Runs kelvaro-compose with its arguments (without the program name); returns
// the exit status: 0 done, 1 the composition or the write failed, 2 bad usage.
int RunCompose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace kelvaro::cli

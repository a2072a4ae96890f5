#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvaro::cli {

// Runs kelvaro-compose with its arguments (without the program name); returns
// the exit status: 0 done, 1 the composition or a write failed (standard output
// among them), 2 bad usage. What it prints goes to descriptor 1 itself, so that
// a failure to write it is known.
int RunCompose(const std::vector<std::string>& args, std::ostream& err);

} // namespace kelvaro::cli

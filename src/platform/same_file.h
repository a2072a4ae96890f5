#pragma once

// Whether two paths a user gave name one file, so that a command can refuse to
// write one of its inputs, or to write two outputs into one file, before it
// writes anything.

#include <string>

namespace kelvaro {

// Two paths that both exist name one file when they reach the same device and
// inode, whatever links, hard links or spellings lead there. Two that do not
// exist yet name one file when they are the same path once links are followed
// as a write would follow them and the spelling is normalised ("./a", "d/../a"
// and an absolute "/…/a" are one). A path that exists never names the same
// file as one that does not.
bool NameSameFile(const std::string& a, const std::string& b);

} // namespace kelvaro

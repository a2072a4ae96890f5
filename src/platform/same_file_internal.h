#pragma once

// What each system answers for two paths of which neither exists yet.

#include <string>

namespace kelvaro {

// Whether a write to `a` and a write to `b` would land at one path, as the
// system spells and compares paths.
bool SpellSameWriteTarget(const std::string& a, const std::string& b);

} // namespace kelvaro

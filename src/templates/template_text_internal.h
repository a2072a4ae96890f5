#pragma once

// How a template's lines reach a box. Internal to src/templates: the layering
// check refuses an include of it from any other area.

#include <string>
#include <string_view>

namespace kelvaro {

// A template read the way the boxes show it: every line, the last one included,
// ends with CR LF. A line ends at CR LF or at a lone CR; a lone LF is part of its
// line, as it was for the line input the set was written for. Empty stays empty.
std::string WithLineEnds(std::string_view text);

} // namespace kelvaro

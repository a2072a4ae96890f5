#pragma once

// What a ReadMe file holds: the composed string in CP932 followed by one CR LF.
// Characters without a CP932 form become "?" in text and a numeric character
// reference in HTML, where the browser still shows them.

#include "compose/readme_format.h"

#include <string>
#include <string_view>

namespace kelvaro {

std::string ReadMeFileBytes(std::string_view composed, ReadMeFormat format);

} // namespace kelvaro

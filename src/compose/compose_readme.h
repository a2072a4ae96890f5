#pragma once

// Composes the ReadMe from the form in one of its formats. The result is the
// UTF-8 string without a line end after its last line; turning it into the
// bytes of a file is ReadMeFileBytes' job (compose/readme_file.h).

#include "compose/readme_format.h"
#include "model/form.h"

#include <cstddef>
#include <functional>
#include <string>

namespace kelvaro {

// Told about every checked entry whose key is not in the catalogue: its
// 1-based position and its key. The composition goes on afterwards.
using UnknownKeyHandler = std::function<void(std::size_t position, const std::string& key)>;

// Throws RuntimeError: Overflow when the separator count lies outside the
// 32-bit range, OutOfMemory when the separator line would be too long. Formats
// that draw a rule instead of the separator characters never read the count.
std::string ComposeReadMe(const Form& form, ReadMeFormat format,
                          const UnknownKeyHandler& onUnknownKey = {});

// The text of the notice about an unknown key: "5 / XYZ".
std::string UnknownKeyMessage(std::size_t position, const std::string& key);

} // namespace kelvaro

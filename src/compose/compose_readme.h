#pragma once

// Composes the ReadMe from the form, as plain text or as an HTML 4.01 page. The
// result is the UTF-8 string; converting it for a file is the writer's job.

#include "model/form.h"

#include <cstddef>
#include <functional>
#include <string>

namespace kelvaro {

// Told about every checked entry whose key is not in the catalogue: its
// 1-based position and its key. The composition goes on afterwards.
using UnknownKeyHandler = std::function<void(std::size_t position, const std::string& key)>;

// Throws RuntimeError: Overflow when the separator count lies outside the
// 32-bit range, OutOfMemory when the separator line would be too long.
std::string ComposeReadMe(const Form& form, bool isHtml,
                          const UnknownKeyHandler& onUnknownKey = {});

// The text of the notice about an unknown key: "5 / XYZ".
std::string UnknownKeyMessage(std::size_t position, const std::string& key);

} // namespace kelvaro

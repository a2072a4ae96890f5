#pragma once

// The one place where the core's UTF-8 meets Windows' UTF-16. Internal to
// platform/: every Windows call of the platform layer takes its names from here.

#include <string>
#include <string_view>

namespace kelvaro::win32 {

// UTF-16 from UTF-8; an ill-formed sequence reads as U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
// UTF-8 from UTF-16; an unpaired surrogate reads as U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// A path for a Windows call: UTF-16, "/" turned into "\", and a path too long
// for the classic limit made absolute and given the "\\?\" prefix, under which
// Windows takes paths up to 32,767 characters. Throws BadFileName for a path
// that is not well-formed UTF-8, since it cannot name the file the user meant.
std::wstring WidePath(const std::string& path);

} // namespace kelvaro::win32

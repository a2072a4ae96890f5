#pragma once

// Standard output written as any file is written: every byte through write(2),
// a short write continued, and each failure (a full disk, a closed descriptor)
// a RuntimeError with its number and cause, named "標準出力" where another
// failure names its file. A command that reports these succeeds only when every
// byte reached descriptor 1.

#include <ostream>
#include <string_view>

namespace kelvaro {

inline constexpr std::string_view StandardOutputName = "標準出力";

// Called first thing at start: a closed descriptor 1 or 2 is taken by /dev/null
// opened for reading only, so that no file the program opens later becomes its
// standard output or error, while a write to it still fails as on the closed
// descriptor (EBADF).
void TakeClosedStandardDescriptors();

// Writes all of `bytes` to descriptor 1.
void WriteStandardOutput(std::string_view bytes);

// Closes descriptor 1 after the last write: some file systems report a failed
// write only when the file is closed.
void CloseStandardOutput();

// Writes the program's messages (UTF-8) to standard error. A Windows console is
// given them as characters, so that Japanese reads as Japanese whatever its code
// page; a pipe or a file, on every system, receives the bytes unchanged. A
// failure is not reported: there is nowhere left to report it.
void WriteStandardError(std::string_view text);

// A stream whose lines go to WriteStandardError as each line ends, and the
// rest when it is flushed.
std::ostream& StandardError();

} // namespace kelvaro

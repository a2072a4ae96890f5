#pragma once

// Inputs and measured operations shared by the Google Benchmark cases and the
// goal check. Every measure has a baseline doing the comparable minimum of work
// on the same bytes, so results are ratios that hold on any machine.

#include "compose/readme_format.h"
#include "model/workspace.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kelvaro::bench {

// A fresh form whose 15 long texts hold `bytesPerText` bytes of Japanese and
// ASCII text each (in UTF-8), and `extraEntries` more order entries.
Workspace BigWorkspace(std::size_t bytesPerText, std::size_t extraEntries = 0);

// The UTF-8 bytes the composer reads: all long texts joined.
std::string AllLongTexts(const Form& form);

// The output of a baseline conversion, in a buffer that was never zero-filled.
struct Converted {
    std::unique_ptr<char[]> Bytes;
    std::size_t Size = 0;
    std::string_view View() const { return {Bytes.get(), Size}; }
};

// Baselines. A conversion is one iconv call into a buffer of exactly the size
// of its result, measured beforehand with EncodedSize or DecodedSize: the least
// a conversion of these bytes can cost. (A buffer sized for the worst case can
// be slower by half again, because every run then faults in fresh pages.)
std::size_t EncodedSize(const std::string& utf8);
std::size_t DecodedSize(const std::string& cp932);
Converted IconvEncode(const std::string& utf8, std::size_t size);  // UTF-8 -> CP932
Converted IconvDecode(const std::string& cp932, std::size_t size); // CP932 -> UTF-8
// UTF-8 -> UTF-8: the least a UTF-8 file's bytes cost, one pass that checks them
// as iconv converts. Its result has the input's size.
Converted IconvUtf8(const std::string& utf8);
void PlainWrite(const std::string& path, std::string_view bytes); // write + fsync
std::string PlainRead(const std::string& path);                   // one read of the whole file
std::size_t KeyPass(const Form& form, const std::string& key);    // one pass comparing keys

// Measured operations
// Composes the ReadMe and turns it into the bytes of its file.
std::size_t ComposeAndEncode(const Form& form, ReadMeFormat format,
                             ReadMeEncoding encoding = ReadMeEncoding::Cp932);

std::string TempPath(const std::string& name);

} // namespace kelvaro::bench

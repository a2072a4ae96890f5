#pragma once

// Inputs and measured operations shared by the Google Benchmark cases and the
// goal check. Every measure has a baseline doing the comparable minimum of work
// on the same bytes, so results are ratios that hold on any machine.

#include "model/workspace.h"

#include <cstddef>
#include <string>

namespace kelvaro::bench {

// A fresh form whose 15 long texts hold `bytesPerText` bytes of Japanese and
// ASCII text each (in UTF-8), and `extraEntries` more order entries.
Workspace BigWorkspace(std::size_t bytesPerText, std::size_t extraEntries = 0);

// The UTF-8 bytes the composer reads: all long texts joined.
std::string AllLongTexts(const Form& form);

// Baselines
std::string IconvEncode(const std::string& utf8);  // UTF-8 -> CP932 in one call
std::string IconvDecode(const std::string& cp932); // CP932 -> UTF-8 in one call
void PlainWrite(const std::string& path, const std::string& bytes);
std::string PlainRead(const std::string& path);
std::size_t KeyPass(const Form& form, const std::string& key); // one pass comparing keys

// Measured operations
std::size_t ComposeAndEncode(const Form& form, bool html);

std::string TempPath(const std::string& name);

} // namespace kelvaro::bench

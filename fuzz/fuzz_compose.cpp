// Composing any form the reader accepts throws nothing but the numbered
// separator failures.

#include "compose/compose_readme.h"
#include "files/form_file.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "settings/defaults.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvaro;
    Workspace ws = FreshWorkspace();
    try {
        ReadFormFileText(ws, Cp932ToUtf8(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const RuntimeError&) {
        return 0;
    }
    for (bool html : {false, true}) {
        try {
            std::size_t unknown = 0;
            std::string out =
                ComposeReadMe(ws.form, html, [&](std::size_t, const std::string&) { ++unknown; });
            (void)out;
        } catch (const RuntimeError& e) {
            if (e.Number() != ErrorNo::Overflow && e.Number() != ErrorNo::OutOfMemory) {
                std::abort();
            }
        }
    }
    return 0;
}

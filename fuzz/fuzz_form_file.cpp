// Any bytes either read as a form file or fail with a numbered error; a form
// that reads writes back and reads again to the same form.

#include "files/form_file.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "settings/defaults.h"

#include <cstdint>
#include <cstdlib>
#include <new>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvaro;
    const std::string text = Cp932ToUtf8(std::string(reinterpret_cast<const char*>(data), size));
    Workspace ws = FreshWorkspace();
    try {
        ReadFormFileText(ws, text);
    } catch (const RuntimeError& e) {
        if (e.Number() != ErrorNo::InputPastEnd && e.Number() != ErrorNo::InvalidProperty &&
            e.Number() != ErrorNo::Overflow) {
            std::abort();
        }
        return 0;
    }
    if (FindMarkerLine(ws.form) >= 0) {
        return 0; // texts a form file cannot hold are refused before writing
    }
    // What the writer writes, in CP932 and back, is what the reader reads.
    const std::string written = Cp932ToUtf8(Utf8ToCp932(FormFileText(ws.form)));
    Workspace again = FreshWorkspace();
    ReadFormFileText(again, written);
    if (Cp932ToUtf8(Utf8ToCp932(FormFileText(again.form))) != written) {
        std::abort();
    }
    return 0;
}

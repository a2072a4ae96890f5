// Any bytes either read as a form file or fail with one of the reader's numbered
// errors. Every form the reader yields, whole or (as an open offers after a
// failure) in part, is either refused by the writer with a named item or
// written and read back to the same form, field for field.

#include "files/form_file.h"
#include "model/defaults.h"
#include "platform/cp932.h"
#include "platform/error.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace kelvaro;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// What a save writes for the form, read back as ReadFormFile reads a file.
std::string WrittenAndDecoded(const Form& form) {
    return Cp932ToUtf8(FormFileBytes(form));
}

// True when no text of the form changes on its way through CP932.
bool ComesBackWhole(const Form& form) {
    for (std::string_view text : FormFileTexts(form)) {
        if (!RoundTripsThroughCp932(text)) {
            return false;
        }
    }
    return true;
}

// The writer's promise for one form the reader gave: refused with the item
// named, or written and read back equal. Characters that CP932 does not give
// back (the U+FFFD of undecodable bytes) are written replaced once the user
// agrees; from that first save on the form is stable.
void CheckWritesBack(const Form& form) {
    if (auto unwritable = FindUnwritableItem(form)) {
        if (unwritable->Item.empty()) {
            Fail("the writer refuses a form without naming an item");
        }
        return;
    }
    Workspace again = FreshWorkspace();
    ReadFormFileText(again, WrittenAndDecoded(form));
    if (ComesBackWhole(form) && !(again.form == form)) {
        Fail("a form read from a file reads back differently after saving");
    }
    Workspace third = FreshWorkspace();
    ReadFormFileText(third, WrittenAndDecoded(again.form));
    if (!(third.form == again.form)) {
        Fail("a saved form reads back differently after saving it again");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = Cp932ToUtf8(std::string(reinterpret_cast<const char*>(data), size));
    Workspace ws = FreshWorkspace();
    try {
        ReadFormFileText(ws, text);
    } catch (const RuntimeError& e) {
        // The file ended early, a control cannot take a value, or a number is
        // outside 32 bits; anything else escapes and libFuzzer reports it.
        if (e.Number() != ErrorNo::InputPastEnd && e.Number() != ErrorNo::InvalidProperty &&
            e.Number() != ErrorNo::Overflow) {
            Fail("a failure with a number the reader never gives");
        }
        // What was read, on a new form's defaults, can be shown and saved.
        CheckWritesBack(ws.form);
        return 0;
    }
    if (ws.CurrentLongItem != 0 || ws.EditorText != ws.form.LongTexts[0]) {
        Fail("after reading, the editor does not show the first long text");
    }
    // Block marker lines are skipped or end a text when read, so no text read
    // from a file can hold one, and every form read can be saved.
    if (FindMarkerLine(ws.form) >= 0) {
        Fail("a text read from a file holds a block marker line");
    }

    CheckWritesBack(ws.form);
    return 0;
}

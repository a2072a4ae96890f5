// Composing any form a file can bring, read whole or in part, throws nothing but
// the separator line's numbered failures, tells each unknown key once in order,
// and gives a ReadMe that encodes for a file.

#include "compose/compose_readme.h"
#include "compose/pause_line.h"
#include "compose/readme_file.h"
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

// A short file can hold many separators with a long line each: the ReadMe is then
// the product of the two. Such forms are legal and compose; here they would only
// spend the fuzzer's time and memory, so they are left out above this size.
constexpr std::size_t MaxReadMeSize = std::size_t{8} << 20;

std::size_t RoughReadMeSize(const Form& form) {
    std::size_t pause = 0;
    try {
        pause = BuildPauseLine(form.PauseChars, form.PauseCount).size();
    } catch (const RuntimeError&) {
        pause = 0; // composing fails before anything is written
    }
    std::size_t size = 0;
    for (const auto& entry : form.Order) {
        if (!entry.Checked) {
            continue;
        }
        const CatalogueItem* item = LookupItem(entry.Key);
        size += 256;
        if (item == nullptr) {
            continue;
        }
        if (item->Kind == ItemKind::Separator) {
            size += pause;
        } else if (item->Kind == ItemKind::LongText || item->Kind == ItemKind::UserLongText) {
            size += form.LongTexts[static_cast<std::size_t>(item->Slot)].size();
        }
    }
    return size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Workspace ws = FreshWorkspace();
    try {
        ReadFormFileText(ws, Cp932ToUtf8(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const RuntimeError&) {
        // What was read before the failure stays in the form, and the user can
        // compose it: it is composed like any other.
    }
    if (RoughReadMeSize(ws.form) > MaxReadMeSize) {
        return 0;
    }
    for (bool html : {false, true}) {
        const ReadMeFormat format = html ? ReadMeFormat::Html : ReadMeFormat::Text;
        std::size_t lastPosition = 0;
        std::string composed;
        try {
            composed =
                ComposeReadMe(ws.form, format, [&](std::size_t position, const std::string& key) {
                    if (position <= lastPosition || position > ws.form.Order.size()) {
                        Fail("unknown keys are told out of order or at no entry");
                    }
                    const OrderEntry& entry = ws.form.Order[position - 1];
                    if (entry.Key != key || !entry.Checked || LookupItem(key) != nullptr) {
                        Fail("a key told as unknown is not an unknown checked entry");
                    }
                    lastPosition = position;
                });
        } catch (const RuntimeError& e) {
            if (e.Number() != ErrorNo::Overflow && e.Number() != ErrorNo::OutOfMemory) {
                Fail("composing failed with a number of its own");
            }
            continue;
        }
        if (html && (!composed.starts_with("<!DOCTYPE HTML") || !composed.ends_with("</HTML>"))) {
            Fail("an HTML ReadMe that is no whole page");
        }
        const std::string bytes = ReadMeFileBytes(composed, format);
        if (!bytes.ends_with("\r\n")) {
            Fail("a ReadMe file without its final line end");
        }
    }
    return 0;
}

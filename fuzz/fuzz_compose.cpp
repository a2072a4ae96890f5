// Composing any form a file can bring, read whole or in part, in every format,
// throws nothing but the separator line's numbered failures, tells each unknown
// key once in order, and gives valid UTF-8 that encodes for a file. The Markdown
// holds no markup of any value's: every '<' and '&' in it is escaped, but for
// the &nbsp; the layout writes for leading blanks and the &amp; of a link. The HTML5 page holds no
// element but the page's own. And every ReadMe file comes back into a form: when
// the importer reads it by the layout that wrote it, that form composes to the
// same bytes again: always, for a form clear of the shapes the importer's
// limits name (and of a few near them).

#include "compose/compose_readme.h"
#include "compose/markdown_text.h"
#include "compose/page_style.h"
#include "compose/pause_line.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "import/readme_import.h"
#include "model/defaults.h"
#include "platform/cp932.h"
#include "platform/error.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        std::uint32_t c = lead & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (next & 0x3Fu);
        }
        constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// Every '<' and '&' of the Markdown stands behind a backslash, but the &nbsp;
// of a leading blank and the &amp; of an address's '&' in a link (where a
// backslash escapes nothing): nothing of a value can open a tag or an entity.
void CheckMarkdownHasNoMarkup(std::string_view markdown) {
    for (std::size_t i = 0; i < markdown.size(); ++i) {
        const char c = markdown[i];
        if (c == '\\') {
            ++i; // the escaped character
        } else if (c == '<') {
            Fail("an unescaped '<' in the Markdown");
        } else if (c == '&' && markdown.substr(i, 6) != "&nbsp;" &&
                   markdown.substr(i, 5) != "&amp;") {
            Fail("an unescaped '&' in the Markdown");
        }
    }
}

// Every tag in the HTML5 page's body is one the layout writes.
void CheckPageHasOnlyItsOwnElements(std::string_view page) {
    constexpr std::string_view own[] = {"<div class=\"line\">",
                                        "<div class=\"line pause\">",
                                        "<div class=\"text\">",
                                        "</div>",
                                        "<span class=\"topic\">",
                                        "</span>",
                                        "<a href=\"",
                                        "</a>",
                                        "<hr class=\"pause\">",
                                        "<p class=\"credit\">",
                                        "</p>",
                                        "</body>",
                                        "</html>"};
    const std::size_t body = page.find("<body>\n");
    if (!page.starts_with("<!DOCTYPE html>\n") || body == std::string_view::npos ||
        !page.ends_with("</body>\n</html>")) {
        Fail("an HTML5 ReadMe that is no whole page");
    }
    for (std::size_t i = page.find('<', body + 1); i != std::string_view::npos;
         i = page.find('<', i + 1)) {
        bool known = false;
        for (std::string_view tag : own) {
            known = known || page.substr(i, tag.size()) == tag;
        }
        if (!known) {
            Fail("an element of a value's on the HTML5 page");
        }
    }
}

bool Holds(std::string_view text, std::string_view what) {
    return !what.empty() && text.find(what) != std::string_view::npos;
}

// Whether the form holds one of the shapes the importer cannot read back by the
// layout that wrote it (listed in import/readme_import.h), or one near them: a
// line break in a single line or a blank at either end of it, a blank line or an entry-like line in
// a long text, either bracket inside a text, markup that ends an HTML setting or one the page
// writes escaped, a blank separator line or a blank software name.
bool NearAnImportLimit(const Form& form) {
    const auto unsafe = [&](std::string_view text, bool single) {
        return (single && (Holds(text, "\r") || Holds(text, "\n") || text.starts_with(' ') ||
                           text.ends_with(' '))) ||
               Holds(text, "\r\n\r\n") || text.starts_with("\r\n") || text.ends_with("\r\n") ||
               Holds(text, "<") || Holds(text, "}") || Holds(text, "　") ||
               Holds(text, form.LeftBracket) || Holds(text, form.RightBracket) ||
               Holds(text, "━") || Holds(text, "-") || Holds(text, "=") || Holds(text, "#") ||
               Holds(text, "|");
    };
    for (const std::string& value : form.LineValues) {
        if (unsafe(value, true)) {
            return true;
        }
    }
    for (const std::string& name : form.UserNames) {
        if (unsafe(name, true)) {
            return true;
        }
    }
    for (const std::string& setting : form.HtmlSettings) {
        const std::string once = CssDeclarations(setting);
        if (unsafe(setting, true) || CssDeclarations(once) != once) {
            return true;
        }
    }
    for (const std::string& text : form.LongTexts) {
        if (unsafe(text, false)) {
            return true;
        }
    }
    std::size_t run = 0;
    for (const OrderEntry& entry : form.Order) {
        run = entry.Checked && entry.Key == SeparatorKey ? run + 1 : entry.Checked ? 0 : run;
        if (run > 900) {
            return true; // near the thousand separators in a row the text reader takes
        }
    }
    return form.PauseChars.empty() || form.LeftBracket.empty() || form.RightBracket.empty() ||
           form.LineValues[LineSlot::SoftwareName].empty() || Holds(form.PauseChars, "\r") ||
           Holds(form.PauseChars, "\n") || Holds(form.PauseChars, "<") ||
           Holds(form.PauseChars, "}");
}

// Above this size a ReadMe is not imported here: eight imports of a ReadMe of
// megabytes would spend the fuzzer's time on what the benchmark measures.
constexpr std::size_t MaxImportedSize = std::size_t{256} << 10;

void CheckComesBack(const Form& form, const std::string& bytes, ReadMeFormat format,
                    ReadMeEncoding encoding) {
    if (bytes.size() > MaxImportedSize) {
        return;
    }
    ImportResult back;
    try {
        back = ImportReadMeBytes(bytes);
    } catch (const RuntimeError& e) {
        // A value of control characters makes the ReadMe read as no text at all.
        if (e.Number() != ErrorNo::BadFileFormat) {
            Fail("a ReadMe the program wrote could not be imported");
        }
        return;
    }
    if (NearAnImportLimit(form)) {
        return; // imported without a failure is all that is promised
    }
    if (!back.report.OwnLayout) {
        Fail("a ReadMe the program wrote was not read by its own layout");
    }
    std::string again;
    try {
        again = ReadMeFileBytes(ComposeReadMe(back.form, format), format, encoding);
    } catch (const RuntimeError&) {
        Fail("an imported ReadMe's form does not compose");
    }
    if (again != bytes) {
        // Where they part, for whoever reproduces the input.
        std::size_t at = 0;
        while (at < again.size() && at < bytes.size() && again[at] == bytes[at]) {
            ++at;
        }
        const std::size_t from = at < 80 ? 0 : at - 80;
        std::fprintf(stderr,
                     "format %d, encoding %d, bytes part at %zu:\n--- written\n%s\n--- again\n%s\n",
                     static_cast<int>(format), static_cast<int>(encoding), at,
                     bytes.substr(from, 160).c_str(), again.substr(from, 160).c_str());
        Fail("an imported ReadMe composes to other bytes");
    }
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
    for (ReadMeFormat format :
         {ReadMeFormat::Text, ReadMeFormat::Html, ReadMeFormat::Markdown, ReadMeFormat::Html5}) {
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
            if (format == ReadMeFormat::Markdown) {
                Fail("the Markdown, which never reads the separator count, failed");
            }
            continue;
        }
        if (!IsValidUtf8(composed)) {
            Fail("a composed ReadMe that is no valid UTF-8");
        }
        switch (format) {
        case ReadMeFormat::Html:
            if (!composed.starts_with("<!DOCTYPE HTML") || !composed.ends_with("</HTML>")) {
                Fail("an HTML ReadMe that is no whole page");
            }
            break;
        case ReadMeFormat::Markdown:
            // A text marked as Markdown is written as its author wrote it, markup and all.
            if (std::none_of(ws.form.LongTexts.begin(), ws.form.LongTexts.end(),
                             [](const std::string& t) { return MarkdownBody(t).has_value(); })) {
                CheckMarkdownHasNoMarkup(composed);
            }
            break;
        case ReadMeFormat::Html5:
            CheckPageHasOnlyItsOwnElements(composed);
            break;
        case ReadMeFormat::Text:
            break;
        }
        const std::string lineEnd(LineEnd(format));
        for (ReadMeEncoding encoding : {ReadMeEncoding::Cp932, ReadMeEncoding::Utf8}) {
            const std::string bytes = ReadMeFileBytes(composed, format, encoding);
            if (!bytes.ends_with(lineEnd)) {
                Fail("a ReadMe file without its final line end");
            }
            if (FileEncoding(format, encoding) == ReadMeEncoding::Utf8 && !IsValidUtf8(bytes)) {
                Fail("a UTF-8 ReadMe file that is no valid UTF-8");
            }
            CheckComesBack(ws.form, bytes, format, encoding);
        }
    }
    return 0;
}

#pragma once

// Form files (.ref): one value per line in a fixed order, CP932, CR LF. Writer
// and reader agree by position alone; the first line warns against editing.

#include "model/workspace.h"
#include "platform/cp932.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// The whole file as UTF-8 text with CR LF line ends (171 lines for a fresh form).
std::string FormFileText(const Form& form);

// What a form file holds for a character without a CP932 form: its plain
// likeness where it has one ("(C)" for ©), else "?". The question before the
// save names the same.
constexpr Unmappable FormFileUnmappable = Unmappable::Lookalike;

// The whole file in CP932 as WriteFormFile writes it (FormFileUnmappable for
// characters without a CP932 form), for a caller that makes every file's bytes
// before it writes any.
std::string FormFileBytes(const Form& form);

// Reads a decoded form file into the workspace, line by line, exactly as the
// file dictates. On failure throws RuntimeError (InputPastEnd when the file ends
// early, InvalidProperty for a unit or check-box value a control cannot take);
// the values read before the failure stay, the rest keep their old values.
void ReadFormFileText(Workspace& ws, std::string_view text);

// Commits the long-text editor, then writes FormFileText in CP932
// (FormFileUnmappable for characters without a CP932 form), replacing the file whole. A form that
// would not read back as it is (FindUnwritableItem) is refused before anything is written:
// RuntimeError(InvalidProperty) whose cause names the item.
void WriteFormFile(Workspace& ws, const std::string& path);

// Reads the file under a shared lock, decodes it as CP932 and runs
// ReadFormFileText. `looksUtf8`, when given, tells whether the file looked like
// a form converted to UTF-8 (LooksLikeUtf8FormFile), which the caller may warn of.
void ReadFormFile(Workspace& ws, const std::string& path, bool* looksUtf8 = nullptr);

// The encodings a form file's bytes can be read in. The program writes CP932; a
// form file an editor converted to UTF-8 reads as nonsense in CP932.
enum class FormFileEncoding { Cp932, Utf8 };

// Whether the bytes are such a converted form: well-formed UTF-8 that begins as
// a form file only when read as UTF-8, while read as CP932 it does not.
bool LooksLikeUtf8FormFile(std::string_view bytes);

// The bytes as text; a UTF-8 byte order mark is dropped.
std::string DecodeFormFile(std::string_view bytes, FormFileEncoding encoding);

// The one line kelvaro-compose warns with when it reads such a file as CP932.
std::string Utf8FormWarning(const std::string& path);

// Whether a decoded file's first line is the line every form file begins with
// (whichever product's name it carries).
bool BeginsWithFormHeader(std::string_view text);

// Every text of the form that goes into a form file, for checks before writing.
std::vector<std::string_view> FormFileTexts(const Form& form);

// The slot (0..14) of the first long text holding a line that begins with a
// block marker ("#%!" or "!%#"), which a form file cannot store; -1 when none.
int FindMarkerLine(const Form& form);

// An item whose text a form file cannot hold so that it reads back the same.
struct UnwritableItem {
    enum class Problem {
        MarkerLine, // a long-text line that begins with "#%!" or "!%#"
        LoneCr,     // a CR without its LF in a long text: read back, it ends a line
        LineBreak,  // a CR in a single-line value: read back, it ends the value
    };
    std::string Item; // the name the user knows it by (NamedFormTexts)
    Problem Why = Problem::LineBreak;

    bool operator==(const UnwritableItem&) const = default;
};

// The first such item, in the file's order; nullopt when the whole form reads
// back exactly as it is (characters without a CP932 form aside, which are a
// question for the user, not a fault of the file).
std::optional<UnwritableItem> FindUnwritableItem(const Form& form);

// The three-line message that refuses the save and names the item.
std::string UnwritableMessage(const UnwritableItem& item);

} // namespace kelvaro

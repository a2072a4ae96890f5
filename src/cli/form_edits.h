#pragma once

// kelvaro-compose's options that change the form before it is composed, and
// write it back: what a release script needs to bump a version in a form file.
//
//   --set KEY=VALUE       the value of the item KEY (repeatable)
//   --set-file KEY=FILE   the same, from FILE's UTF-8 text
//   --write-form FILE     also write the resulting form as a form file
//   --allow-lossy         let --write-form write characters CP932 would change

#include "model/workspace.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kelvaro::cli {

struct ValueEdit {
    std::string Key;
    std::string Value; // the value itself, or for --set-file the file's path
    bool FromFile = false;
};

struct FormEdits {
    std::vector<ValueEdit> Values;
    std::optional<std::string> WriteForm;
    bool AllowLossy = false;

    bool Any() const { return !Values.empty() || WriteForm || AllowLossy; }
};

enum class Taken {
    NotOurs, // not one of these options: the caller goes on with it
    Taken,   // taken (with its value, when it has one)
    Bad,     // one of these options, used wrongly: `problem` says how
};

// Looks at args[i]; on Taken, `i` is left at the last argument taken.
Taken TakeFormEditOption(const std::vector<std::string>& args, std::size_t& i, FormEdits& edits,
                         std::string& problem);

// The help text's lines for these options.
extern const char* const kFormEditHelp;

// Sets the values in the form, in the order given. A usage problem (an unknown
// key, an item without a value, a line break in a single-line value, a file that
// is no UTF-8 text) is returned as its text; a file that cannot be read throws
// RuntimeError. Long texts take their line breaks as CR LF, as the window does.
std::optional<std::string> ApplyValueEdits(Workspace& ws, const std::vector<ValueEdit>& edits);

// Why the form cannot be written as a form file exactly, as the lines to print:
// an item the file cannot hold, or (unless `allowLossy`) characters that CP932
// would change. "" when it can be written.
std::string FormWriteProblem(const Form& form, bool allowLossy);

} // namespace kelvaro::cli

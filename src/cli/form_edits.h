#pragma once

// kelvaro-compose's options that change the form before it is composed, and
// write it back: what a release script needs to bump a version in a form file.
//
//   --set KEY=VALUE       the value of the item KEY (repeatable)
//   --set-file KEY=FILE   the same, from FILE's UTF-8 text
//   --check KEY           tick the item KEY in the item order (repeatable)
//   --uncheck KEY         untick it
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

struct CheckEdit {
    std::string Key;
    bool Checked = true;
};

struct FormEdits {
    std::vector<ValueEdit> Values;
    std::vector<CheckEdit> Checks; // applied after the values, in the order given
    std::optional<std::string> WriteForm;
    bool AllowLossy = false;
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

// The keys --set takes, one per line, in the catalogue's order.
std::string ValueKeyList();

// Sets the values in the form, then ticks and unticks, each in the order given.
// A key is matched as a person types it (FoldName: "アーカイブサイズ" is
// "ｱｰｶｲﾌﾞｻｲｽﾞ"). A usage problem (an unknown key, an item without a value, a
// line break in a single-line value, a file that is no UTF-8 text, an item the
// order does not hold) is returned as its text; a file that cannot be read
// throws RuntimeError. Long texts take their line breaks as CR LF, as the window
// does.
std::optional<std::string> ApplyFormEdits(Workspace& ws, const FormEdits& edits);

// Why the form cannot be written as a form file exactly, as the lines to print:
// an item the file cannot hold, or (unless `allowLossy`) characters that CP932
// would change. "" when it can be written.
std::string FormWriteProblem(const Form& form, bool allowLossy);

} // namespace kelvaro::cli

#pragma once

// kelvaro-compose's changes to the form before it is composed: values set from
// the command line or from files, ticks in the item order, and what is told
// when a value would not reach the ReadMe.

#include "model/workspace.h"
#include "settings/command_options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro::cli {

// The keys --set takes, one per line, in the catalogue's order.
std::string ValueKeyList();

// Up to three keys nearest to `key` as typed (among those with a value when
// `withValue`), nearest first; none when nothing is near.
std::vector<std::string> NearestKeys(std::string_view key, bool withValue);

// A file's text as UTF-8: UTF-8 with or without a byte order mark, or
// Shift_JIS; nothing for bytes that are neither.
std::optional<std::string> TextOfFile(const std::string& bytes);

// Sets the values in the form, then ticks and unticks, each in the order given.
// A key is matched as a person types it (FoldName). A usage problem (an
// unknown key, an item without a value, a line break in a one-line value, a
// file that is no text) is returned; a file that cannot be read throws
// RuntimeError. Long texts take their line breaks as CR LF, as the window does.
// An item ticked that the order lacks goes to its place of the default order.
std::optional<Words> ApplyFormEdits(Workspace& ws, const CommandRequest& request);

// The keys of the items that hold a value but are not ticked, so that the
// ReadMe leaves them out: of `keys`, or when `keys` is empty of every item
// whose value differs from a fresh form's.
std::vector<std::string> UntickedWithValue(const Form& form, const std::vector<std::string>& keys);

// What is told about such an item, with the option that ticks it.
Words UntickedNotice(const std::string& key);

// Why the form cannot be written as a form file exactly, as the lines to print:
// an item the file cannot hold, or (unless `allowLossy`) characters that CP932
// would change. Nothing when it can be written.
std::optional<Words> FormWriteProblem(const Form& form, bool allowLossy);

} // namespace kelvaro::cli

#pragma once

// The shared common dialog: what each kind of file dialog proposes, and what
// it remembers of the user's choice.

#include "host/host.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

struct Session;

// What a file dialog chooses. The kind decides which memory the dialog starts
// from and keeps its choice in: every kind shares one, except that what a
// template dialog chose is remembered only by the template dialogs.
enum class FileKind { Form, TextReadMe, HtmlReadMe, Template };

// Shows a file dialog of the shared common dialog: proposes the remembered
// folder and base name with the extension of the request's first filter (after
// "krenamer.ref", a text dialog proposes "krenamer.txt"), and remembers what the
// user chose. Cancelling throws RuntimeError(ErrorNo::Cancelled).
FileDialogResult ShowSharedFileDialog(Session& s, FileKind kind, FileDialogRequest request);

// The same for a dialog with a name of its own ("README.md"): proposes
// `fileName` in the folder of the shared memory (or alone when nothing is
// remembered), and remembers what the user chose there.
FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName);

// The name a dialog proposes after `remembered` was chosen: its folder and base
// name with the extension of the first pattern of `filter` ("*.txt"); the
// remembered path itself when that pattern names no extension ("*.*").
std::string ProposedFileName(const std::string& remembered, const std::string& filter);

// The chosen file with `extension` (".ref", ".txt") added when its name does not
// already end with it, whatever the letter case. The dialog asked about the name
// as chosen, so an added name that exists is asked about here, No by default;
// nullopt when the user keeps the existing file.
std::optional<FileDialogResult> WithExtension(Session& s, FileDialogResult chosen,
                                              std::string_view extension);

} // namespace kelvaro

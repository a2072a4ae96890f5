#pragma once

// The recovery journal's file: the window's whole state, that is the form in the
// form file format (in UTF-8, so that no character is lost: the file is the
// program's own, not the user's), the current form file, the window title, the
// long-text item being edited and when it was taken.

#include "model/workspace.h"
#include "platform/file_stamp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

struct JournalState {
    Form form; // the editor's text already in its slot; left empty when read
    int CurrentLongItem = 0;
    std::string FormFilePath;
    std::string FormFileTitle;
    std::string WindowTitle;
    std::optional<FileStamp> FormFileStamp; // the form file as last read or written
    std::int64_t SavedAt = 0;               // seconds since 1970, UTC
};

std::string JournalText(const JournalState& state);

// What ReadJournalText gives back: the state, with the form read into a
// workspace that starts as a new form, its editor on the saved item.
struct ReadJournal {
    JournalState State;
    Workspace Restored;
};

// Throws RuntimeError(InputPastEnd or InvalidProperty) for a text that is not
// a whole journal.
ReadJournal ReadJournalText(std::string_view text, const Workspace& startFrom);

} // namespace kelvaro

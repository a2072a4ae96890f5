#include "session/file_dialog.h"

#include "platform/app_info.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "session/session.h"

#include <algorithm>

namespace kelvaro {

namespace {

// Where a dialog of this kind keeps what the user chose.
std::string& DialogMemory(Session& s, FileKind kind) {
    return kind == FileKind::Template ? s.TemplateDialogFileName : s.DialogFileName;
}

// What it starts from: its own memory, and for a template dialog that has
// chosen nothing yet the shared one.
const std::string& DialogStart(const Session& s, FileKind kind) {
    return kind == FileKind::Template && !s.TemplateDialogFileName.empty()
               ? s.TemplateDialogFileName
               : s.DialogFileName;
}

// ".txt" for a filter whose first patterns are "*.txt" or "*.html;*.htm"; ""
// when the first pattern is no plain extension ("*.*", "*").
std::string FirstFilterExtension(const std::string& filter) {
    const std::size_t bar = filter.find('|');
    if (bar == std::string::npos) {
        return {};
    }
    std::string patterns = filter.substr(bar + 1, filter.find('|', bar + 1) - bar - 1);
    const std::string first = patterns.substr(0, patterns.find(';'));
    if (!first.starts_with("*.")) {
        return {};
    }
    std::string extension = first.substr(1);
    if (extension.size() < 2 || extension.find_first_of("*?") != std::string::npos) {
        return {};
    }
    return extension;
}

// Calls `each` with every pattern of every filter ("*.html", "*.htm", "*.*").
template <typename Each> void ForEachPattern(std::string_view filter, Each each) {
    bool isPattern = false; // descriptions and patterns take turns
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = std::min(filter.find('|', start), filter.size());
        if (isPattern) {
            std::string_view patterns = filter.substr(start, bar - start);
            while (!patterns.empty()) {
                const std::size_t semicolon = std::min(patterns.find(';'), patterns.size());
                each(patterns.substr(0, semicolon));
                patterns.remove_prefix(std::min(semicolon + 1, patterns.size()));
            }
        }
        isPattern = !isPattern;
        start = bar + 1;
    }
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// Whether a filter's pattern is "*" and the extension (".htm").
bool FilterNamesExtension(std::string_view filter, std::string_view extension) {
    bool named = false;
    ForEachPattern(filter, [&](std::string_view pattern) {
        named =
            named || (pattern.starts_with('*') && SameIgnoringCase(pattern.substr(1), extension));
    });
    return named;
}

// Whether a filter shows every file ("*.*" or "*").
bool FilterTakesAnyFile(std::string_view filter) {
    bool any = false;
    ForEachPattern(
        filter, [&](std::string_view pattern) { any = any || pattern == "*.*" || pattern == "*"; });
    return any;
}

bool EndsWithIgnoringCase(std::string_view name, std::string_view tail) {
    if (name.size() < tail.size()) {
        return false;
    }
    const std::string_view end = name.substr(name.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (AsciiLower(end[i]) != AsciiLower(tail[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ProposedFileName(const std::string& remembered, const std::string& filter) {
    const std::string extension = FirstFilterExtension(filter);
    if (remembered.empty() || extension.empty()) {
        return remembered;
    }
    const std::size_t nameStart = remembered.size() - FileName(remembered).size();
    const std::size_t dot = remembered.find_last_of('.');
    // A leading dot starts a hidden name, not an extension.
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    const std::string base = hasExtension ? remembered.substr(0, dot) : remembered;
    if (base.size() == nameStart) {
        return remembered; // a folder alone: no name to give an extension
    }
    // A name this dialog could have written as it stands is what the user
    // chose: "page.htm" in the HTML dialog, or a name without an extension,
    // which only the dialog's every-file filter writes.
    const bool fits = hasExtension ? FilterNamesExtension(filter, remembered.substr(dot))
                                   : FilterTakesAnyFile(filter);
    return fits ? remembered : base + extension;
}

namespace {

// Shows the dialog and remembers what the user chose; cancelling throws.
FileDialogResult ShowRemembering(Session& s, const FileDialogRequest& request, FileKind kind) {
    auto chosen = s.host.ShowFileDialog(request);
    if (!chosen) {
        throw RuntimeError(ErrorNo::Cancelled);
    }
    DialogMemory(s, kind) = chosen->Path;
    return *chosen;
}

} // namespace

FileDialogResult ShowSharedFileDialog(Session& s, FileKind kind, FileDialogRequest request) {
    request.InitialFileName = ProposedFileName(DialogStart(s, kind), request.Filter);
    return ShowRemembering(s, request, kind);
}

std::optional<FileDialogResult> WithExtension(Session& s, FileDialogResult chosen,
                                              std::string_view extension) {
    if (EndsWithIgnoringCase(chosen.FileTitle, extension)) {
        return chosen;
    }
    const std::string asChosen = chosen.Path;
    chosen.Path += extension;
    chosen.FileTitle += extension;
    if (PathExists(chosen.Path)) {
        MessageRequest question{chosen.Path + " は既に存在します。\r\n上書きしますか？",
                                AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                                MessageIcon::Exclamation, MessageAnswer::No};
        if (s.host.ShowMessage(question) != MessageAnswer::Yes) {
            return std::nullopt;
        }
    }
    // The dialogs remember the file as it is written, so that the next one
    // proposes that name with its own extension.
    for (std::string* memory : {&s.DialogFileName, &s.TemplateDialogFileName}) {
        if (*memory == asChosen) {
            *memory = chosen.Path;
        }
    }
    return chosen;
}

FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName) {
    request.InitialFileName = JoinPath(ParentFolder(s.DialogFileName), fileName);
    return ShowRemembering(s, request, FileKind::Form); // the shared memory
}

} // namespace kelvaro

#include "session/file_dialog.h"

#include "platform/app_info.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "session/session.h"

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
    const std::size_t slash = remembered.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = remembered.find_last_of('.');
    // A leading dot starts a hidden name, not an extension.
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    const std::string base = hasExtension ? remembered.substr(0, dot) : remembered;
    if (base.size() == nameStart) {
        return remembered; // a folder alone: no name to give an extension
    }
    return base + extension;
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
    return chosen;
}

FileDialogResult ShowSharedFileDialogProposing(Session& s, FileDialogRequest request,
                                               const std::string& fileName) {
    const std::size_t slash = s.DialogFileName.rfind('/');
    request.InitialFileName =
        slash == std::string::npos ? fileName : s.DialogFileName.substr(0, slash + 1) + fileName;
    return ShowRemembering(s, request, FileKind::Form); // the shared memory
}

} // namespace kelvaro

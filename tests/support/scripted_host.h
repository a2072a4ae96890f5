#pragma once

// A Host for tests: records every request and answers from queues. An empty
// answer queue falls back to the request's default button, "cancel" for file
// dialogs and the preset for font dialogs, so a test states only what matters.

#include "host/host.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvaro::test {

class ScriptedHost : public Host {
public:
    // Answers
    std::deque<MessageAnswer> MessageAnswers;
    std::deque<std::optional<FileDialogResult>> FileAnswers;
    std::deque<FontChoice> FontAnswers;
    std::string Today = "2026/12/07";
    bool ClipboardFails = false;
    // How busy work runs: inline when empty; a window test hands it to the
    // real toolkit's host.
    std::function<void(const std::string&, const std::function<void()>&)> BusyRunner;

    // Records
    std::vector<MessageRequest> Messages;
    std::vector<FileDialogRequest> FileDialogs;
    std::vector<FontChoice> FontPresets;
    std::vector<std::string> ClipboardTexts;
    std::vector<std::pair<std::string, std::string>> OpenedDocuments;
    std::vector<std::string> BusyCaptions;

    // The user chooses `path`, with the filter at `filterIndex` (0: the first).
    void AnswerFile(const std::string& path, int filterIndex = 0);
    void CancelFile() { FileAnswers.push_back(std::nullopt); }

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
    FontChoice ShowFontDialog(const FontChoice& preset) override;
    void SetClipboardText(const std::string& text) override;
    void OpenDocument(const std::string& pathOrAddress, const std::string& workingFolder) override;
    std::string TodayText() override { return Today; }
    void RunBusy(const std::string& caption, const std::function<void()>& work) override;

    const MessageRequest& LastMessage() const;
};

} // namespace kelvaro::test

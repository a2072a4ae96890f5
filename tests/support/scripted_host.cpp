#include "support/scripted_host.h"

#include "platform/error.h"

#include <gtest/gtest.h>

namespace kelvaro::test {

void ScriptedHost::AnswerFile(const std::string& path, int filterIndex) {
    auto slash = path.find_last_of('/');
    FileAnswers.push_back(FileDialogResult{
        path, slash == std::string::npos ? path : path.substr(slash + 1), filterIndex});
}

MessageAnswer ScriptedHost::ShowMessage(const MessageRequest& request) {
    Messages.push_back(request);
    if (MessageAnswers.empty()) {
        return request.DefaultButton;
    }
    auto answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
}

std::optional<FileDialogResult> ScriptedHost::ShowFileDialog(const FileDialogRequest& request) {
    FileDialogs.push_back(request);
    if (FileAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
}

FontChoice ScriptedHost::ShowFontDialog(const FontChoice& preset) {
    FontPresets.push_back(preset);
    if (FontAnswers.empty()) {
        return preset;
    }
    auto answer = FontAnswers.front();
    FontAnswers.pop_front();
    return answer;
}

void ScriptedHost::SetClipboardText(const std::string& text) {
    if (ClipboardFails) {
        throw RuntimeError(ErrorNo::ClipboardOpen);
    }
    ClipboardTexts.push_back(text);
}

void ScriptedHost::OpenDocument(const std::string& pathOrAddress,
                                const std::string& workingFolder) {
    OpenedDocuments.emplace_back(pathOrAddress, workingFolder);
}

const MessageRequest& ScriptedHost::LastMessage() const {
    static const MessageRequest none{};
    if (Messages.empty()) {
        ADD_FAILURE() << "no message box was shown";
        return none;
    }
    return Messages.back();
}

void ScriptedHost::RunBusy(const std::string& caption, const std::function<void()>& work) {
    BusyCaptions.push_back(caption);
    if (BusyRunner) {
        BusyRunner(caption, work);
    } else {
        work();
    }
}

} // namespace kelvaro::test

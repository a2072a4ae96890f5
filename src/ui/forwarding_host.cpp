#include "ui/forwarding_host.h"

namespace kelvaro::ui {

MessageAnswer ForwardingHost::ShowMessage(const MessageRequest& request) {
    return inner_.ShowMessage(request);
}

std::optional<FileDialogResult> ForwardingHost::ShowFileDialog(const FileDialogRequest& request) {
    return inner_.ShowFileDialog(request);
}

FontChoice ForwardingHost::ShowFontDialog(const FontChoice& preset) {
    return inner_.ShowFontDialog(preset);
}

void ForwardingHost::SetClipboardText(const std::string& text) {
    inner_.SetClipboardText(text);
}

void ForwardingHost::OpenDocument(const std::string& pathOrAddress,
                                  const std::string& workingFolder) {
    inner_.OpenDocument(pathOrAddress, workingFolder);
}

std::string ForwardingHost::TodayText() {
    return inner_.TodayText();
}

void ForwardingHost::Changed(Change what) {
    inner_.Changed(what);
    if (listener_) {
        listener_(what);
    }
}

} // namespace kelvaro::ui

#pragma once

// The window's view of Host: every request goes to the real host (the Qt one,
// or a scripted one in tests) and every change notice also reaches the window,
// so the widgets follow the core whichever host answers the questions.

#include "host/host.h"

#include <functional>

namespace kelvaro::ui {

class ForwardingHost : public Host {
public:
    using ChangeListener = std::function<void(Change)>;

    explicit ForwardingHost(Host& inner) : inner_(inner) {}

    void SetChangeListener(ChangeListener listener) { listener_ = std::move(listener); }

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
    FontChoice ShowFontDialog(const FontChoice& preset) override;
    void SetClipboardText(const std::string& text) override;
    void OpenDocument(const std::string& pathOrAddress, const std::string& workingFolder) override;
    std::string TodayText() override;
    void Changed(Change what) override;

private:
    Host& inner_;
    ChangeListener listener_;
};

} // namespace kelvaro::ui

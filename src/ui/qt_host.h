#pragma once

// Host answered by the desktop: Qt's message boxes with Japanese buttons, Qt's
// file dialog set up from the core's request, the font-and-colour dialog, the
// system clipboard and the desktop's opener for pages and documents.

#include "host/host.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string_view>

class QFileDialog;
class QMessageBox;

namespace kelvaro::ui {

// The message box of a request, ready to exec(): text, title, icon, buttons
// "OK" or "はい(&Y)" / "いいえ(&N)", and the default button. Closing a yes/no box
// without choosing counts as "いいえ".
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageRequest& request, QWidget* parent);
MessageAnswer AnswerOf(const QMessageBox& box);

// "description|patterns|..." as Qt name filters. The dialog hides Qt's own
// pattern details, so what the user reads is each description exactly as
// written, while the files shown are those the pattern half selects.
QStringList NameFilters(std::string_view filter);
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);
// The index of the request's filter the dialog has selected; 0 when it is none
// of them.
int ChosenFilterIndex(const QFileDialog& dialog, const FileDialogRequest& request);

class QtHost : public Host {
public:
    explicit QtHost(QWidget* window = nullptr) : window_(window) {}

    void SetWindow(QWidget* window) { window_ = window; }

    MessageAnswer ShowMessage(const MessageRequest& request) override;
    std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
    FontChoice ShowFontDialog(const FontChoice& preset) override;
    void SetClipboardText(const std::string& text) override;
    void OpenDocument(const std::string& pathOrAddress, const std::string& workingFolder) override;
    std::string TodayText() override;
    void RunBusy(const std::string& caption, const std::function<void()>& work) override;

private:
    QPointer<QWidget> window_;
};

} // namespace kelvaro::ui

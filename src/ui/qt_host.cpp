#include "ui/qt_host.h"

#include "platform/app_info.h"
#include "platform/error.h"
#include "ui/font_colour_dialog.h"
#include "ui/text_convert.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QUrl>

#include <memory>

namespace kelvaro::ui {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

const char* const kAnswerProperty = "kelvaroAnswer";

// What the window shows while it waits for busy work: the caption over a
// moving bar, and no button. The work cannot be stopped halfway, so neither
// Escape nor the title bar's close button ends the wait.
class BusyDialog final : public QProgressDialog {
public:
    BusyDialog(const QString& caption, QWidget* parent)
        : QProgressDialog(caption, QString(), 0, 0, parent) {}

    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

QPushButton* AddAnswerButton(QMessageBox& box, const QString& caption, QMessageBox::ButtonRole role,
                             MessageAnswer answer) {
    QPushButton* button = box.addButton(caption, role);
    button->setProperty(kAnswerProperty, static_cast<int>(answer));
    return button;
}

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageRequest& request, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(ToQt(request.Title));
    box->setText(ToBoxText(request.Text));
    box->setTextFormat(Qt::PlainText);
    box->setIcon(IconOf(request.Icon));
    if (request.Buttons == MessageButtons::YesNo ||
        request.Buttons == MessageButtons::YesNoCancel) {
        QPushButton* yes = AddAnswerButton(*box, QStringLiteral("はい(&Y)"), QMessageBox::YesRole,
                                           MessageAnswer::Yes);
        QPushButton* no = AddAnswerButton(*box, QStringLiteral("いいえ(&N)"), QMessageBox::NoRole,
                                          MessageAnswer::No);
        QPushButton* cancel = nullptr;
        if (request.Buttons == MessageButtons::YesNoCancel) {
            cancel = AddAnswerButton(*box, QStringLiteral("キャンセル"), QMessageBox::RejectRole,
                                     MessageAnswer::Cancel);
        }
        box->setDefaultButton(request.DefaultButton == MessageAnswer::Cancel && cancel != nullptr
                                  ? cancel
                              : request.DefaultButton == MessageAnswer::No ? no
                                                                           : yes);
        // Escape is the answer that changes nothing.
        box->setEscapeButton(cancel != nullptr ? cancel : no);
    } else {
        QPushButton* ok =
            AddAnswerButton(*box, QStringLiteral("OK"), QMessageBox::AcceptRole, MessageAnswer::Ok);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    return box;
}

MessageAnswer AnswerOf(const QMessageBox& box) {
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        clicked = box.escapeButton();
    }
    if (clicked == nullptr) {
        return MessageAnswer::Ok;
    }
    return static_cast<MessageAnswer>(clicked->property(kAnswerProperty).toInt());
}

QStringList NameFilters(std::string_view filter) {
    const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')');
    }
    return filters;
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    // Qt's own dialog on every desktop: it shows the titles and filter texts
    // exactly and speaks Japanese through Qt's translations.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setWindowTitle(ToQt(request.Title));
    const bool save = request.Kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.Options.FileMustExist ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.Options.OverwritePrompt);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(NameFilters(request.Filter));
    if (!request.DefaultExtension.empty()) {
        dialog.setDefaultSuffix(ToQt(request.DefaultExtension));
    }

    // The dialog opens in the folder the command asks for, else in the folder
    // of the file last chosen, with that file's name filled in.
    const QFileInfo last(ToQt(request.InitialFileName));
    if (!request.InitialFolder.empty()) {
        dialog.setDirectory(ToQt(request.InitialFolder));
    } else if (!request.InitialFileName.empty()) {
        dialog.setDirectory(last.absolutePath());
    }
    if (!request.InitialFileName.empty()) {
        dialog.selectFile(last.fileName());
    }
}

int ChosenFilterIndex(const QFileDialog& dialog, const FileDialogRequest& request) {
    // With the pattern details hidden the dialog reports the description it
    // shows; otherwise the whole name filter.
    const QString selected = dialog.selectedNameFilter();
    const QStringList filters = NameFilters(request.Filter);
    const QStringList parts = ToQt(request.Filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (selected == filters[i] || selected == parts[2 * i]) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

MessageAnswer QtHost::ShowMessage(const MessageRequest& request) {
    auto box = MakeMessageBox(request, window_);
    box->exec();
    return AnswerOf(*box);
}

std::optional<FileDialogResult> QtHost::ShowFileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(window_);
    ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    return FileDialogResult{FromQt(path), FromQt(QFileInfo(path).fileName()),
                            ChosenFilterIndex(dialog, request)};
}

FontChoice QtHost::ShowFontDialog(const FontChoice& preset) {
    FontColourDialog dialog(preset, window_);
    if (dialog.exec() != QDialog::Accepted) {
        return preset;
    }
    return dialog.Choice();
}

void QtHost::SetClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        throw RuntimeError(ErrorNo::ClipboardOpen);
    }
    clipboard->setText(ToQt(text));
}

void QtHost::OpenDocument(const std::string& pathOrAddress, const std::string&) {
    // The desktop opener has no working folder to give; documents are opened
    // by their full path, addresses as they stand.
    const QString target = ToQt(pathOrAddress);
    const QUrl url =
        target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

std::string QtHost::TodayText() {
    return FromQt(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void QtHost::RunBusy(const std::string& caption, const std::function<void()>& work) {
    // The dialog is modal to the whole application: the window behind it keeps
    // painting through the event loop below but takes no input until the work
    // has ended, so nothing the user does can touch the session meanwhile.
    BusyDialog dialog(ToQt(caption), window_);
    dialog.setWindowTitle(ToQt(AppInfoString(AppInfo::ProductAndVersion)));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setCancelButton(nullptr);
    dialog.setMinimumDuration(0);
    QEventLoop loop;
    const std::unique_ptr<QThread> worker(QThread::create(work));
    // Queued to this thread: a worker that ends before the loop starts still
    // ends the loop once it runs.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    worker->start();
    dialog.show();
    loop.exec();
    worker->wait();
}

} // namespace kelvaro::ui

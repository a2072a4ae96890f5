#include "ui/recovery_guard.h"

#include "platform/file_io.h"
#include "recovery/journal.h"
#include "session/edits.h"
#include "ui/read_me_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>

namespace kelvaro::ui {
namespace {

// The self-pipe: a handler may only write a byte; the event loop reads it.
std::array<int, 2> signalPipe{-1, -1};

void OnEndSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

constexpr std::array<int, 3> EndSignals{SIGTERM, SIGHUP, SIGINT};

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

RecoveryGuard::RecoveryGuard(ReadMeForm& window, RecoveryJournal* journal)
    : QObject(&window), window_(window), journal_(journal) {
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] { Watch(); });
    timer_->start();

    if (::pipe2(signalPipe.data(), O_CLOEXEC | O_NONBLOCK) == 0) {
        signals_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(signals_, &QSocketNotifier::activated, this, [this] { OnSignal(); });
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int number : EndSignals) {
            ::sigaction(number, &action, nullptr);
        }
    }
    // The session manager asks before a logout; the journal is written then and
    // the logout goes on without a question.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { OnLogout(); });
    qApp->installEventFilter(this);
}

RecoveryGuard::~RecoveryGuard() {
    qApp->removeEventFilter(this);
    if (signals_ != nullptr) {
        for (const int number : EndSignals) {
            std::signal(number, SIG_DFL);
        }
        delete signals_;
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe = {-1, -1};
    }
}

bool RecoveryGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close && keep_) {
        // Ending for a signal or a logout: no exit question.
        event->accept();
        return true;
    }
    // The window stores what the user types straight into the form; any input
    // to it may have changed the form, which the journal then compares.
    if (IsInput(event->type()) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
        NoteFormEdited(window_.session());
    }
    return false;
}

void RecoveryGuard::Watch() {
    if (journal_ != nullptr) {
        journal_->Watch(window_.session(), std::chrono::steady_clock::now());
    }
}

void RecoveryGuard::OnSignal() {
    unsigned char byte = 0;
    while (::read(signalPipe[0], &byte, 1) == 1) {
    }
    EndNow();
}

void RecoveryGuard::OnLogout() {
    keep_ = true;
    if (journal_ != nullptr) {
        journal_->WriteNow(window_.session());
    }
}

void RecoveryGuard::EndNow() {
    keep_ = true;
    if (journal_ != nullptr) {
        journal_->WriteNow(window_.session());
    }
    // As an exit does: the browser page goes.
    const std::string page = BrowserPagePath(window_.session());
    if (IsRegularFile(page)) {
        RemoveFile(page);
    }
    timer_->stop();
    QCoreApplication::exit(0);
}

} // namespace kelvaro::ui

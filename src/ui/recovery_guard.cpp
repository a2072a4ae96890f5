#include "ui/recovery_guard.h"

#include "platform/end_signals.h"
#include "ui/read_me_form.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>

namespace kelvaro::ui {
namespace {

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

RecoveryGuard::RecoveryGuard(ReadMeForm& window)
    : QObject(&window), window_(window), endSignals_(std::make_unique<EndSignals>()) {
    timer_ = new QTimer(this);
    timer_->setInterval(WindowController::TickInterval);
    connect(timer_, &QTimer::timeout, this,
            [this] { window_.controller().Tick(std::chrono::steady_clock::now()); });
    timer_->start();

    if (endSignals_->WakeHandle() >= 0) {
        auto* wake = new QSocketNotifier(endSignals_->WakeHandle(), QSocketNotifier::Read, this);
        connect(wake, &QSocketNotifier::activated, this, [this] {
            if (endSignals_->TakeRequests()) {
                window_.controller().EndRequested();
            }
        });
    }
    // The session manager asks before a logout; the journal is written then and
    // the logout goes on without a question.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { window_.controller().LogoutRequested(); });
    qApp->installEventFilter(this);
}

RecoveryGuard::~RecoveryGuard() {
    qApp->removeEventFilter(this);
}

bool RecoveryGuard::eventFilter(QObject* watched, QEvent* event) {
    // The window stores what the user types straight into the form; any input
    // to it may have changed the form, which the journal then compares.
    if (IsInput(event->type()) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
        window_.controller().UserInput();
    }
    return false;
}

} // namespace kelvaro::ui

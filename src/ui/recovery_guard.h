#pragma once

// The Qt side of the window controller's journal and ends: its timer, the
// window's input, the end signals (SIGTERM, SIGHUP, SIGINT) and a desktop
// logout, each handed to the controller, which decides.

#include <QObject>

#include <memory>

class QTimer;

namespace kelvaro {
class EndSignals;
}

namespace kelvaro::ui {

class ReadMeForm;

class RecoveryGuard : public QObject {
public:
    explicit RecoveryGuard(ReadMeForm& window);
    ~RecoveryGuard() override;
    RecoveryGuard(const RecoveryGuard&) = delete;
    RecoveryGuard& operator=(const RecoveryGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ReadMeForm& window_;
    QTimer* timer_ = nullptr;
    std::unique_ptr<EndSignals> endSignals_;
};

} // namespace kelvaro::ui

#pragma once

// What keeps the recovery journal of the running window: a timer that hands the
// session to the journal, input that the window stored noted as a change, the
// end signals (SIGTERM, SIGHUP, SIGINT) and a desktop logout, which write the
// journal at once and end the program without the exit question.

#include <QObject>

class QSocketNotifier;
class QTimer;

namespace kelvaro {
class RecoveryJournal;
}

namespace kelvaro::ui {

class ReadMeForm;

class RecoveryGuard : public QObject {
public:
    // `journal` may be null (no state folder): the end signals and a logout
    // still end the program without the question.
    RecoveryGuard(ReadMeForm& window, RecoveryJournal* journal);
    ~RecoveryGuard() override;
    RecoveryGuard(const RecoveryGuard&) = delete;
    RecoveryGuard& operator=(const RecoveryGuard&) = delete;

    // The program ends keeping its journal (a signal or a logout), rather than
    // by the exit question's はい.
    bool KeepsJournal() const { return keep_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();
    void OnSignal();
    void OnLogout();
    void EndNow();

    ReadMeForm& window_;
    RecoveryJournal* journal_;
    QTimer* timer_ = nullptr;
    QSocketNotifier* signals_ = nullptr;
    bool keep_ = false;
};

} // namespace kelvaro::ui

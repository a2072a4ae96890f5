#include "window/controller.h"

#include "compose/pages.h"
#include "files/lifecycle.h"
#include "platform/app_info.h"
#include "platform/file_io.h"
#include "recovery/journal.h"
#include "session/edits.h"
#include "session/failure.h"
#include "session/unsaved.h"

#include <utility>

namespace kelvaro {

std::string JournalTroubleText(const std::string& cause) {
    return "編集中のフォームを、異常終了に備えて記録することができません。\r\n"
           "このままでは、保存する前にプログラムが終了すると、入力した内容が失われます。\r\n"
           "記録はこのあとも試みます。\r\n（" +
           cause + "）";
}

WindowController::WindowController(Session& s, WindowRenderer& renderer)
    : s_(s), renderer_(renderer) {}

void WindowController::SetJournal(RecoveryJournal* journal, std::string stateFolder) {
    journal_ = journal;
    stateFolder_ = std::move(stateFolder);
}

void WindowController::Run(const std::function<void()>& command) {
    renderer_.TakeTyping();
    RunReportingFailures(s_, command);
}

void WindowController::PageChosen(Page page) {
    Run([&] { SelectPage(s_, page); });
}

bool WindowController::MayClose() {
    // Ending for a signal or a logout: the journal keeps the work, so no
    // question holds the end up.
    if (KeepsJournal()) {
        return true;
    }
    bool close = true;
    Run([&] { close = ConfirmClose(s_); });
    return close;
}

void WindowController::OpenFormFile(const std::string& path) {
    Run([&] { OpenFormPath(s_, path); });
}

void WindowController::Tick(Clock::time_point now) {
    // The message below runs an event loop of its own, whose timer comes back here.
    if (ticking_ || ending_) {
        return;
    }
    ticking_ = true;
    renderer_.TakeTyping();
    if (journal_ == nullptr || !journal_->Active()) {
        // Said once there is something to lose, not at every start.
        if (!troubleSaid_ && s_.EditCount != seenEdits_ && HasUnsavedChanges(s_)) {
            troubleSaid_ = true;
            SayJournalTrouble(stateFolder_ + ": cannot be written");
        }
        seenEdits_ = s_.EditCount;
    } else {
        journal_->Watch(s_, now);
        const std::string failure = journal_->LastFailure();
        if (failure.empty()) {
            troubleSaid_ = false;
        } else if (!troubleSaid_) {
            troubleSaid_ = true;
            SayJournalTrouble(failure);
        }
    }
    ticking_ = false;
}

void WindowController::SayJournalTrouble(const std::string& cause) {
    s_.host.ShowMessage(
        MessageRequest{JournalTroubleText(cause), AppInfoString(AppInfo::ProductAndVersion),
                       MessageButtons::Ok, MessageIcon::Exclamation, MessageAnswer::Ok});
}

void WindowController::UserInput() {
    NoteFormEdited(s_);
    // The user works on: the logout was cancelled, and the next close asks.
    loggingOut_ = false;
}

void WindowController::EndRequested() {
    if (ending_) {
        return;
    }
    renderer_.TakeTyping();
    if (journal_ != nullptr) {
        journal_->WriteNow(s_);
    }
    ending_ = true;
    // As an exit does: the browser page goes.
    const std::string page = BrowserPagePath(s_);
    if (IsRegularFile(page)) {
        RemoveFile(page);
    }
    renderer_.EndEventLoop();
}

void WindowController::LogoutRequested() {
    renderer_.TakeTyping();
    loggingOut_ = true;
    if (journal_ != nullptr) {
        journal_->WriteNow(s_);
    }
}

void WindowController::OfferLeftJournals() {
    if (journal_ != nullptr && journal_->Active()) {
        kelvaro::OfferLeftJournals(s_, *journal_, [this] { return ending_; });
    }
}

void WindowController::Finish() {
    if (journal_ != nullptr && !KeepsJournal()) {
        journal_->Discard();
    }
}

} // namespace kelvaro

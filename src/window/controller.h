#pragma once

// The window's rules, whatever toolkit draws it: how a command runs, what the
// recovery journal is handed and when, and how the program ends. The toolkit
// forwards its events here and draws what the session says; what it must do in
// return it does through WindowRenderer.
//
// The window writes into the form by three paths: commands, which notify;
// boxes that store each keystroke; and the long-text editor, which keeps its
// text until asked, so that a keystroke in a long text costs nothing. The
// controller asks for that held typing before every command, every journal
// write and every end, so no path can miss the journal.

#include "session/session.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace kelvaro {

class RecoveryJournal;

// What the controller asks of the toolkit that draws the window.
class WindowRenderer {
public:
    virtual ~WindowRenderer() = default;
    // Hands the session what the user typed that a control still holds.
    virtual void TakeTyping() = 0;
    // Ends the event loop, and with it the program, without the exit question.
    virtual void EndEventLoop() = 0;
};

class WindowController {
public:
    using Clock = std::chrono::steady_clock;
    // How often the toolkit's timer calls Tick.
    static constexpr std::chrono::milliseconds TickInterval{100};

    WindowController(Session& s, WindowRenderer& renderer);
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    Session& session() { return s_; }

    // The journal of this run; null when the state folder has none. A journal
    // that is missing or cannot be written is said in the window once.
    void SetJournal(RecoveryJournal* journal, std::string stateFolder);

    // Runs a command: the held typing first, then the command, whose failure
    // ends in the one failure message.
    void Run(const std::function<void()>& command);
    // The user chose `page` on the tab strip. A click on the page already
    // shown counts too: it shows the page anew (the preview is redone).
    void PageChosen(Page page);
    // The window is asked to close: true when it may.
    bool MayClose();
    // A file dropped on the window, or named on the command line, opens as
    // フォームを開く does.
    void OpenFormFile(const std::string& path);

    // The toolkit's timer: the held typing goes to the session and the journal
    // is written when due.
    void Tick(Clock::time_point now);
    // A key, a click or a drop in the window: the form may have changed, and a
    // logout the user has cancelled no longer holds.
    void UserInput();
    // An end signal: the journal is written, the browser page goes, and the
    // program ends as soon as it can.
    void EndRequested();
    // The desktop is about to log out: the journal is written now, and the
    // close that follows asks nothing.
    void LogoutRequested();

    // Offers the journals left by ended programs. An end request while a
    // question is shown keeps the journal being offered.
    void OfferLeftJournals();

    // An end was requested: the program ends without running (more of) its
    // event loop.
    bool Ending() const { return ending_; }
    // The program ends keeping its journal (a signal or a logout) rather than
    // by the exit question's はい; otherwise the journal goes at the end.
    bool KeepsJournal() const { return ending_ || loggingOut_; }
    void Finish();

private:
    void SayJournalTrouble(const std::string& cause);

    Session& s_;
    WindowRenderer& renderer_;
    RecoveryJournal* journal_ = nullptr;
    std::string stateFolder_;
    bool ending_ = false;
    bool loggingOut_ = false;
    bool ticking_ = false;
    bool troubleSaid_ = false;
    std::uint64_t seenEdits_ = 0;
};

// The message a journal that cannot be written is said in; `cause` names the
// folder or the failure.
std::string JournalTroubleText(const std::string& cause);

} // namespace kelvaro

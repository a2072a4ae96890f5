// The window's rules with a renderer of the test's own: typing in any kind of
// control reaches the journal without a command, and the ends of the program
// (a signal, a logout, the restore question) keep or lose nothing they should not.

#include "window/controller.h"

#include "model/defaults.h"
#include "platform/file_io.h"
#include "recovery/journal.h"
#include "session/edits.h"
#include "session/unsaved.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace kelvaro {
namespace {

using namespace std::chrono_literals;
using Clock = WindowController::Clock;

// A toolkit whose long-text editor keeps its text until asked, as a real one
// does to keep keystrokes cheap.
struct FakeRenderer : WindowRenderer {
    explicit FakeRenderer(Session& s) : session(s) {}
    void TakeTyping() override {
        if (heldEditorText) {
            session.ws.EditorText = std::move(*heldEditorText);
            heldEditorText.reset();
            NoteFormEdited(session);
        }
    }
    void EndEventLoop() override { ++ends; }
    Session& session;
    std::optional<std::string> heldEditorText;
    int ends = 0;
};

// The host of a window whose program is asked to end while a question shows:
// the box goes away unanswered, which a toolkit reports as its escape button.
struct InterruptedHost : test::ScriptedHost {
    MessageAnswer ShowMessage(const MessageRequest& request) override {
        ScriptedHost::ShowMessage(request);
        if (interrupt) {
            interrupt();
        }
        return MessageAnswer::No;
    }
    std::function<void()> interrupt;
};

struct Window {
    explicit Window(const std::string& folder, bool withJournal = true)
        : session(host, "/nonexistent"), renderer(session), controller(session, renderer) {
        session.ws = FreshWorkspace();
        MarkFormClean(session);
        if (withJournal) {
            journal = std::make_unique<RecoveryJournal>(folder);
        }
        controller.SetJournal(journal.get(), folder);
    }
    // Runs the toolkit's timer for `span` from `start`; each write the
    // journal starts ends before the next tick, as it does with a quick disk.
    void Wait(Clock::time_point start, std::chrono::milliseconds span) {
        for (auto at = 0ms; at <= span; at += WindowController::TickInterval) {
            controller.Tick(start + at);
            if (journal) {
                journal->Flush();
            }
        }
    }
    InterruptedHost host;
    Session session;
    FakeRenderer renderer;
    WindowController controller;
    std::unique_ptr<RecoveryJournal> journal;
};

Form Journaled(const std::string& path) {
    return ReadJournalText(ReadWholeFile(path), FreshWorkspace()).Restored.form;
}

TEST(WindowController, TypingInEveryKindOfControlIsJournaledWithoutACommand) {
    struct Typing {
        const char* Kind;
        std::function<void(Window&)> Type;
    };
    const Typing cases[] = {
        {"one-line box", [](Window& w) { w.session.ws.form.LineValues[0] = "作者の名前"; }},
        {"choice box", [](Window& w) { w.session.ws.form.ChoiceValues[0] = "Windows 11"; }},
        {"check box", [](Window& w) { w.session.ws.form.SkipEmptyItems = 1; }},
        {"option button", [](Window& w) { w.session.ws.form.HtmlBackgroundMode = 1; }},
        {"HTML box", [](Window& w) { w.session.ws.form.HtmlSettings[0] = "#102030"; }},
        {"long-text editor",
         [](Window& w) { w.renderer.heldEditorText = "一行目\r\n二行目\r\n三行目"; }},
    };
    for (const Typing& c : cases) {
        SCOPED_TRACE(c.Kind);
        test::TempFolder dir;
        Window w(dir.Path());
        c.Type(w);
        w.controller.UserInput(); // the key press itself, seen by the toolkit
        w.Wait(Clock::now(), RecoveryJournal::Quiet + 2 * WindowController::TickInterval);
        ASSERT_TRUE(IsRegularFile(w.journal->Path()));
        Form typed = w.session.ws.form;
        typed.LongTexts[static_cast<std::size_t>(w.session.ws.CurrentLongItem)] =
            w.session.ws.EditorText;
        EXPECT_NE(typed, FreshWorkspace().form);
        EXPECT_EQ(Journaled(w.journal->Path()), typed);
    }
}

TEST(WindowController, EveryEndTakesTheEditorsTypingAndOnlyACancelledLogoutAsks) {
    struct Ending {
        const char* What;
        std::function<void(WindowController&)> End;
        int Ends;
        bool Asks; // the exit question at the next close
    };
    const Ending cases[] = {
        {"an end signal", [](WindowController& c) { c.EndRequested(); }, 1, false},
        {"a logout", [](WindowController& c) { c.LogoutRequested(); }, 0, false},
        {"a logout, then the user types on",
         [](WindowController& c) {
             c.LogoutRequested();
             c.UserInput();
         },
         0, true},
    };
    for (const Ending& c : cases) {
        SCOPED_TRACE(c.What);
        test::TempFolder dir;
        Window w(dir.Path());
        w.renderer.heldEditorText = "終了の直前に入力";
        c.End(w.controller);
        EXPECT_EQ(Journaled(w.journal->Path()).LongTexts[0], "終了の直前に入力");
        EXPECT_EQ(w.renderer.ends, c.Ends);
        EXPECT_EQ(w.controller.KeepsJournal(), !c.Asks);
        EXPECT_EQ(w.controller.MayClose(), !c.Asks); // asked, the question is answered いいえ
        EXPECT_EQ(w.host.Messages.size(), c.Asks ? 1U : 0U);
    }
}

TEST(WindowController, AnEndDuringTheRestoreQuestionKeepsTheJournalOffered) {
    test::TempFolder dir;
    std::string left;
    {
        Window ended(dir.Path());
        ended.session.ws.form.LineValues[0] = "前回の作業";
        ended.controller.UserInput();
        ended.controller.LogoutRequested(); // then killed
        left = ended.journal->Path();
    }
    Window w(dir.Path());
    w.host.interrupt = [&] { w.controller.EndRequested(); };
    w.controller.OfferLeftJournals();
    EXPECT_EQ(w.host.Messages.size(), 1U);
    EXPECT_TRUE(w.controller.Ending());
    EXPECT_TRUE(w.controller.KeepsJournal());
    EXPECT_EQ(Journaled(left).LineValues[0], "前回の作業");
}

TEST(WindowController, AJournalThatCannotBeWrittenIsSaidOnceAndRetried) {
    struct Trouble {
        const char* What;
        bool WithJournal;
    };
    for (const Trouble& c : {Trouble{"every write fails", true}, Trouble{"no journal", false}}) {
        SCOPED_TRACE(c.What);
        test::TempFolder dir;
        Window w(dir.Path(), c.WithJournal);
        SetWriteFaultHook([](std::string_view step) {
            if (step == "write") {
                throw std::runtime_error("ディスクの空き容量が足りません");
            }
        });
        w.session.ws.form.LineValues[0] = "書けない";
        w.controller.UserInput();
        const Clock::time_point start = Clock::now();
        w.Wait(start, 3 * RecoveryJournal::Longest);
        SetWriteFaultHook({});
        ASSERT_EQ(w.host.Messages.size(), 1U);
        EXPECT_NE(w.host.LastMessage().Text.find(c.WithJournal ? "ディスクの空き容量" : dir.Path()),
                  std::string::npos);
        if (c.WithJournal) {
            // The disk has room again: the same state gets written without a new keystroke.
            w.Wait(start + 3 * RecoveryJournal::Longest + 100ms, RecoveryJournal::Longest);
            EXPECT_EQ(Journaled(w.journal->Path()).LineValues[0], "書けない");
        }
    }
}

} // namespace
} // namespace kelvaro

// The recovery journal: written soon after typing, whole after a failed write,
// offered once its program is gone and never while it runs, and gone after a
// clean end.

#include "recovery/journal.h"

#include "model/defaults.h"
#include "model/long_text.h"
#include "platform/file_io.h"
#include "session/edits.h"
#include "session/unsaved.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kelvaro {
namespace {

using namespace std::chrono_literals;
using test::FolderEntries;
using Clock = RecoveryJournal::Clock;

struct Window {
    explicit Window(const std::string& folder) : session(host, "/nonexistent"), journal(folder) {
        session.ws = FreshWorkspace();
        session.WindowTitle = "Kelvaro Ver 1.0.0";
        MarkFormClean(session);
    }
    void Type(const std::string& text) {
        session.ws.form.LineValues[LineSlot::Author] += text;
        NoteFormEdited(session);
    }
    test::ScriptedHost host;
    Session session;
    RecoveryJournal journal;
};

std::vector<std::string> Journals(const std::string& folder) {
    std::vector<std::string> found;
    for (const std::string& name : FolderEntries(folder)) {
        if (name.ends_with(".journal")) {
            found.push_back(name);
        }
    }
    return found;
}

TEST(Journal, WrittenWithinASecondOfTheLastChangeAndEveryFewSecondsOfTyping) {
    struct Typing {
        const char* What;
        std::vector<std::chrono::milliseconds> Keys; // when each key is typed
        std::chrono::milliseconds LookAt;
        bool Written;
    };
    const Typing cases[] = {
        {"one key, a second later", {0ms}, 1000ms, true},
        {"no change at all", {}, 6000ms, false},
        {"typing without a pause",
         {0ms, 300ms, 600ms, 900ms, 1200ms, 1500ms, 1800ms, 2100ms, 2400ms, 2700ms, 3000ms, 3300ms,
          3600ms, 3900ms, 4200ms, 4500ms, 4800ms, 5000ms},
         5000ms,
         true},
    };
    for (const Typing& c : cases) {
        SCOPED_TRACE(c.What);
        test::TempFolder dir;
        Window w(dir.Path());
        const Clock::time_point start = Clock::now();
        for (auto at = 0ms; at <= c.LookAt; at += 100ms) {
            for (auto key : c.Keys) {
                if (key == at) {
                    w.Type("a");
                }
            }
            w.journal.Watch(w.session, start + at);
        }
        w.journal.Flush();
        EXPECT_EQ(IsRegularFile(w.journal.Path()), c.Written);
    }
}

TEST(Journal, HoldsExactlyTheStateWithCharactersShiftJisLacks) {
    test::TempFolder dir;
    Window w(dir.Path());
    w.session.FormFilePath = "/home/u/改行\nの名前.ref";
    w.session.FormFileTitle = "改行\nの名前.ref";
    SelectLongItem(w.session.ws, 3);
    w.session.ws.EditorText = "𠮷野家の①\r\n二行目";
    w.Type("ｶﾅ🙂");
    w.journal.WriteNow(w.session);

    const ReadJournal read = ReadJournalText(ReadWholeFile(w.journal.Path()), FreshWorkspace());
    Form expected = w.session.ws.form;
    expected.LongTexts[3] = w.session.ws.EditorText;
    EXPECT_EQ(read.Restored.form, expected);
    EXPECT_EQ(read.Restored.CurrentLongItem, 3);
    EXPECT_EQ(read.Restored.EditorText, w.session.ws.EditorText);
    EXPECT_EQ(read.State.FormFilePath, w.session.FormFilePath);
    EXPECT_EQ(read.State.FormFileTitle, w.session.FormFileTitle);
}

TEST(Journal, AFailureAtAnyStepOfTheWriteLeavesThePreviousJournalWhole) {
    test::TempFolder dir;
    Window w(dir.Path());
    w.Type("first");
    w.journal.WriteNow(w.session);
    const std::string before = ReadWholeFile(w.journal.Path());
    for (const char* failing : {"open", "lock", "write", "fsync", "rename"}) {
        SCOPED_TRACE(failing);
        SetWriteFaultHook([&](std::string_view step) {
            if (step == failing) {
                throw std::runtime_error("killed");
            }
        });
        w.Type("more");
        w.journal.WriteNow(w.session);
        SetWriteFaultHook({});
        EXPECT_FALSE(w.journal.LastFailure().empty());
        EXPECT_EQ(ReadWholeFile(w.journal.Path()), before);
        EXPECT_EQ(Journals(dir.Path()).size(), 1U); // no half-written file beside it
    }
}

TEST(Journal, OfferedOnlyOnceItsProgramIsGoneAndRestoresFormFileAndTitle) {
    test::TempFolder dir;
    auto first = std::make_unique<Window>(dir.Path());
    first->session.FormFilePath = "/home/u/tool.ref";
    first->session.FormFileTitle = "tool.ref";
    first->session.WindowTitle = "Kelvaro Ver 1.0.0 --- tool.ref";
    first->Type("unsaved");
    first->journal.WriteNow(first->session);

    Window second(dir.Path());
    OfferLeftJournals(second.session, second.journal);
    EXPECT_TRUE(second.host.Messages.empty()); // the first is still running

    const Form typed = first->session.ws.form;
    first.reset(); // ends without its clean end, as a crash does
    Window third(dir.Path());
    OfferLeftJournals(third.session, third.journal);
    ASSERT_EQ(third.host.Messages.size(), 1U);
    EXPECT_TRUE(
        third.host.Messages[0].Text.starts_with("前回、保存されずに終了したフォームがあります（"));
    EXPECT_TRUE(third.host.Messages[0].Text.ends_with("、tool.ref）。復元しますか？"));
    EXPECT_EQ(third.host.Messages[0].DefaultButton, MessageAnswer::Yes);
    EXPECT_EQ(third.session.ws.form, typed);
    EXPECT_EQ(third.session.FormFilePath, "/home/u/tool.ref");
    EXPECT_EQ(third.session.WindowTitle, "Kelvaro Ver 1.0.0 --- tool.ref");
    EXPECT_TRUE(HasUnsavedChanges(third.session));
    // Journaled anew under the restoring program's name, the old one gone.
    EXPECT_EQ(Journals(dir.Path()).size(), 1U);
    EXPECT_TRUE(IsRegularFile(third.journal.Path()));
}

TEST(Journal, NothingIsLeftToOfferAfterACleanEndASaveOrANo) {
    struct Ending {
        const char* What;
        std::function<void(Window&)> End;
    };
    const Ending cases[] = {
        {"the exit question answered Yes", [](Window& w) { w.journal.Discard(); }},
        {"a save",
         [](Window& w) {
             MarkFormClean(w.session);
             w.journal.Watch(w.session, Clock::now());
             w.journal.Flush();
         }},
    };
    for (const Ending& c : cases) {
        SCOPED_TRACE(c.What);
        test::TempFolder dir;
        {
            Window w(dir.Path());
            w.Type("x");
            w.journal.WriteNow(w.session);
            c.End(w);
        }
        Window next(dir.Path());
        OfferLeftJournals(next.session, next.journal);
        EXPECT_TRUE(next.host.Messages.empty());
        EXPECT_TRUE(Journals(dir.Path()).empty());
    }

    // いいえ removes the journal: the start after it asks nothing.
    test::TempFolder dir;
    {
        Window w(dir.Path());
        w.Type("x");
        w.journal.WriteNow(w.session);
    }
    Window declined(dir.Path());
    declined.host.MessageAnswers.push_back(MessageAnswer::No);
    OfferLeftJournals(declined.session, declined.journal);
    EXPECT_EQ(declined.host.Messages.size(), 1U);
    EXPECT_EQ(declined.session.ws.form, FreshWorkspace().form);
    Window after(dir.Path());
    OfferLeftJournals(after.session, after.journal);
    EXPECT_TRUE(after.host.Messages.empty());
}

TEST(Journal, AnUnreadableJournalIsKeptAsideAndNamedOnce) {
    test::TempFolder dir;
    test::WriteBytes(dir.File("recovery-dead.journal"), "Kelvaro recovery journal 1\nsaved 1");
    for (int start = 0; start < 2; ++start) {
        Window w(dir.Path());
        OfferLeftJournals(w.session, w.journal);
        if (start == 0) {
            ASSERT_EQ(w.host.Messages.size(), 1U);
            EXPECT_NE(w.host.Messages[0].Text.find(dir.File("recovery-dead.journal.unreadable")),
                      std::string::npos);
        } else {
            EXPECT_TRUE(w.host.Messages.empty());
        }
    }
    EXPECT_TRUE(IsRegularFile(dir.File("recovery-dead.journal.unreadable")));
}

} // namespace
} // namespace kelvaro

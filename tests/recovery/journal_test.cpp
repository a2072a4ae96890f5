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
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
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
    std::vector<std::chrono::milliseconds> unbroken; // a key every 300 ms for 5 s
    for (auto at = 0ms; at <= 5000ms; at += 300ms) {
        unbroken.push_back(at);
    }
    const Typing cases[] = {
        {"one key, a second later", {0ms}, 1000ms, true},
        {"no change at all", {}, 6000ms, false},
        {"typing without a pause", unbroken, 5000ms, true},
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
    first->session.FormFilePath = "/home/u/改行\ntool.ref";
    first->session.FormFileTitle = "tool.ref";
    first->session.WindowTitle = "Kelvaro Ver 1.0.0 --- tool.ref";
    // 上書き保存 still compares with the file as the ended program knew it.
    const FileStamp stamp{7, 1ULL << 40, 1234, 1'700'000'000, 999'999'999};
    first->session.FormFileStamp = stamp;
    SelectLongItem(first->session.ws, 3);
    first->session.ws.EditorText = "𠮷野家の①\r\n二行目"; // not in Shift_JIS, not committed
    first->Type("ｶﾅ🙂");
    first->journal.WriteNow(first->session);

    Window second(dir.Path());
    OfferLeftJournals(second.session, second.journal);
    EXPECT_TRUE(second.host.Messages.empty()); // the first is still running

    Form typed = first->session.ws.form;
    typed.LongTexts[3] = first->session.ws.EditorText;
    first.reset(); // ends without its clean end, as a crash does
    Window third(dir.Path());
    OfferLeftJournals(third.session, third.journal);
    ASSERT_EQ(third.host.Messages.size(), 1U);
    EXPECT_TRUE(
        third.host.Messages[0].Text.starts_with("前回、保存されずに終了したフォームがあります（"));
    EXPECT_TRUE(third.host.Messages[0].Text.ends_with("、tool.ref）。復元しますか？"));
    EXPECT_EQ(third.host.Messages[0].DefaultButton, MessageAnswer::Yes);
    EXPECT_EQ(third.session.ws.form, typed);
    EXPECT_EQ(third.session.ws.CurrentLongItem, 3);
    EXPECT_EQ(third.session.ws.EditorText, typed.LongTexts[3]);
    EXPECT_EQ(third.session.FormFilePath, "/home/u/改行\ntool.ref");
    EXPECT_EQ(third.session.WindowTitle, "Kelvaro Ver 1.0.0 --- tool.ref");
    EXPECT_EQ(third.session.FormFileStamp, stamp);
    EXPECT_TRUE(HasUnsavedChanges(third.session));
    // Journaled anew under the restoring program's name, the old one gone.
    EXPECT_EQ(Journals(dir.Path()).size(), 1U);
    EXPECT_TRUE(IsRegularFile(third.journal.Path()));
}

TEST(Journal, NothingIsLeftToOfferAfterACleanEndASaveOrANo) {
    struct Ending {
        const char* What;
        std::function<void(Window&)> End;
        std::size_t AskedNext; // questions at the next start, answered いいえ
    };
    const Ending cases[] = {
        {"the exit question answered Yes", [](Window& w) { w.journal.Discard(); }, 0},
        {"a save",
         [](Window& w) {
             MarkFormClean(w.session);
             w.journal.Watch(w.session, Clock::now());
             w.journal.Flush();
         },
         0},
        {"a crash, then いいえ", [](Window&) {}, 1},
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
        for (std::size_t asked : {c.AskedNext, std::size_t{0}}) {
            Window next(dir.Path());
            next.host.MessageAnswers.push_back(MessageAnswer::No);
            OfferLeftJournals(next.session, next.journal);
            EXPECT_EQ(next.host.Messages.size(), asked);
            EXPECT_EQ(next.session.ws.form, FreshWorkspace().form);
        }
        EXPECT_TRUE(Journals(dir.Path()).empty());
    }
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

TEST(Journal, EntriesThatAreNoPlainFileAreNeverFollowedAndAreNamed) {
    test::TempFolder dir;
    test::WriteBytes(dir.File("elsewhere"), "Kelvaro recovery journal 1\n");
    struct Odd {
        const char* Name;
        std::function<void(const std::string&)> Make;
    };
    const std::vector<Odd> odd = {
        {"recovery-dir.journal",
         [](const std::string& p) { std::filesystem::create_directory(p); }},
#ifndef _WIN32 // Windows has no FIFO, and Wine's links do not lead to their file
        {"recovery-fifo.journal", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }},
        {"recovery-fifo.lock", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }},
        {"recovery-link.journal",
         [&](const std::string& p) { std::filesystem::create_symlink(dir.File("elsewhere"), p); }},
#endif
    };
    for (const Odd& o : odd) {
        o.Make(dir.File(o.Name));
    }
    Window w(dir.Path());
    OfferLeftJournals(w.session, w.journal);
    ASSERT_EQ(w.host.Messages.size(), 1U); // no question, one notice
    for (const Odd& o : odd) {
        SCOPED_TRACE(o.Name);
        EXPECT_NE(w.host.Messages[0].Text.find(dir.File(o.Name)), std::string::npos);
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(dir.File(o.Name))));
    }
    EXPECT_EQ(ReadWholeFile(dir.File("elsewhere")), "Kelvaro recovery journal 1\n");
}

} // namespace
} // namespace kelvaro

#pragma once

// The recovery journal: while the form holds unsaved work, the window's whole
// state is written to a file of this program's own in the state folder, so that
// a crash, a kill or a logout loses nothing. The window's thread only takes a
// copy of the state; a thread of the journal's own encodes it and writes it
// atomically, so typing never waits for the disk and a kill during a write
// leaves the previous journal whole.
//
// Each running program holds a lock on its journal for its whole life; a journal
// whose lock is free was left by a program that ended without its clean end, and
// is offered at the next start (OfferLeftJournals).

#include "platform/held_lock.h"
#include "recovery/journal_file.h"
#include "session/session.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kelvaro {

class RecoveryJournal {
public:
    using Clock = std::chrono::steady_clock;

    // How soon after the last change the journal is written, and how long
    // typing that never pauses may go on without one.
    static constexpr std::chrono::milliseconds Quiet{500};
    static constexpr std::chrono::milliseconds Longest{4000};

    // Takes a journal name of its own in `folder` (which must exist) and its
    // lock. Without a lock (a folder it cannot write) the journal stays off.
    explicit RecoveryJournal(std::string folder);
    // Finishes the write in hand; the journal stays for the next start.
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    bool Active() const { return lock_.has_value(); }
    const std::string& Folder() const { return folder_; }
    const std::string& Path() const { return path_; }

    // Called often by the window's timer: notices changes by the session's
    // EditCount and hands a copy of the state to the writer when it is due, or
    // removes the journal when the form has nothing unsaved any more. A write
    // that failed (a full disk, a folder made read-only) is tried again every
    // Longest.
    void Watch(Session& s, Clock::time_point now);
    // Writes the state now and waits for it (a signal, a logout, a restore).
    void WriteNow(Session& s);
    // The clean end: the journal goes, and waits for that.
    void Discard();
    // Waits until the writer has nothing in hand.
    void Flush();
    // The writer's last failure, "" when the last write went well.
    std::string LastFailure() const;
    // How many copies of the state the window's thread has taken.
    std::uint64_t Snapshots() const { return snapshots_; }

private:
    // A copy of the state whose large parts (the long texts, the item order)
    // are shared with the copy before when they have not changed, so that a
    // large form costs the window's thread a comparison, not a copy.
    struct Snapshot {
        JournalState Rest; // without the long texts and the order
        std::array<std::shared_ptr<const std::string>, LongTextCount> LongTexts;
        std::shared_ptr<const std::vector<OrderEntry>> Order;
    };
    struct Job {
        std::optional<Snapshot> Write; // nullopt: remove the journal
    };
    void Hand(Job job);
    void Run();
    Snapshot Take(Session& s);

    std::string folder_;
    std::string path_;
    std::optional<HeldLock> lock_;

    // The window's thread only
    std::uint64_t seenEdits_ = 0;
    std::uint64_t seenClean_ = 0;
    bool pending_ = false; // a change not journaled yet
    bool written_ = false; // a journal of this program may be on disk
    Clock::time_point lastChange_{};
    Clock::time_point pendingSince_{};
    Clock::time_point handedAt_{}; // when the last write was handed over
    std::uint64_t snapshots_ = 0;
    std::optional<Snapshot> last_;

    // Shared with the writer
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<Job> job_;
    bool busy_ = false;
    bool stop_ = false;
    std::string failure_;
    std::thread writer_;
};

// Offers, newest first, each journal in `folder` whose program has ended, one
// question each. はい brings the state back into the session (the form still
// counts as unsaved), journals it anew through `own` and then removes the old
// journal; the journals after it wait for the next start. いいえ removes it. A
// journal that cannot be read is renamed to "….unreadable" and the user is told
// where it lies. Journals of programs still running are never touched. When
// `ending` says the program was asked to end while a question was shown, the
// unanswered question is no いいえ: the journal stays for the next start.
void OfferLeftJournals(Session& s, RecoveryJournal& own, const std::function<bool()>& ending = {});

// True when `path` names the journal of a program that is running now: no
// other writer may touch it.
bool IsLiveJournal(const std::string& path);

// The question's text for a journal saved at `savedAt` (seconds since 1970)
// of the form file named `fileTitle` ("" for a form without a file).
std::string RestoreQuestion(std::int64_t savedAt, const std::string& fileTitle);

} // namespace kelvaro

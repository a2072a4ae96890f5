#include "recovery/journal.h"

#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/local_time.h"
#include "platform/paths.h"
#include "platform/system_facts.h"
#include "session/unsaved.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

// Every name starts so: the state folder keeps other things of the program too.
constexpr std::string_view NameStart = "recovery-";
constexpr std::string_view JournalEnd = ".journal";
constexpr std::string_view LockEnd = ".lock";
constexpr std::string_view UnreadableEnd = ".unreadable";

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A name no other program takes: the process and a random part, since
// process numbers come round again.
std::string OwnName() {
    std::random_device random;
    char part[32];
    std::snprintf(part, sizeof part, "%ld-%08x", CurrentProcessId(),
                  static_cast<unsigned>(random()));
    return std::string(NameStart) + part;
}

std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::string Stem(const std::string& journalPath) {
    return journalPath.substr(0, journalPath.size() - JournalEnd.size());
}

struct LeftJournal {
    std::string Path;
    HeldLock Lock;
    std::string Text;
    std::int64_t SavedAt = 0;
};

// The journals whose lock this program could take: their programs have ended.
// A lock file left without its journal is removed on the way. An entry of
// ours that is no plain file (a link, a FIFO, a device, a folder) is never
// opened, locked or removed: its path goes into `odd`.
std::vector<LeftJournal> FindLeftJournals(const std::string& folder,
                                          std::vector<std::string>& odd) {
    std::vector<LeftJournal> left;
    std::vector<std::string> names;
    try {
        names = ListFileNames(folder);
    } catch (const RuntimeError&) {
        return left;
    }
    const std::vector<std::string> others = ListOtherEntryNames(folder);
    for (const std::string& name : others) {
        if (name.starts_with(NameStart)) {
            odd.push_back(JoinPath(folder, name));
        }
    }
    for (const std::string& name : names) {
        if (!name.starts_with(NameStart) ||
            std::find(others.begin(), others.end(), name) != others.end()) {
            continue;
        }
        const std::string path = JoinPath(folder, name);
        if (EndsWith(name, LockEnd)) {
            const std::string stem = path.substr(0, path.size() - LockEnd.size());
            if (!PathExists(stem + std::string(JournalEnd))) {
                if (auto lock = HeldLock::TryTake(path)) {
                    lock->RemoveAndRelease();
                }
            }
            continue;
        }
        if (!EndsWith(name, JournalEnd)) {
            continue;
        }
        auto lock = HeldLock::TryTake(Stem(path) + std::string(LockEnd));
        // Taken, the journal may have gone with its program's clean end.
        if (!lock || !IsRegularFile(path)) {
            continue;
        }
        left.push_back(LeftJournal{path, std::move(*lock), {}, 0});
    }
    return left;
}

void ShowUnreadable(Session& s, const std::string& keptAt) {
    s.host.ShowMessage(
        MessageRequest{"前回、保存されずに終了したフォームの記録を読み込めませんでした。\r\n"
                       "記録は次の場所に残してあります。\r\n" +
                           keptAt,
                       AppInfoString(AppInfo::ProductAndVersion), MessageButtons::Ok,
                       MessageIcon::Exclamation, MessageAnswer::Ok});
}

void ShowOddEntries(Session& s, const std::vector<std::string>& odd) {
    std::string text = "前回の記録を探す場所に、ファイルではないものがありました。\r\n"
                       "開かずに、そのまま残してあります。";
    for (const std::string& path : odd) {
        text += "\r\n" + path;
    }
    s.host.ShowMessage(MessageRequest{text, AppInfoString(AppInfo::ProductAndVersion),
                                      MessageButtons::Ok, MessageIcon::Exclamation,
                                      MessageAnswer::Ok});
}

void RestoreState(Session& s, ReadJournal read) {
    s.ws = std::move(read.Restored);
    s.FormFilePath = std::move(read.State.FormFilePath);
    s.FormFileTitle = std::move(read.State.FormFileTitle);
    s.WindowTitle = std::move(read.State.WindowTitle);
    // The file as the ended program last read or wrote it: 上書き保存 still
    // asks when another program changed it meanwhile.
    s.FormFileStamp = read.State.FormFileStamp;
    s.Notify(Change::Form);
    s.Notify(Change::Order);
    s.Notify(Change::Emphasis);
    s.Notify(Change::LongText);
    s.Notify(Change::Title);
    s.ChangedRegardless = true;
}

} // namespace

RecoveryJournal::RecoveryJournal(std::string folder) : folder_(std::move(folder)) {
    const std::string stem = JoinPath(folder_, OwnName());
    path_ = stem + std::string(JournalEnd);
    lock_ = HeldLock::TryTake(stem + std::string(LockEnd));
    if (lock_) {
        writer_ = std::thread([this] { Run(); });
    }
}

RecoveryJournal::~RecoveryJournal() {
    if (!writer_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    writer_.join();
}

void RecoveryJournal::Watch(Session& s, Clock::time_point now) {
    if (!Active()) {
        return;
    }
    if (s.EditCount != seenEdits_ || s.CleanEditCount != seenClean_) {
        seenEdits_ = s.EditCount;
        seenClean_ = s.CleanEditCount;
        if (!pending_) {
            pendingSince_ = now;
        }
        pending_ = true;
        lastChange_ = now;
        // Saved, opened or made new just now: the journal of the previous
        // state goes at once.
        if (s.EditCount == s.CleanEditCount && !s.ChangedRegardless) {
            pending_ = false;
            if (written_) {
                written_ = false;
                Hand(Job{});
            }
            return;
        }
    }
    if (!pending_ && written_ && now - handedAt_ >= Longest && !LastFailure().empty()) {
        // The last write failed: the same state is written again, at once.
        pending_ = true;
        pendingSince_ = now - Longest;
    }
    if (!pending_ || (now - lastChange_ < Quiet && now - pendingSince_ < Longest)) {
        return;
    }
    {
        // A large form may still be on its way to the disk: the next copy
        // waits for it rather than piling up behind it.
        std::lock_guard<std::mutex> hold(mutex_);
        if (busy_) {
            return;
        }
    }
    pending_ = false;
    if (!HasUnsavedChanges(s)) {
        if (written_) {
            written_ = false;
            Hand(Job{});
        }
        return;
    }
    written_ = true;
    handedAt_ = now;
    Hand(Job{Take(s)});
}

void RecoveryJournal::WriteNow(Session& s) {
    if (!Active()) {
        return;
    }
    seenEdits_ = s.EditCount;
    pending_ = false;
    if (HasUnsavedChanges(s)) {
        written_ = true;
        Hand(Job{Take(s)});
    } else if (written_) {
        written_ = false;
        Hand(Job{});
    }
    Flush();
}

void RecoveryJournal::Discard() {
    if (!Active()) {
        return;
    }
    pending_ = false;
    written_ = false;
    Hand(Job{});
    Flush();
}

void RecoveryJournal::Flush() {
    std::unique_lock<std::mutex> hold(mutex_);
    idle_.wait(hold, [this] { return !job_ && !busy_; });
}

std::string RecoveryJournal::LastFailure() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return failure_;
}

RecoveryJournal::Snapshot RecoveryJournal::Take(Session& s) {
    ++snapshots_;
    Snapshot taken;
    const Form& form = s.ws.form;
    const auto editing = static_cast<std::size_t>(s.ws.CurrentLongItem);
    for (std::size_t slot = 0; slot < LongTextCount; ++slot) {
        const std::string& text = slot == editing ? s.ws.EditorText : form.LongTexts[slot];
        const auto& before = last_ ? last_->LongTexts[slot] : nullptr;
        taken.LongTexts[slot] =
            before && *before == text ? before : std::make_shared<const std::string>(text);
    }
    const auto& order = last_ ? last_->Order : nullptr;
    taken.Order = order && *order == form.Order
                      ? order
                      : std::make_shared<const std::vector<OrderEntry>>(form.Order);
    JournalState& rest = taken.Rest;
    {
        // Everything else of the form, without copying its large parts: they
        // are swapped out for the copy and back (a swap moves no text).
        Form& inHand = s.ws.form;
        std::array<std::string, LongTextCount> texts;
        std::vector<OrderEntry> entries;
        texts.swap(inHand.LongTexts);
        entries.swap(inHand.Order);
        struct Back {
            Form& form;
            std::array<std::string, LongTextCount>& texts;
            std::vector<OrderEntry>& entries;
            ~Back() {
                form.LongTexts.swap(texts);
                form.Order.swap(entries);
            }
        } back{inHand, texts, entries};
        rest.form = inHand;
    }
    rest.CurrentLongItem = s.ws.CurrentLongItem;
    rest.FormFilePath = s.FormFilePath;
    rest.FormFileTitle = s.FormFileTitle;
    rest.WindowTitle = s.WindowTitle;
    rest.FormFileStamp = s.FormFileStamp;
    rest.SavedAt = Now();
    last_ = taken;
    return taken;
}

void RecoveryJournal::Hand(Job job) {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        // Only the newest state matters: one not yet started is replaced.
        job_ = std::move(job);
    }
    wake_.notify_all();
}

void RecoveryJournal::Run() {
    std::unique_lock<std::mutex> hold(mutex_);
    for (;;) {
        wake_.wait(hold, [this] { return job_ || stop_; });
        if (!job_) {
            return;
        }
        Job job = std::move(*job_);
        job_.reset();
        busy_ = true;
        hold.unlock();
        std::string failure;
        try {
            if (job.Write) {
                // Put together here, off the window's thread.
                JournalState& state = job.Write->Rest;
                for (std::size_t slot = 0; slot < LongTextCount; ++slot) {
                    state.form.LongTexts[slot] = *job.Write->LongTexts[slot];
                }
                state.form.Order = *job.Write->Order;
                WriteFileReplacing(path_, JournalText(state));
            } else if (PathExists(path_) && !RemoveFile(path_)) {
                failure = path_ + ": could not be removed";
            }
        } catch (const std::exception& error) {
            failure = error.what();
        }
        hold.lock();
        busy_ = false;
        failure_ = std::move(failure);
        idle_.notify_all();
    }
}

bool IsLiveJournal(const std::string& path) {
    const std::string name = FileName(path);
    if (!name.starts_with(NameStart) || !EndsWith(name, JournalEnd)) {
        return false;
    }
    const std::string lock = Stem(path) + std::string(LockEnd);
    // Taken for a moment, the lock shows its program has ended; it stays.
    return IsRegularFile(lock) && !HeldLock::TryTake(lock).has_value();
}

std::string RestoreQuestion(std::int64_t savedAt, const std::string& fileTitle) {
    const std::tm local = LocalTimeOf(savedAt);
    char time[32];
    std::strftime(time, sizeof time, "%Y/%m/%d %H:%M", &local);
    return std::string("前回、保存されずに終了したフォームがあります（") + time + "、" +
           (fileTitle.empty() ? std::string("名前のないフォーム") : fileTitle) +
           "）。復元しますか？";
}

void OfferLeftJournals(Session& s, RecoveryJournal& own, const std::function<bool()>& ending) {
    std::vector<std::string> odd;
    std::vector<LeftJournal> left = FindLeftJournals(own.Folder(), odd);
    if (!odd.empty()) {
        ShowOddEntries(s, odd);
    }
    std::vector<std::pair<LeftJournal*, ReadJournal>> readable;
    for (LeftJournal& journal : left) {
        std::optional<ReadJournal> read;
        try {
            journal.Text = ReadWholeFile(journal.Path);
            read = ReadJournalText(journal.Text, s.ws);
        } catch (const std::exception&) {
            // Kept aside under a name no start looks for again.
            const std::string keptAt = journal.Path + std::string(UnreadableEnd);
            if (std::rename(journal.Path.c_str(), keptAt.c_str()) == 0) {
                ShowUnreadable(s, keptAt);
            } else if (RemoveFile(journal.Path)) {
                ShowUnreadable(s, "（消去しました）");
            }
            journal.Lock.RemoveAndRelease();
            continue;
        }
        readable.emplace_back(&journal, std::move(*read));
    }
    std::stable_sort(readable.begin(), readable.end(), [](const auto& a, const auto& b) {
        return a.second.State.SavedAt > b.second.State.SavedAt;
    });
    for (auto& [journal, read] : readable) {
        MessageRequest question{RestoreQuestion(read.State.SavedAt, read.State.FormFileTitle),
                                AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                                MessageIcon::Exclamation, MessageAnswer::Yes};
        const MessageAnswer answer = s.host.ShowMessage(question);
        if (ending && ending()) {
            return; // unanswered: the journal and the rest wait for the next start
        }
        if (answer == MessageAnswer::Yes) {
            RestoreState(s, std::move(read));
            own.WriteNow(s);
            // Only once the state is journaled anew does the old journal go.
            if (own.LastFailure().empty()) {
                RemoveFile(journal->Path);
                journal->Lock.RemoveAndRelease();
            }
            return;
        }
        RemoveFile(journal->Path);
        journal->Lock.RemoveAndRelease();
    }
}

} // namespace kelvaro

// The time the window's thread spends on the recovery journal while the user
// types, against the same keystrokes with the journal off. Each keystroke is
// followed by a pause long enough for the journal to be due, so every keystroke
// makes a write; the thread only compares and copies what changed, the disk is
// the writer's. (A large form whose write is still under way is copied again
// only once that write is done: journaled less often, never waited for.)
//
// kelvaro-journal-bench [keystrokes]   (default 200)

#include "bench/bench_cases.h"
#include "recovery/journal.h"
#include "session/edits.h"
#include "session/unsaved.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace kelvaro;
using Clock = std::chrono::steady_clock;

class SilentHost : public Host {
public:
    MessageAnswer ShowMessage(const MessageRequest& request) override {
        return request.DefaultButton;
    }
    std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    FontChoice ShowFontDialog(const FontChoice& preset) override { return preset; }
    void SetClipboardText(const std::string&) override {}
    void OpenDocument(const std::string&, const std::string&) override {}
    std::string TodayText() override { return "2026/12/08"; }
    void RunBusy(const std::string&, const std::function<void()>& work) override { work(); }
};

struct Run {
    double Seconds = 0;      // on the window's thread, the first write left out
    double FirstSeconds = 0; // the keystroke of the first write, which copies all
    std::uint64_t Writes = 0;
};

// `keys` keystrokes into 作者名, each followed by the window's timer as it runs
// after a pause of a second (the journal is due then) when `journal` is given.
// Only the window's thread is timed; the writer is let finish between keys as
// it does while a person types, so that every keystroke makes a write.
Run Type(const Workspace& start, int keys, RecoveryJournal* journal) {
    SilentHost host;
    Session s(host, "/nonexistent");
    s.ws = start;
    MarkFormClean(s);
    Clock::time_point pretend = Clock::now();
    Run run;
    for (int key = 0; key < keys; ++key) {
        const Clock::time_point began = Clock::now();
        s.ws.form.LineValues[0] += key % 2 == 0 ? "あ" : "a";
        NoteFormEdited(s);
        if (journal != nullptr) {
            journal->Watch(s, pretend);
            pretend += std::chrono::seconds(1);
            journal->Watch(s, pretend);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
        (key == 0 ? run.FirstSeconds : run.Seconds) += seconds;
        if (journal != nullptr) {
            journal->Flush();
        }
    }
    run.Writes = journal != nullptr ? journal->Snapshots() : 0;
    return run;
}

void Measure(const char* name, const Workspace& ws, int keys) {
    const std::string folder = bench::TempPath("journal-bench");
    std::filesystem::create_directories(folder);
    const Run off = Type(ws, keys, nullptr);
    Run on;
    {
        RecoveryJournal journal(folder);
        on = Type(ws, keys, &journal);
        journal.Discard();
    }
    std::filesystem::remove_all(folder);
    const double later = on.Writes > 1 ? static_cast<double>(on.Writes - 1) : 1.0;
    const double perWriteMs = (on.Seconds - off.Seconds) * 1000.0 / later;
    std::printf("%-30s %4d keys  journal off %8.3f ms  on %8.3f ms  ratio %7.2fx  "
                "%4llu writes  %7.3f ms per write on the window's thread (the first %7.3f ms)\n",
                name, keys, off.Seconds * 1000.0, on.Seconds * 1000.0,
                off.Seconds > 0 ? on.Seconds / off.Seconds : 0.0,
                static_cast<unsigned long long>(on.Writes), perWriteMs,
                (on.FirstSeconds - off.FirstSeconds) * 1000.0);
}

} // namespace

int main(int argc, char** argv) {
    const int keys = argc > 1 ? std::atoi(argv[1]) : 200;
    Measure("typical form (15 x 200 B)", bench::BigWorkspace(200), keys);
    Measure("100,000 entries + 15 x 1 MiB", bench::BigWorkspace(1024 * 1024, 100000), keys);
    return 0;
}

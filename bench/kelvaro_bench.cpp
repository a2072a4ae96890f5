// kelvaro-bench: Google Benchmark cases for composing, form files and the item
// order, and `--check`, which measures each goal as a ratio against a baseline
// run in the same process and prints one line per goal.

#include "bench/bench_cases.h"

#include "compose/compose_readme.h"
#include "files/form_file.h"
#include "model/long_text.h"
#include "settings/defaults.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace kelvaro;
using namespace kelvaro::bench;

namespace {

constexpr std::size_t MiB = 1024 * 1024;

// ---- Google Benchmark cases -------------------------------------------------

void BM_ComposeText(benchmark::State& state) {
    Workspace ws = BigWorkspace(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComposeAndEncode(ws.form, false));
    }
}
BENCHMARK(BM_ComposeText)->Arg(64 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_ComposeHtml(benchmark::State& state) {
    Workspace ws = BigWorkspace(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComposeAndEncode(ws.form, true));
    }
}
BENCHMARK(BM_ComposeHtml)->Arg(64 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_IconvBaseline(benchmark::State& state) {
    std::string all = AllLongTexts(BigWorkspace(static_cast<std::size_t>(state.range(0))).form);
    for (auto _ : state) {
        benchmark::DoNotOptimize(IconvEncode(all));
    }
}
BENCHMARK(BM_IconvBaseline)->Arg(64 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

void BM_RenameUserItem(benchmark::State& state) {
    Workspace ws = BigWorkspace(0, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        RenameUserItem(ws, 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenameUserItem)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_FormFileRoundTrip(benchmark::State& state) {
    Workspace ws = BigWorkspace(static_cast<std::size_t>(state.range(0)), 1000);
    const std::string path = TempPath("roundtrip.ref");
    for (auto _ : state) {
        WriteFormFile(ws, path);
        Workspace back = BigWorkspace(0);
        ReadFormFile(back, path);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_FormFileRoundTrip)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

// ---- goal check -------------------------------------------------------------

// The fastest of several runs: the least disturbed by whatever else the machine does.
double Seconds(const std::function<void()>& work, int runs = 5) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

struct Goal {
    std::string name;
    double measured;
    double limit;
    std::string unit = "x";
};

long PeakKiB(const std::string& self, const std::vector<std::string>& args) {
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(self.c_str()));
        for (const auto& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss; // KiB on Linux
}

std::string CpuModel() {
    FILE* f = std::fopen("/proc/cpuinfo", "r");
    std::string model = "unknown processor";
    if (f == nullptr) {
        return model;
    }
    char line[512];
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::strncmp(line, "model name", 10) == 0) {
            const char* colon = std::strchr(line, ':');
            model = colon != nullptr ? colon + 2 : line;
            model.erase(model.find_last_not_of("\r\n") + 1);
            break;
        }
    }
    std::fclose(f);
    return model;
}

// Composing, writing and reading one form: the cost that must grow linearly.
double FileAndComposeCost(std::size_t bytesPerText, const std::string& path) {
    Workspace ws = BigWorkspace(bytesPerText, 0);
    return Seconds([&] {
        ComposeAndEncode(ws.form, false);
        ComposeAndEncode(ws.form, true);
        WriteFormFile(ws, path);
        Workspace back = FreshWorkspace();
        ReadFormFile(back, path);
    });
}

int Check(const std::string& self) {
    std::vector<Goal> goals;
    std::size_t sink = 0;
    const std::string path = TempPath("check.ref");
    const std::string plain = TempPath("plain.bin");

    {
        Workspace ws = BigWorkspace(MiB);
        const std::string text = ComposeReadMe(ws.form, false);
        const std::string html = ComposeReadMe(ws.form, true);
        double measured = Seconds(
            [&] { sink += ComposeAndEncode(ws.form, false) + ComposeAndEncode(ws.form, true); });
        double baseline =
            Seconds([&] { sink += IconvEncode(text).size() + IconvEncode(html).size(); });
        goals.push_back({"compose 15 x 1 MiB text + HTML to CP932", measured / baseline, 1.5});
    }
    {
        Workspace ws = BigWorkspace(MiB);
        const std::string utf8 = FormFileText(ws.form);
        double write = Seconds([&] { WriteFormFile(ws, path); });
        double writeBase = Seconds([&] { PlainWrite(plain, IconvEncode(utf8)); });
        goals.push_back({"write a 15 x 1 MiB form file", write / writeBase, 1.5});
        double read = Seconds([&] {
            Workspace back = FreshWorkspace();
            ReadFormFile(back, path);
        });
        double readBase = Seconds([&] { sink += IconvDecode(PlainRead(plain)).size(); });
        goals.push_back({"read a 15 x 1 MiB form file", read / readBase, 1.5});
    }
    {
        Workspace ws = BigWorkspace(0, 100000);
        double rename = Seconds([&] { RenameUserItem(ws, 2); }, 31);
        double pass = Seconds([&] { sink += KeyPass(ws.form, "追加3"); }, 31);
        goals.push_back({"RenameUserItem over 100,000 entries", rename / pass, 2.0});
    }
    {
        Workspace ws = BigWorkspace(MiB, 100000);
        WriteFormFile(ws, path);
        const std::string bytes = PlainRead(path);
        double open = Seconds([&] {
            Workspace back = FreshWorkspace();
            ReadFormFile(back, path);
        });
        double base = Seconds([&] { sink += IconvDecode(PlainRead(path)).size(); });
        goals.push_back({"open 100,000 entries + 15 x 1 MiB", open / base, 2.0});
        long empty = PeakKiB(self, {"--peak-empty"});
        long opened = PeakKiB(self, {"--peak-open", path});
        double fileKiB = static_cast<double>(bytes.size()) / 1024.0;
        goals.push_back({"  peak memory above the empty program / file size",
                         static_cast<double>(opened - empty) / fileKiB, 4.0});
    }
    {
        double one = FileAndComposeCost(64 * 1024, path);
        double four = FileAndComposeCost(4 * 64 * 1024, path);
        double sixteen = FileAndComposeCost(16 * 64 * 1024, path);
        goals.push_back({"compose + file cost, 4x input / 1x", four / one, 4.5});
        goals.push_back({"compose + file cost, 16x input / 1x", sixteen / one, 18.0});
    }
    std::remove(path.c_str());
    std::remove(plain.c_str());

    std::printf("kelvaro-bench --check on %s, %ld cores\n", CpuModel().c_str(),
                sysconf(_SC_NPROCESSORS_ONLN));
    int failed = 0;
    for (const auto& g : goals) {
        bool ok = g.measured <= g.limit;
        failed += ok ? 0 : 1;
        std::printf("%-52s %7.2f%s  goal <= %5.2f%s  %s\n", g.name.c_str(), g.measured,
                    g.unit.c_str(), g.limit, g.unit.c_str(), ok ? "ok" : "FAIL");
    }
    benchmark::DoNotOptimize(sink);
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--check") == 0) {
        // The memory goal starts this program again as a child process.
        char self[4096];
        ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        return Check(n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string(argv[0]));
    }
    // Child processes of the memory goal: the program alone, and opening a form.
    if (argc >= 2 && std::strcmp(argv[1], "--peak-empty") == 0) {
        Workspace ws = FreshWorkspace();
        return ws.form.Order.empty() ? 1 : 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--peak-open") == 0) {
        Workspace ws = FreshWorkspace();
        ReadFormFile(ws, argv[2]);
        return ws.form.Order.empty() ? 1 : 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

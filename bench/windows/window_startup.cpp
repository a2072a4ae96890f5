// kelvaro-startup-bench.exe: how long Kelvaro.exe takes from its process start
// to its first painted window, against a minimal Win32 window (a menu
// "ファイル(&F)", a tab control with a tab "１行項目" and a label "作者名", the
// system's UI font) started the same way in the same run. Under Wine most of
// either time is Wine's own, so only the ratio says anything.
//
//   kelvaro-startup-bench.exe --check [runs]   one line: name, ratio, goal, ok/FAIL
//   kelvaro-startup-bench.exe --bare           (child) the minimal window
//
// A start counts as done when the child has a visible top-level window and
// its message loop is idle again (WaitForInputIdle: its first WM_PAINT has
// been handled); the child is then ended.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kGoal = 1.5;

int RunBareWindow() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"KelvaroBareWindow";
    RegisterClassExW(&wc);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"ファイル(&F)");
    HWND window =
        CreateWindowExW(0, wc.lpszClassName, L"Kelvaro", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 472, 400, nullptr, bar, wc.hInstance, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 4, 4, 440, 330,
                                window, nullptr, wc.hInstance, nullptr);
    SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"１行項目");
    SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    HWND label = CreateWindowExW(0, WC_STATICW, L"作者名", WS_CHILD | WS_VISIBLE, 20, 40, 100, 20,
                                 window, nullptr, wc.hInstance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}

struct Search {
    DWORD Process;
    bool Found;
};

bool HasVisibleWindow(DWORD process) {
    Search search{process, false};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->Process && IsWindowVisible(window) != FALSE) {
                s->Found = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Seconds from the start of `commandLine` to its first painted window; < 0
// when it showed none.
double TimeToWindow(std::wstring commandLine) {
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    PROCESS_INFORMATION process{};
    const auto begun = std::chrono::steady_clock::now();
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &start, &process) == FALSE) {
        return -1;
    }
    double seconds = -1;
    // The minimal window is this console program run again, which Windows
    // does not wait for: the visible window tells for both.
    WaitForInputIdle(process.hProcess, 60000);
    while (std::chrono::steady_clock::now() - begun < std::chrono::seconds(60)) {
        if (HasVisibleWindow(process.dwProcessId)) {
            // Its first paint is handled once its loop is idle again.
            WaitForInputIdle(process.hProcess, 1000);
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
            break;
        }
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring Beside(const std::wstring& name) {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"--bare") {
        return RunBareWindow();
    }
    if (argc < 2 || std::wstring(argv[1]) != L"--check") {
        std::fprintf(stderr, "usage: kelvaro-startup-bench --check [runs]\n");
        return 2;
    }
    const int runs = argc >= 3 ? std::max(1, _wtoi(argv[2])) : 7;
    const std::wstring bare = L"\"" + Beside(L"kelvaro-startup-bench.exe") + L"\" --bare";
    const std::wstring kelvaro = L"\"" + Beside(L"Kelvaro.exe") + L"\"";
    std::vector<double> bareTimes;
    std::vector<double> kelvaroTimes;
    // Taken in turn, so that a slow spell of the machine weighs on both.
    for (int run = 0; run < runs; ++run) {
        const double b = TimeToWindow(bare);
        const double k = TimeToWindow(kelvaro);
        if (b < 0 || k < 0) {
            std::fprintf(stderr, "kelvaro-startup-bench: the %s showed no window\n",
                         b < 0 ? "minimal window" : "Kelvaro window");
            return 1;
        }
        bareTimes.push_back(b);
        kelvaroTimes.push_back(k);
    }
    const double ratio = Median(kelvaroTimes) / Median(bareTimes);
    std::printf("%-52s %7.2fx  goal <= %5.2fx  %s   (median %.1f ms vs %.1f ms, %d runs)\n",
                "Kelvaro.exe to first window vs a minimal Win32 window", ratio, kGoal,
                ratio <= kGoal ? "ok" : "FAIL", Median(kelvaroTimes) * 1e3, Median(bareTimes) * 1e3,
                runs);
    return ratio <= kGoal ? 0 : 1;
}

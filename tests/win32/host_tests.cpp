#include "host/busy_work.h"
#include "platform/error.h"
#include "win32/dialog_answerer.h"
#include "win32/wide_text.h"
#include "win32/win32_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace kelvaro::win32 {
namespace {

using testing::DialogAnswerer;

// The words of a message box's buttons, whatever the language of Windows.
const std::wstring kYes = L"はい(&Y)";
const std::wstring kNo = L"いいえ(&N)";
const std::wstring kCancel = L"キャンセル";

struct BoxCase {
    const char* Name;
    MessageButtons Buttons;
    MessageAnswer Default;
    int Pressed; // what the user does: a button, or IDCANCEL for Escape
    std::vector<std::wstring> Shown;
    int ShownDefault;
    MessageAnswer Expected;
};

TEST(Win32Host, MessageBoxesShowTheAskedButtonsAndReportThePressedOne) {
    const BoxCase cases[] = {
        {"Ok", MessageButtons::Ok, MessageAnswer::Ok, IDOK, {L"OK"}, IDOK, MessageAnswer::Ok},
        {"yes pressed",
         MessageButtons::YesNo,
         MessageAnswer::Yes,
         IDYES,
         {kYes, kNo},
         IDYES,
         MessageAnswer::Yes},
        {"no by default",
         MessageButtons::YesNo,
         MessageAnswer::No,
         IDNO,
         {kYes, kNo},
         IDNO,
         MessageAnswer::No},
        {"closed, no cancel button",
         MessageButtons::YesNo,
         MessageAnswer::Yes,
         IDCANCEL,
         {kYes, kNo},
         IDYES,
         MessageAnswer::No},
        {"cancel by default",
         MessageButtons::YesNoCancel,
         MessageAnswer::Cancel,
         IDCANCEL,
         {kYes, kNo, kCancel},
         IDCANCEL,
         MessageAnswer::Cancel},
        {"yes against no",
         MessageButtons::YesNoCancel,
         MessageAnswer::No,
         IDYES,
         {kYes, kNo, kCancel},
         IDNO,
         MessageAnswer::Yes},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Win32Host host;
        DialogAnswerer answerer([&](HWND dialog) {
            if (c.Pressed == IDCANCEL && c.Buttons != MessageButtons::YesNoCancel) {
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            } else {
                DialogAnswerer::Press(dialog, c.Pressed);
            }
        });
        const MessageRequest request{"一行目\r\n二行目", "Kelvaro の確認", c.Buttons,
                                     MessageIcon::Exclamation, c.Default};

        const MessageAnswer answer = host.ShowMessage(request);

        ASSERT_EQ(answerer.Seen().size(), 1u) << "exactly one box";
        const auto& seen = answerer.Seen().front();
        EXPECT_EQ(seen.Caption, Widen(request.Title));
        EXPECT_EQ(seen.Buttons, c.Shown);
        EXPECT_EQ(seen.DefaultId, c.ShownDefault);
        bool textShown = false;
        for (const auto& text : seen.Texts) {
            textShown = textShown || text.find(L"一行目\n二行目") != std::wstring::npos;
        }
        EXPECT_TRUE(textShown) << "the lines, broken where the core broke them";
        EXPECT_EQ(answer, c.Expected);
    }
}

// A folder of the test's own under the system's temporary folder.
std::filesystem::path FreshFolder(const char* name) {
    const auto folder = std::filesystem::temp_directory_path() / L"kelvaro-win32" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

struct SaveCase {
    const char* Name;
    bool FolderAsked;      // the request names a folder; else the last file's folder counts
    std::string Typed;     // what the user types into the name box; empty: takes the proposal
    std::string Extension; // the request's default extension
    std::string Saved;     // the file name the dialog must report
};

TEST(Win32Host, SaveDialogAnswersWithTheTypedNameInTheAskedFolder) {
    const SaveCase cases[] = {
        {"typed-with-extension", true, "読んでね.txt", "txt", "読んでね.txt"},
        {"extension-added", true, "読んでね", "txt", "読んでね.txt"},
        {"no-extension-asked", true, "README", "", "README"},
        {"proposal-in-asked-folder", true, "", "txt", "前の名前.txt"},
        {"proposal-in-its-own-folder", false, "", "txt", "前の名前.txt"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto folder = FreshFolder(c.Name);
        Win32Host host;
        std::wstring proposed;
        DialogAnswerer answerer([&](HWND dialog) {
            // The name box is a combo box on explorer-style dialogs, an edit on others.
            const HWND nameBox = GetDlgItem(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1);
            proposed = DialogAnswerer::TextOf(nameBox);
            if (!c.Typed.empty()) {
                SetWindowTextW(nameBox, Widen(c.Typed).c_str());
            }
            DialogAnswerer::Press(dialog, IDOK);
        });
        FileDialogRequest request;
        request.Kind = FileDialogKind::Save;
        request.Title = "名前を付けて保存";
        request.Filter = "テキスト文書|*.txt|すべてのファイル|*.*";
        request.Options.OverwritePrompt = true;
        // The last file chosen lies elsewhere unless its folder is the one to open.
        request.InitialFolder = c.FolderAsked ? Narrow(folder.wstring()) : "";
        request.InitialFileName = c.FolderAsked ? "C:\\elsewhere\\前の名前.txt"
                                                : Narrow((folder / L"前の名前.txt").wstring());
        request.DefaultExtension = c.Extension;

        const auto result = host.ShowFileDialog(request);

        ASSERT_EQ(answerer.Seen().size(), 1u) << "exactly one dialog";
        EXPECT_EQ(answerer.Seen().front().Caption, Widen(request.Title));
        // The dialog shows the name alone, in whichever folder it opened.
        EXPECT_EQ(proposed, L"前の名前.txt");
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(Widen(result->Path), (folder / Widen(c.Saved)).wstring());
        EXPECT_EQ(result->FileTitle, c.Saved);
        EXPECT_EQ(result->FilterIndex, 0);
    }
}

TEST(Win32HostFileDialog, CancelReportsNothing) {
    Win32Host host;
    DialogAnswerer answerer([](HWND dialog) { DialogAnswerer::Press(dialog, IDCANCEL); });
    FileDialogRequest request;
    request.Title = "開く";
    request.Filter = "ReadMe フォーム|*.ref";
    EXPECT_FALSE(host.ShowFileDialog(request).has_value());
    EXPECT_EQ(answerer.Seen().size(), 1u);
}

std::wstring ClipboardText() {
    if (OpenClipboard(nullptr) == FALSE) {
        return L"(not opened)";
    }
    std::wstring text = L"(no text)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

TEST(Win32Host, ClipboardHoldsTheTextAsUnicode) {
    const std::string texts[] = {"■ソフト名：テスト\r\n■作者：¥〜—‖−", "ascii only", "",
                                 std::string(40000, 'x') + "終"};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 20));
        Win32Host host;
        host.SetClipboardText(text);
        EXPECT_EQ(ClipboardText(), Widen(text));
    }
}

TEST(Win32HostClipboard, HeldByAnotherProgramIsErrorClipboardOpen) {
    // Another thread's window holds the clipboard open for longer than the
    // host waits for it.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        OpenClipboard(window);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(window);
    });
    WaitForSingleObject(opened, 10000);
    Win32Host host;
    int number = 0;
    try {
        host.SetClipboardText("コピー");
    } catch (const RuntimeError& error) {
        number = error.Number();
    }
    SetEvent(release);
    other.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(number, ErrorNo::ClipboardOpen);
}

FontChoice Preset(double points, bool bold, bool italic, bool underline, bool strike, Colour colour,
                  bool picked) {
    return FontChoice{FontSpec{"Noto Sans CJK JP", points, bold, italic, strike, underline}, colour,
                      picked};
}

TEST(Win32Host, FontDialogOkWithoutChangesKeepsEveryValue) {
    const FontChoice presets[] = {
        Preset(9, false, false, false, false, {}, false),
        Preset(12, true, true, false, false, {128, 0, 0}, true),
        Preset(10, false, false, true, true, {}, true),
    };
    for (const FontChoice& preset : presets) {
        SCOPED_TRACE(preset.Font.SizePoints);
        Win32Host host;
        DialogAnswerer answerer([](HWND dialog) { DialogAnswerer::Press(dialog, IDOK); });
        const FontChoice chosen = host.ShowFontDialog(preset);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(chosen, preset) << chosen.Font.Name << " " << chosen.Font.SizePoints;
    }
}

TEST(Win32HostFontDialog, CancelKeepsThePreset) {
    Win32Host host;
    DialogAnswerer answerer([](HWND dialog) { DialogAnswerer::Press(dialog, IDCANCEL); });
    const FontChoice preset = Preset(14, true, false, false, false, {0, 0, 255}, true);
    EXPECT_EQ(host.ShowFontDialog(preset), preset);
}

// What the timer below saw: it runs on the test's thread, from the loop that
// RunBusy keeps going, and a timer procedure takes no context of its own.
struct BusyTick {
    HANDLE Ticked = nullptr;
    HWND Owner = nullptr;
    bool OwnerDisabled = false;
};
BusyTick busyTick;

// The work waits for a timer message of the test's thread, which only a loop
// that keeps dispatching there delivers: work done on that thread, or a loop
// that stood still, would wait in vain. The owner takes no input meanwhile and
// is enabled again afterwards; a failure of the work is carried back.
TEST(Win32Host, BusyWorkRunsWhileTheMessageLoopGoesOn) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    busyTick = BusyTick{CreateEventW(nullptr, TRUE, FALSE, nullptr), owner, false};
    Win32Host host;
    host.SetOwner(owner);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        busyTick.OwnerDisabled = IsWindowEnabled(busyTick.Owner) == FALSE;
        SetEvent(busyTick.Ticked);
    });
    bool tickedDuringWork = false;
    DWORD workThread = 0;
    host.RunBusy("作業中", [&] {
        workThread = GetCurrentThreadId();
        // A bound against a hang, not a measure: the timer fires within moments.
        tickedDuringWork = WaitForSingleObject(busyTick.Ticked, 20000) == WAIT_OBJECT_0;
    });
    KillTimer(nullptr, timer);
    EXPECT_TRUE(tickedDuringWork);
    EXPECT_NE(workThread, GetCurrentThreadId());
    EXPECT_TRUE(busyTick.OwnerDisabled);
    EXPECT_NE(IsWindowEnabled(owner), FALSE);

    const RuntimeError failure = [&] {
        try {
            RunBusyWork(host, "作業中", []() -> int { throw RuntimeError(ErrorNo::FileNotFound); });
        } catch (const RuntimeError& e) {
            return e;
        }
        return RuntimeError(0);
    }();
    EXPECT_EQ(failure.Number(), ErrorNo::FileNotFound);
    DestroyWindow(owner);
    CloseHandle(busyTick.Ticked);
}

} // namespace
} // namespace kelvaro::win32

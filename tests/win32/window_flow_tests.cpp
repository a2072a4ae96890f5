// The window end to end: forms taken in and written through its own menu give
// the Linux build's bytes, every menu entry runs the command its description
// names, a change of tab refreshes the preview, and the real exit question and
// save dialog, answered by a hook as a user would.

#include "running_window.h"
#include "win32/dialog_answerer.h"
#include "win32/wide_text.h"
#include "win32/win32_host.h"

#include <commctrl.h>
#include <dlgs.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace kelvaro::win32 {
namespace {

using testing::DialogAnswerer;

void Choose(Running& r, std::string_view entry) {
    SendMessageW(r.window.Handle(), WM_COMMAND, r.window.Menus().IdOf(entry), 0);
    r.Pump();
}

// One form of the byte check: how the window takes it in, and its files.
struct ByteCase {
    std::string Kind; // "new", "open" or "import"
    std::string Source;
    std::string Number;
    std::string Name;
};

std::vector<ByteCase> ReadCases(const std::string& file) {
    std::vector<ByteCase> cases;
    std::istringstream lines(ReadWholeFile(file));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> parts;
        std::istringstream fields(line);
        for (std::string part; std::getline(fields, part, '\t');) {
            parts.push_back(part);
        }
        if (parts.size() == 4) {
            cases.push_back({parts[0], parts[1], parts[2], parts[3]});
        }
    }
    return cases;
}

// The script window_writes_linux_bytes.py names the forms and the Linux
// build's files of them; run alone, this test has nothing to compare.
TEST(Win32WindowBytes, FormsWrittenThroughTheMenuMatchTheLinuxBuild) {
    const wchar_t* named = _wgetenv(L"KELVARO_WINDOW_CASES");
    if (named == nullptr) {
        GTEST_SKIP() << "KELVARO_WINDOW_CASES names no forms (see window_writes_linux_bytes.py)";
    }
    const std::string casesFile = Narrow(named);
    const std::string folder = casesFile.substr(0, casesFile.find_last_of('\\') + 1) + "Linux\\";
    const std::vector<ByteCase> cases = ReadCases(casesFile);
    ASSERT_GE(cases.size(), 3U);
    const struct {
        const char* Entry;
        const char* Extension;
    } writes[] = {{"MiReadMeText", "txt"}, {"MiReadMeHTML", "html"}, {"MiFileSaveAs", "ref"}};
    for (const ByteCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Running r;
        if (c.Kind != "new") {
            r.host.AnswerFile(c.Source);
        }
        Choose(r, c.Kind == "new" ? "MiFileNew" : c.Kind == "open" ? "MiFileOpen" : "MiFileImport");
        ASSERT_TRUE(r.host.FileAnswers.empty()) << "the form was not asked for";
        for (const auto& w : writes) {
            SCOPED_TRACE(w.Entry);
            const std::string written = r.dir.File(c.Number + "." + w.Extension);
            r.host.AnswerFile(written);
            // Characters Shift_JIS lacks are replaced when the window asks,
            // as the Linux build replaces them.
            r.host.MessageAnswers.assign(1, MessageAnswer::Yes);
            Choose(r, w.Entry);
            std::string asked;
            for (const MessageRequest& m : r.host.Messages) {
                asked += m.Text + "\n";
            }
            ASSERT_TRUE(IsRegularFile(written)) << asked;
            const std::string windows = ReadWholeFile(written);
            const std::string linux = ReadWholeFile(folder + c.Number + "." + w.Extension);
            EXPECT_TRUE(windows == linux)
                << windows.size() << " bytes from the window, " << linux.size() << " on Linux";
        }
    }
}

std::wstring ShownText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND PreviewBox(Running& r) {
    PageView& view = r.window.View(Page::Preview);
    for (std::size_t i = 0; i < view.ControlCount(); ++i) {
        if (view.Description().Controls[i].Name == "PreviewText") {
            return view.ControlAt(i);
        }
    }
    ADD_FAILURE() << "no preview box";
    return nullptr;
}

// Brings `page` to the front as the tab strip would tell its parent: a change
// of selection (by keyboard or mouse) notifies TCN_SELCHANGE, and a mouse
// click ends with NM_CLICK, also on the tab already shown.
void ChooseTab(Running& r, Page page, bool byMouse) {
    const auto index = static_cast<int>(page);
    const HWND tabs = r.window.TabStrip();
    const auto id = static_cast<UINT_PTR>(GetDlgCtrlID(tabs));
    std::vector<UINT> notices;
    if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != index) {
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        notices.push_back(static_cast<UINT>(TCN_SELCHANGE));
    }
    if (byMouse) {
        RECT item{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(tabs, &centre);
        SetCursorPos(centre.x, centre.y);
        notices.push_back(static_cast<UINT>(NM_CLICK));
    }
    for (const UINT code : notices) {
        NMHDR notice{tabs, id, code};
        SendMessageW(r.window.Handle(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&notice));
    }
}

TEST(Win32Window, ShowingThePreviewAgainComposesItAnew) {
    const struct {
        const char* What;
        // The preview shown before the change; else the page of the box.
        bool PreviewFirst;
        // Typed into the box, or set in the form behind the window's back so
        // that only the tab's click can bring it into the preview.
        bool Typed;
        bool ByMouse;
    } cases[] = {{"typed, then the tab changed by keyboard", false, true, false},
                 {"typed, then the tab clicked", false, true, true},
                 {"changed, then the shown tab clicked", true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Running r;
        const Found found = FirstOf(ControlKind::LineBox, FieldKind::LineValue);
        HWND preview = PreviewBox(r);
        ChooseTab(r, c.PreviewFirst ? Page::Preview : found.OnPage, false);
        const std::wstring value = L"見本の値ｶﾅ";
        if (c.Typed) {
            HWND box = r.window.View(found.OnPage).ControlAt(found.Index);
            SetWindowTextW(box, L"");
            Type(box, value);
        } else {
            *FieldText(r.window.session().ws.form, *found.Field) = Narrow(value);
        }
        EXPECT_EQ(ShownText(preview).find(value), std::wstring::npos) << "shown too early";
        ChooseTab(r, Page::Preview, c.ByMouse);
        EXPECT_EQ(r.window.ShownPage(), Page::Preview);
        EXPECT_NE(ShownText(preview).find(value), std::wstring::npos) << Narrow(ShownText(preview));
    }
}

// What a command left behind, in words that do not depend on the window's
// own folder: the questions, the dialogs, the clipboard, the pages opened
// (by file name) and whether the form changed.
std::vector<std::string> Traces(Running& r, std::uint64_t editsBefore) {
    std::vector<std::string> traces;
    for (const MessageRequest& m : r.host.Messages) {
        traces.push_back("message: " + m.Text);
    }
    for (const FileDialogRequest& d : r.host.FileDialogs) {
        traces.push_back("dialog: " + std::to_string(static_cast<int>(d.Kind)) + " " + d.Title +
                         " " + d.Filter);
    }
    for (const std::string& text : r.host.ClipboardTexts) {
        traces.push_back("clipboard: " + text);
    }
    for (const auto& [document, folder] : r.host.OpenedDocuments) {
        traces.push_back("opened: " + document.substr(document.find_last_of("\\/") + 1));
    }
    traces.push_back(r.window.session().EditCount != editsBefore ? "edited" : "not edited");
    return traces;
}

TEST(Win32Menus, EveryEntryRunsTheCommandItsDescriptionNames) {
    for (const MenuDescription& menu : WindowMenus()) {
        for (const MenuItem& item : menu.Items) {
            if (item.Separator() || item.Submenu != nullptr) {
                continue;
            }
            SCOPED_TRACE(item.Name);
            // Through the menu bar, as a click on the entry sends it.
            Running chosen;
            const std::uint64_t edits = chosen.window.session().EditCount;
            Choose(chosen, item.Name);
            // The description's own command, run straight on a twin window;
            // closing is the window's own message.
            Running direct;
            const std::uint64_t directEdits = direct.window.session().EditCount;
            if (item.Does == MenuAct::Run) {
                direct.window.controller().Run([&] { item.Command(direct.window.session()); });
            } else if (item.Does == MenuAct::CloseWindow) {
                SendMessageW(direct.window.Handle(), WM_CLOSE, 0, 0);
            }
            direct.Pump();
            EXPECT_EQ(Traces(chosen, edits), Traces(direct, directEdits));
        }
    }
}

// The window as the program makes it: the real host, whose questions and
// dialogs are the system's own.
struct RealWindow {
    RealWindow() {
        host.SetOwner(window.Handle());
        // Without a journal the window's timer would say, at a moment of its
        // own, that work cannot be kept: a second box beside the one asked.
        window.controller().SetJournal(&journal, dir.Path());
        ShowWindow(window.Handle(), SW_SHOW);
        Drain();
    }
    static void Drain() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    test::TempFolder dir;
    Win32Host host;
    MainWindow window{host, PortableFolders(dir.Path())};
    RecoveryJournal journal{dir.Path()};
};

const std::vector<std::wstring> kYesNo{L"はい(&Y)", L"いいえ(&N)"};

TEST(Win32Window, TheRealExitQuestionDecidesWhetherTheWindowCloses) {
    const struct {
        const char* What;
        int Pressed;
        bool Closes;
    } cases[] = {{"はい", IDYES, true}, {"いいえ", IDNO, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        RealWindow r;
        const Found found = FirstOf(ControlKind::LineBox, FieldKind::LineValue);
        Type(r.window.View(found.OnPage).ControlAt(found.Index), L"未保存");
        DialogAnswerer answerer([&](HWND dialog) { DialogAnswerer::Press(dialog, c.Pressed); });
        const HWND window = r.window.Handle();
        SendMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(answerer.Seen().size(), 1U);
        EXPECT_EQ(answerer.Seen().front().Buttons, kYesNo);
        EXPECT_EQ(IsWindow(window) != FALSE, !c.Closes);
        RealWindow::Drain();
    }
}

TEST(Win32Window, TheRealSaveDialogWritesTheFormUnderTheTypedName) {
    RealWindow r;
    const std::string saved = r.dir.File("保存した説明書.ref");
    DialogAnswerer answerer([&](HWND dialog) {
        const HWND nameBox = GetDlgItem(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1);
        SetWindowTextW(nameBox, Widen(saved).c_str());
        DialogAnswerer::Press(dialog, IDOK);
    });
    SendMessageW(r.window.Handle(), WM_COMMAND, r.window.Menus().IdOf("MiFileSaveAs"), 0);
    ASSERT_EQ(answerer.Seen().size(), 1U);
    ASSERT_TRUE(IsRegularFile(saved));
    // A fresh window holds a fresh form.
    EXPECT_TRUE(ReadWholeFile(saved) == test::ReadFixture("fresh_form.ref"));
    EXPECT_EQ(r.window.session().FormFileTitle, "保存した説明書.ref");
}

} // namespace
} // namespace kelvaro::win32

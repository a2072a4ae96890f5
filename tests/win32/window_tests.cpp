// The real Win32 window in the test's own process, with the scripted host
// where a dialog would stop the test: its controls as the description names
// them, what screen readers say, the tab strip, the shortcuts, and typing that
// reaches the recovery journal with no command.

#include "running_window.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelvaro::win32 {
namespace {

std::wstring AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return L"(none)";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr) {
        result = name;
        SysFreeString(name);
    }
    accessible->Release();
    return result;
}

TEST(Win32Window, EveryControlCarriesItsNameUnderAnIdOfItsOwn) {
    Running r;
    std::set<int> ids;
    for (std::size_t n = 0; n < PageCount; ++n) {
        const PageView& view = r.window.View(static_cast<Page>(n));
        ASSERT_EQ(view.ControlCount(), view.Description().Controls.size());
        for (std::size_t i = 0; i < view.ControlCount(); ++i) {
            const int id = GetDlgCtrlID(view.ControlAt(i));
            SCOPED_TRACE(view.Description().Controls[i].Name);
            EXPECT_TRUE(ids.insert(id).second) << "id " << id << " twice";
            EXPECT_EQ(ControlName(id), view.Description().Controls[i].Name);
            EXPECT_LT(static_cast<UINT>(id), FirstMenuCommand);
        }
    }
    EXPECT_EQ(ControlName(0), "");
}

// What a reader should say: the text of the box that names the item, the
// editor's chosen item, the control's own spoken name, else the label's
// caption, else its own, the mnemonic's marker left out as Windows does.
std::string Expected(const PageView& view, const ControlDescription& c) {
    const PageDescription& page = view.Description();
    if (c.SpokenBy != NoControl) {
        wchar_t text[256]{};
        GetWindowTextW(view.ControlAt(static_cast<std::size_t>(c.SpokenBy)), text, 256);
        return Narrow(text);
    }
    if (c.Kind == ControlKind::TextEditor) {
        for (std::size_t i = 0; i < view.ControlCount(); ++i) {
            if (page.Controls[i].Kind == ControlKind::Option &&
                SendMessageW(view.ControlAt(i), BM_GETCHECK, 0, 0) == BST_CHECKED) {
                return Narrow(AccessibleName(view.ControlAt(i)));
            }
        }
    }
    if (!c.Spoken.empty()) {
        return c.Spoken;
    }
    std::string caption = c.LabelledBy != NoControl
                              ? page.Controls[static_cast<std::size_t>(c.LabelledBy)].Caption
                              : c.Caption;
    std::erase(caption, '&');
    return caption;
}

TEST(Win32Window, EveryFocusableControlHasAnAccessibleName) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        Running r;
        for (std::size_t n = 0; n < PageCount; ++n) {
            const PageView& view = r.window.View(static_cast<Page>(n));
            for (const int index : view.Description().TabOrder) {
                const ControlDescription& c =
                    view.Description().Controls[static_cast<std::size_t>(index)];
                SCOPED_TRACE(c.Name);
                const std::wstring name =
                    AccessibleName(view.ControlAt(static_cast<std::size_t>(index)));
                EXPECT_FALSE(name.empty());
                EXPECT_EQ(Narrow(name), Expected(view, c));
                EXPECT_NE(name, L"(none)");
            }
        }
    }
    CoUninitialize();
}

TEST(Win32Window, ATabClickShowsItsPage) {
    Running r;
    // Pages are made when first shown, and the window is already the size
    // the largest of them needs.
    RECT before{};
    GetWindowRect(r.window.Handle(), &before);
    // Backwards, so that every page is reached by a change of tab.
    for (int n = static_cast<int>(PageCount) - 1; n >= 0; --n) {
        const auto page = static_cast<Page>(n);
        SCOPED_TRACE(n);
        SendMessageW(r.window.TabStrip(), TCM_SETCURSEL, static_cast<WPARAM>(n), 0);
        NMHDR click{r.window.TabStrip(), 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(r.window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(r.window.session().CurrentPage, page);
        for (std::size_t other = 0; other < PageCount; ++other) {
            EXPECT_EQ(IsWindowVisible(r.window.View(static_cast<Page>(other)).Panel()) != FALSE,
                      other == static_cast<std::size_t>(n));
        }
    }
    RECT after{};
    GetWindowRect(r.window.Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after) != FALSE);
}

TEST(Win32Window, AShortcutRunsItsMenuCommand) {
    const struct {
        const char* Entry;
        WORD Key;
        // The file dialog asked for, if any; how many messages follow (the
        // dialogs are cancelled, which is said).
        std::optional<FileDialogKind> Dialog;
        std::size_t Messages;
    } cases[] = {
        {"MiFileOpen", 'O', FileDialogKind::Open, 1},
        {"MiFileSaveAs", 'S', FileDialogKind::Save, 1},
        {"MiExit", 'Q', std::nullopt, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Entry);
        Running r;
        r.host.CancelFile();
        // Something to lose, so that the exit asks.
        if (!c.Dialog) {
            Type(r.window.View(Page::Lines)
                     .ControlAt(FirstOf(ControlKind::LineBox, FieldKind::LineValue).Index),
                 L"x");
        }
        r.host.MessageAnswers.push_back(MessageAnswer::No);
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        MSG press{};
        press.hwnd = r.window.Handle();
        press.message = WM_KEYDOWN;
        press.wParam = c.Key;
        press.lParam = 1;
        EXPECT_TRUE(r.window.PreTranslate(press));
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        r.Pump();
        ASSERT_EQ(r.host.FileDialogs.size(), c.Dialog ? 1U : 0U);
        if (c.Dialog) {
            EXPECT_EQ(r.host.FileDialogs[0].Kind, *c.Dialog);
        }
        EXPECT_EQ(r.host.Messages.size(), c.Messages);
        EXPECT_NE(r.window.Menus().IdOf(c.Entry), 0U);
    }
}

TEST(Win32Window, TypingInEveryKindOfBoxIsJournaledWithoutACommand) {
    const struct {
        const char* What;
        ControlKind Kind;
        FieldKind Field;
    } cases[] = {
        {"one-line box", ControlKind::LineBox, FieldKind::LineValue},
        {"choice box", ControlKind::ChoiceBox, FieldKind::Choice},
        {"long-text editor", ControlKind::TextEditor, FieldKind::LongText},
        {"user item's name", ControlKind::LineBox, FieldKind::UserName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Running r;
        const Found found = FirstOf(c.Kind, c.Field);
        HWND control = r.window.View(found.OnPage).ControlAt(found.Index);
        SetWindowTextW(control, L"");
        Type(control, L"入力した内容");
        r.Wait();
        ASSERT_TRUE(IsRegularFile(r.journal->Path()));
        const Form journaled = r.Journaled();
        if (c.Kind == ControlKind::TextEditor) {
            const auto slot = static_cast<std::size_t>(r.window.session().ws.CurrentLongItem);
            EXPECT_EQ(journaled.LongTexts[slot], "入力した内容");
        } else {
            EXPECT_EQ(*FieldText(journaled, *found.Field), "入力した内容");
        }
    }
}

TEST(Win32Window, TheEndOfTheWindowsSessionJournalsAndAsksNothing) {
    const struct {
        const char* What;
        BOOL Ends;
        bool AsksOnClose;
    } cases[] = {{"the session ends", TRUE, false}, {"the end is called off", FALSE, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Running r;
        const Found found = FirstOf(ControlKind::TextEditor, FieldKind::LongText);
        Type(r.window.View(found.OnPage).ControlAt(found.Index), L"終了の直前");
        EXPECT_EQ(SendMessageW(r.window.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        ASSERT_TRUE(IsRegularFile(r.journal->Path()));
        const auto slot = static_cast<std::size_t>(r.window.session().ws.CurrentLongItem);
        EXPECT_NE(r.Journaled().LongTexts[slot].find("終了の直前"), std::string::npos);
        SendMessageW(r.window.Handle(), WM_ENDSESSION, c.Ends, ENDSESSION_LOGOFF);
        r.host.MessageAnswers.push_back(MessageAnswer::No);
        SendMessageW(r.window.Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(r.host.Messages.size(), c.AsksOnClose ? 1U : 0U);
        EXPECT_EQ(r.window.controller().KeepsJournal(), c.Ends != FALSE);
    }
}

// A drop as Explorer makes it: the files' paths after a DROPFILES header.
HGLOBAL Dropping(const std::vector<std::wstring>& files) {
    std::wstring paths;
    for (const std::wstring& file : files) {
        paths += file + L'\0';
    }
    paths += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + paths.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, paths.data(), paths.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

TEST(Win32Window, ADroppedFormOpensAskingFirstWhenWorkIsUnsaved) {
    const struct {
        const char* What;
        int Files;
        // The answer to whether to open it without saving the work in hand;
        // nullopt: no work to lose, so no question.
        std::optional<MessageAnswer> Answer;
        bool Opens;
    } cases[] = {{"one form", 1, std::nullopt, true},
                 {"one form over unsaved work, opened", 1, MessageAnswer::Yes, true},
                 {"one form over unsaved work, kept", 1, MessageAnswer::No, false},
                 {"two files", 2, std::nullopt, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Running r;
        const std::string form = r.dir.File("dropped.ref");
        WriteFileReplacing(form, test::ReadFixture("fresh_form.ref"));
        if (c.Answer) {
            Type(r.window.View(Page::Lines)
                     .ControlAt(FirstOf(ControlKind::LineBox, FieldKind::LineValue).Index),
                 L"x");
            r.host.MessageAnswers.push_back(*c.Answer);
        }
        std::vector<std::wstring> files(static_cast<std::size_t>(c.Files), WidenPath(form));
        SendMessageW(r.window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(Dropping(files)), 0);
        EXPECT_EQ(r.host.Messages.size(), c.Answer ? 1U : 0U);
        EXPECT_EQ(r.window.session().FormFileTitle == "dropped.ref", c.Opens);
    }
}

} // namespace
} // namespace kelvaro::win32

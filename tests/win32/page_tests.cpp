// The menus and the pages' controls doing what they show: every menu entry
// runs its command, the shortcuts' words and keys, the order list's checks,
// bold entries and moves, the option groups, the check boxes, and the long-
// text editor's undo of a loaded template.

#include "running_window.h"
#include "session/edits.h"
#include "win32/menu_bar.h"
#include "win32/page_view.h"
#include "win32/wide_text.h"
#include "window/buttons.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <vector>

namespace kelvaro::win32 {
namespace {

TEST(Win32Menus, ShortcutsReadAndPressAsTheirChords) {
    const struct {
        KeyChord Chord;
        const wchar_t* Text;
        BYTE Virt;
        WORD Key;
    } cases[] = {
        {{KeyChord::Ctrl, 'N', 0}, L"Ctrl+N", FVIRTKEY | FCONTROL, 'N'},
        {{KeyChord::Ctrl | KeyChord::Shift, 'S', 0},
         L"Ctrl+Shift+S",
         FVIRTKEY | FCONTROL | FSHIFT,
         'S'},
        {{KeyChord::Alt, '5', 0}, L"Alt+5", FVIRTKEY | FALT, '5'},
        {{0, 0, 1}, L"F1", FVIRTKEY, VK_F1},
        {{KeyChord::Ctrl, 0, 12}, L"Ctrl+F12", FVIRTKEY | FCONTROL, VK_F12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.Text));
        EXPECT_EQ(ShortcutText(c.Chord), c.Text);
        ACCEL accel{};
        ASSERT_TRUE(AcceleratorOf(c.Chord, accel));
        EXPECT_EQ(accel.fVirt, c.Virt);
        EXPECT_EQ(accel.key, c.Key);
    }
    ACCEL none{};
    EXPECT_FALSE(AcceleratorOf(KeyChord{}, none));
    EXPECT_EQ(ShortcutText(KeyChord{}), L"");
}

TEST(Win32Menus, EveryEntryHasAnIdThatLeadsBackAndOnlyOfferedOnesAKey) {
    const MenuBar menus;
    std::vector<ACCEL> table(
        static_cast<std::size_t>(CopyAcceleratorTableW(menus.Accelerators(), nullptr, 0)));
    CopyAcceleratorTableW(menus.Accelerators(), table.data(), static_cast<int>(table.size()));
    for (const MenuDescription& menu : WindowMenus()) {
        for (const MenuItem& item : menu.Items) {
            if (item.Separator() || item.Submenu != nullptr) {
                continue;
            }
            SCOPED_TRACE(item.Name);
            const UINT id = menus.IdOf(item.Name);
            ASSERT_NE(id, 0U);
            EXPECT_EQ(menus.ItemOf(id), &item);
            const bool keyed = std::any_of(table.begin(), table.end(),
                                           [&](const ACCEL& a) { return a.cmd == id; });
            EXPECT_EQ(keyed, item.Enabled() && !item.Shortcut.Empty());
        }
    }
    EXPECT_EQ(menus.ItemOf(FirstMenuCommand - 1), nullptr);
}

TEST(Win32Text, LineEndsBecomeTheCoresCrLf) {
    const struct {
        const wchar_t* Box;
        const char* Core;
    } cases[] = {{L"一\r二", "一\r\n二"},
                 {L"一\r\n二", "一\r\n二"},
                 {L"一\n二\r", "一\r\n二\r\n"},
                 {L"\r\r", "\r\n\r\n"},
                 {L"", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(CoreText(c.Box), c.Core);
    }
}

// The control of `page` whose description `match` picks.
template <typename Match> std::size_t IndexOf(const PageDescription& page, Match match) {
    for (std::size_t i = 0; i < page.Controls.size(); ++i) {
        if (match(page.Controls[i])) {
            return i;
        }
    }
    ADD_FAILURE() << "no such control";
    return 0;
}

TEST(Win32OrderList, TicksBoldEntriesAndMovesReachTheForm) {
    Running r;
    const PageView& view = r.window.View(Page::Order);
    const PageDescription& page = view.Description();
    HWND list = view.ControlAt(IndexOf(
        page, [](const ControlDescription& c) { return c.Kind == ControlKind::OrderList; }));
    const auto& order = r.window.session().ws.form.Order;
    ASSERT_GT(order.size(), 4U);
    ASSERT_EQ(ListView_GetItemCount(list), static_cast<int>(order.size()));

    // A tick in the list checks the entry, and a checked item is drawn bold.
    for (const bool checked : {true, false}) {
        SCOPED_TRACE(checked);
        ListView_SetItemState(list, 3, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
        EXPECT_EQ(order[3].Checked, checked);
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)),
                         static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = 3;
        draw.nmcd.hdc = GetDC(list);
        const LRESULT drawn = SendMessageW(view.Panel(), WM_NOTIFY, draw.nmcd.hdr.idFrom,
                                           reinterpret_cast<LPARAM>(&draw));
        ReleaseDC(list, draw.nmcd.hdc);
        EXPECT_EQ(drawn, checked ? CDRF_NEWFONT : CDRF_DODEFAULT);
    }

    // A chosen entry moves down and up with the ▼ and ▲ buttons.
    ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(r.window.session().ws.Selected, 2);
    const std::string moved = order[2].Text;
    const struct {
        void (*Command)(Session&);
        int EndsAt;
    } moves[] = {{&MoveEntryDown, 3}, {&MoveEntryUp, 2}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.EndsAt);
        SendMessageW(
            view.ControlAt(
                IndexOf(page, [&](const ControlDescription& c) { return c.Command == m.Command; })),
            BM_CLICK, 0, 0);
        EXPECT_EQ(order[static_cast<std::size_t>(m.EndsAt)].Text, moved);
        wchar_t text[128]{};
        ListView_GetItemText(list, m.EndsAt, 0, text, 128);
        EXPECT_EQ(Narrow(text), moved);
        EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), m.EndsAt);
    }
}

TEST(Win32OrderList, AnEntryDraggedEndsWhereTheMouseLetsGo) {
    const struct {
        int From;
        int Over; // the entry the mouse is let go over; -1: below the last
        int EndsAt;
    } cases[] = {{1, 4, 4}, {5, 2, 2}, {0, -1, -2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.From);
        Running r;
        const PageView& view = r.window.View(Page::Order);
        r.window.session().ws.form.Order.resize(8);
        r.window.session().Notify(Change::Order);
        HWND list = view.ControlAt(IndexOf(view.Description(), [](const ControlDescription& d) {
            return d.Kind == ControlKind::OrderList;
        }));
        const auto& order = r.window.session().ws.form.Order;
        const std::string moved = order[static_cast<std::size_t>(c.From)].Text;
        NMLISTVIEW begin{};
        begin.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)),
                     static_cast<UINT>(LVN_BEGINDRAG)};
        begin.iItem = c.From;
        SendMessageW(view.Panel(), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
        RECT item{};
        ListView_GetItemRect(list, c.Over >= 0 ? c.Over : ListView_GetItemCount(list) - 1, &item,
                             LVIR_BOUNDS);
        POINT at{item.left + 4, c.Over >= 0 ? (item.top + item.bottom) / 2 : item.bottom + 4};
        MapWindowPoints(list, view.Panel(), &at, 1);
        SendMessageW(view.Panel(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        const int endsAt = c.EndsAt >= 0 ? c.EndsAt : static_cast<int>(order.size()) + c.EndsAt + 1;
        EXPECT_EQ(order[static_cast<std::size_t>(endsAt)].Text, moved);
    }
}

TEST(Win32Pages, EveryOptionAndCheckBoxStoresWhatItShows) {
    Running r;
    for (std::size_t n = 0; n < PageCount; ++n) {
        const PageView& view = r.window.View(static_cast<Page>(n));
        const PageDescription& page = view.Description();
        for (std::size_t i = 0; i < page.Controls.size(); ++i) {
            const ControlDescription& c = page.Controls[i];
            const bool field = c.Kind == ControlKind::CheckBox && c.Command == nullptr;
            if (c.Kind != ControlKind::Option && !field) {
                continue;
            }
            SCOPED_TRACE(c.Name);
            HWND control = view.ControlAt(i);
            const LRESULT before = SendMessageW(control, BM_GETCHECK, 0, 0);
            SendMessageW(control, BM_CLICK, 0, 0);
            const LRESULT after = SendMessageW(control, BM_GETCHECK, 0, 0);
            // A check box turns over; an option is chosen, or another in its
            // place where the core says so (the browser preview goes back to
            // the HTML source).
            if (c.Kind == ControlKind::CheckBox) {
                EXPECT_EQ(after, before == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
            }
            // Shown anew from the session, the control keeps what it showed:
            // the click was stored.
            r.window.session().Notify(Change::Form);
            r.window.session().Notify(Change::Emphasis);
            r.window.session().Notify(Change::LongText);
            EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), after);
        }
    }
}

TEST(Win32Editor, ALoadedTemplateIsOneStepOfUndoAndCtrlYRedoesIt) {
    Running r;
    MakeFolders(r.window.session().TemplateFolder);
    const std::string file = r.dir.File("Templates/sample.txt");
    WriteFileReplacing(file, "template line\r\n");
    const Found found = FirstOf(ControlKind::TextEditor, FieldKind::LongText);
    const PageView& view = r.window.View(found.OnPage);
    HWND editor = view.ControlAt(found.Index);
    Type(editor, L"mine");
    r.host.AnswerFile(file);
    SendMessageW(view.ControlAt(IndexOf(view.Description(),
                                        [](const ControlDescription& c) {
                                            return c.Command ==
                                                   ButtonOf(ButtonId::LoadTemplate).Command;
                                        })),
                 BM_CLICK, 0, 0);
    auto text = [&] {
        wchar_t buffer[256]{};
        GetWindowTextW(editor, buffer, 256);
        return CoreText(buffer);
    };
    EXPECT_EQ(text(), "template line\r\n");
    SendMessageW(editor, EM_UNDO, 0, 0);
    EXPECT_EQ(text(), "mine");
    // Ctrl+Y, as the keyboard sends it.
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SetFocus(editor);
    SendMessageW(editor, WM_KEYDOWN, 'Y', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(text(), "template line\r\n");
}

// Every control of every page inside its page and clear of every other (a
// frame only around what stands in it), at the DPI the window starts at and
// after Windows moves it to a monitor of twice that DPI.
TEST(Win32Layout, NothingIsCutOrOverlapping) {
    Running r;
    const UINT start = GetDpiForWindow(r.window.Handle());
    for (const UINT dpi : {start, 2 * start}) {
        SCOPED_TRACE(dpi);
        if (dpi != start) {
            RECT suggested{};
            GetWindowRect(r.window.Handle(), &suggested);
            suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, 2, 1);
            suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, 2, 1);
            SendMessageW(r.window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        for (std::size_t n = 0; n < PageCount; ++n) {
            const PageView& view = r.window.View(static_cast<Page>(n));
            const PageDescription& page = view.Description();
            RECT panel{};
            GetWindowRect(view.Panel(), &panel);
            std::vector<RECT> places(view.ControlCount());
            for (std::size_t i = 0; i < view.ControlCount(); ++i) {
                GetWindowRect(view.ControlAt(i), &places[i]);
                RECT inside{};
                IntersectRect(&inside, &places[i], &panel);
                EXPECT_TRUE(EqualRect(&inside, &places[i]) != FALSE)
                    << page.Controls[i].Name << " is cut";
            }
            for (std::size_t i = 0; i < places.size(); ++i) {
                for (std::size_t j = i + 1; j < places.size(); ++j) {
                    const bool framed = page.Controls[i].Kind == ControlKind::Frame ||
                                        page.Controls[j].Kind == ControlKind::Frame;
                    RECT both{};
                    EXPECT_TRUE(framed || IntersectRect(&both, &places[i], &places[j]) == FALSE)
                        << page.Controls[i].Name << " overlaps " << page.Controls[j].Name;
                }
            }
        }
    }
}

// The Z order is the keyboard's: Tab walks the page's tab order, each label
// just above the control it names; a group of options is one group.
TEST(Win32Pages, TheZOrderAndStylesFollowTheTabOrder) {
    Running r;
    for (std::size_t n = 0; n < PageCount; ++n) {
        const PageView& view = r.window.View(static_cast<Page>(n));
        const PageDescription& page = view.Description();
        SCOPED_TRACE(n);
        std::vector<HWND> stacked;
        for (HWND child = GetWindow(view.Panel(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            stacked.push_back(child);
        }
        ASSERT_EQ(stacked.size(), view.ControlCount());
        auto depth = [&](int index) {
            return std::find(stacked.begin(), stacked.end(),
                             view.ControlAt(static_cast<std::size_t>(index))) -
                   stacked.begin();
        };
        const std::string* group = nullptr;
        for (std::size_t k = 0; k < page.TabOrder.size(); ++k) {
            const int index = page.TabOrder[k];
            const ControlDescription& c = page.Controls[static_cast<std::size_t>(index)];
            SCOPED_TRACE(c.Name);
            if (k > 0) {
                EXPECT_LT(depth(page.TabOrder[k - 1]), depth(index));
            }
            if (c.LabelledBy != NoControl) {
                EXPECT_LT(depth(c.LabelledBy), depth(index));
            }
            const LONG_PTR style =
                GetWindowLongPtrW(view.ControlAt(static_cast<std::size_t>(index)), GWL_STYLE);
            const bool follows =
                c.Kind == ControlKind::Option && group != nullptr && *group == c.Group;
            // (Among options the tab stop is the checked one's: the buttons
            // move it themselves.)
            EXPECT_EQ((style & WS_GROUP) != 0, !follows);
            if (c.Kind != ControlKind::Option) {
                EXPECT_NE(style & WS_TABSTOP, 0);
            }
            group = c.Kind == ControlKind::Option ? &c.Group : nullptr;
        }
    }
}

// The text colour the user picks reaches the editor and the ReadMe's
// viewers; the system information keeps the theme's.
TEST(Win32Pages, ThePickedTextColourColoursTheReadMesBoxes) {
    Running r;
    r.window.session().BoxFont.TextColour = Colour{200, 10, 20};
    r.window.session().BoxFont.ColourPicked = true;
    r.window.session().Notify(Change::Fonts);
    for (std::size_t n = 0; n < PageCount; ++n) {
        const PageView& view = r.window.View(static_cast<Page>(n));
        for (std::size_t i = 0; i < view.ControlCount(); ++i) {
            const ControlDescription& c = view.Description().Controls[i];
            const bool readMe =
                c.Kind == ControlKind::TextEditor ||
                (c.Kind == ControlKind::TextViewer && !c.RefreshedBy.Has(Change::Information));
            if (c.Kind != ControlKind::TextEditor && c.Kind != ControlKind::TextViewer) {
                continue;
            }
            SCOPED_TRACE(c.Name);
            COLORREF drawn = 0;
            if (c.Kind == ControlKind::TextEditor) {
                CHARFORMAT2W format{};
                format.cbSize = sizeof(format);
                SendMessageW(view.ControlAt(i), EM_GETCHARFORMAT, SCF_DEFAULT,
                             reinterpret_cast<LPARAM>(&format));
                drawn = (format.dwEffects & CFE_AUTOCOLOR) != 0 ? GetSysColor(COLOR_WINDOWTEXT)
                                                                : format.crTextColor;
            } else {
                HDC dc = GetDC(view.ControlAt(i));
                SendMessageW(view.Panel(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(view.ControlAt(i)));
                drawn = GetTextColor(dc);
                ReleaseDC(view.ControlAt(i), dc);
            }
            EXPECT_EQ(drawn == RGB(200, 10, 20), readMe);
        }
    }
}

} // namespace
} // namespace kelvaro::win32

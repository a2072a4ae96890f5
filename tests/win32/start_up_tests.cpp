// What the window keeps from one layout to the next, so that it starts fast,
// must still follow every change that needs a new one.

#include "files/form_file.h"
#include "running_window.h"

#include <string>

namespace kelvaro::win32 {
namespace {

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

SIZE WindowSize(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

TEST(Win32StartUp, EveryNewSizeLaysThePagesOutAgain) {
    Running r;
    const HWND window = r.window.Handle();
    const SIZE start = WindowSize(window);
    const SIZE startClient = ClientSize(window);
    const LONG startTabs = WindowSize(r.window.TabStrip()).cx;
    // Back to the size laid out first, after others, counts as new too.
    const struct {
        int Wider;
        int Taller;
    } steps[] = {{120, 80}, {120, 80}, {40, 0}, {0, 0}, {200, 150}, {0, 0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Wider * 1000 + step.Taller);
        SetWindowPos(window, nullptr, 0, 0, start.cx + step.Wider, start.cy + step.Taller,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const SIZE client = ClientSize(window);
        EXPECT_EQ(client.cx - startClient.cx, step.Wider);
        // The tab strip fills the client area but for its margins.
        EXPECT_EQ(WindowSize(r.window.TabStrip()).cx - startTabs, step.Wider);
    }
}

TEST(Win32StartUp, AFormWithLongerTextsWidensTheSmallestWindow) {
    Running r;
    // A one-line box of a page not made yet: that page is measured from the
    // form's texts alone.
    const FormField* field = nullptr;
    for (std::size_t n = 1; n < PageCount && field == nullptr; ++n) {
        for (const ControlDescription& c : PageOf(static_cast<Page>(n)).Controls) {
            if (c.Kind == ControlKind::LineBox && c.FieldRow >= 0) {
                field = &FormFields()[static_cast<std::size_t>(c.FieldRow)];
                break;
            }
        }
    }
    ASSERT_NE(field, nullptr);
    auto smallest = [&] {
        MINMAXINFO info{};
        SendMessageW(r.window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info.ptMinTrackSize;
    };
    const POINT before = smallest();
    EXPECT_EQ(smallest().x, before.x);

    Workspace ws = FreshWorkspace();
    std::string* text = FieldText(ws.form, *field);
    ASSERT_NE(text, nullptr);
    text->clear();
    for (std::size_t i = 0; i < PageView::LongestFirstText; ++i) {
        *text += "漢";
    }
    const std::string path = r.dir.Path() + "/long.ref";
    WriteFormFile(ws, path);
    r.window.controller().OpenFormFile(path);
    ASSERT_EQ(r.window.session().FormFilePath, path);

    EXPECT_GT(smallest().x, before.x);
    EXPECT_EQ(smallest().y, before.y);
}

TEST(Win32StartUp, AnotherBoxFontRedrawsEveryControlOfThePageShown) {
    Running r;
    const HWND window = r.window.Handle();
    const PageView& view = r.window.View(r.window.ShownPage());
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (std::size_t i = 0; i < view.Description().Controls.size(); ++i) {
        ASSERT_EQ(GetUpdateRect(view.ControlAt(i), nullptr, FALSE), FALSE) << i;
    }
    // The fonts are given without a redraw each; the page is redrawn once.
    // (Labels that may turn bold are drawn at once as they take their font.)
    r.window.session().BoxFont.Font.SizePoints += 3;
    r.window.session().Notify(Change::Fonts);
    std::size_t pending = 0;
    for (std::size_t i = 0; i < view.Description().Controls.size(); ++i) {
        if (view.Description().Controls[i].Emphasis == NoControl) {
            EXPECT_NE(GetUpdateRect(view.ControlAt(i), nullptr, FALSE), FALSE) << i;
            ++pending;
        }
    }
    EXPECT_GT(pending, 10U);
}

} // namespace
} // namespace kelvaro::win32

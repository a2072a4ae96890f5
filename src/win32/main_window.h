#pragma once

// Kelvaro's one window on Windows: the menu bar, the tab strip of the eight
// pages and their controls, drawn from the core's description of the window.
// The rules (commands, the journal, the ends of the program) are the core's
// WindowController; this class forwards Windows' messages to it and draws
// what the session says.

#include "session/session.h"
#include "win32/menu_bar.h"
#include "win32/page_view.h"
#include "win32/window_metrics.h"
#include "window/controller.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace kelvaro::win32 {

class MainWindow : private WindowRenderer {
public:
    // Makes the window (hidden) and starts the session as the program starts.
    MainWindow(Host& host, AppFolders folders);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }
    HWND TabStrip() const { return tabs_; }
    Session& session() { return session_; }
    WindowController& controller() { return controller_; }
    const MenuBar& Menus() const { return menus_; }
    // The page's controls, made now if the page was never shown.
    PageView& View(Page page);
    // The page shown now.
    Page ShownPage() const { return shown_; }

    // What the message loop does before dispatching `message`: input counts
    // as the user's work, shortcuts run their commands, and Tab, Enter,
    // Escape and mnemonics move through the controls. True when `message` was
    // used up.
    bool PreTranslate(MSG& message);
    // Runs the message loop until the window ends; the exit code.
    int RunMessageLoop();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void TakeTyping() override;
    void EndEventLoop() override;

    void OnMenuCommand(UINT id);
    void OnTabNotice(const NMHDR& notice);
    void OnChanged(Change what);
    void ShowPage(Page page);
    void ApplyMetrics();
    void SetFonts();
    void Layout();
    // Where the pages stand: the tab strip's display area.
    RECT PageArea() const;
    // The pages made so far.
    std::vector<PageView*> Made() const;
    // Makes the window as large as the design and every page need (`design`),
    // or at least that large.
    void FitToPages(bool design);
    // The smallest client area that shows every page uncut. Measuring the
    // pages not made yet means measuring their texts, so the size is kept
    // until what it depends on changes (the form, the fonts, the DPI, a page
    // made): every move of the window asks for it.
    SIZE DesignClientSize();
    SIZE MeasureDesignClientSize() const;

    Session session_;
    WindowController controller_{session_, *this};
    MenuBar menus_;
    HWND window_ = nullptr;
    HWND tabs_ = nullptr;
    std::unique_ptr<WindowMetrics> metrics_;
    std::array<std::unique_ptr<PageView>, PageCount> views_;
    std::optional<SIZE> designClient_;
    // The client area the pages were last laid out in.
    SIZE laidOut_{-1, -1};
    // The box font and colour the controls were given last.
    FontChoice boxFontShown_;
    Page shown_ = Page::Lines;
};

} // namespace kelvaro::win32

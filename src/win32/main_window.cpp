#include "win32/main_window.h"

#include "files/lifecycle.h"
#include "win32/dropped_files.h"
#include "win32/wide_text.h"

#include <commctrl.h>
#include <shellapi.h>

namespace kelvaro::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KelvaroReadMeForm";
constexpr UINT_PTR kTickTimer = 1;
// The client area the window was designed at, in pixels at 96 dpi.
constexpr int kDesignWidth = 472;
constexpr int kDesignHeight = 352;
// The tab strip's distance from the client area's edges, in dialog units.
constexpr int kMargin = 2;

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_LBUTTONDOWN ||
           message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN || message == WM_MOUSEWHEEL ||
           message == WM_IME_COMPOSITION;
}

void RegisterWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        // The icon of the program's resources (kelvaro.rc), when it has them.
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc);
    }();
    (void)atom;
}

} // namespace

MainWindow::MainWindow(Host& host, AppFolders folders) : session_(host, std::move(folders)) {
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass();
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              menus_.TakeBar(), GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    metrics_ =
        std::make_unique<WindowMetrics>(WindowMetrics::DpiOf(window_), session_.BoxFont.Font);
    boxFontShown_ = session_.BoxFont;

    tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                            window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    // It takes the keyboard and says the page shown, as its name tells.
    SetWindowTextW(tabs_, Widen(TabStripSpokenName).c_str());
    for (std::size_t n = 0; n < PageCount; ++n) {
        std::wstring caption = Widen(WindowTabs()[n].Caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs_, TCM_INSERTITEMW, n, reinterpret_cast<LPARAM>(&item));
    }
    // Only the first page is made before the window shows; each other page
    // when it is first shown, which costs a click no time one can see.
    views_[0] = std::make_unique<PageView>(window_, Page::Lines, controller_);
    // The pages are the tab strip's siblings and stand above it in the Z
    // order, or their drop-down lists would open behind it.
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DragAcceptFiles(window_, TRUE);
    session_.SetChangeListener([this](Change what) { OnChanged(what); });

    // At load the first tab is selected and shown before the start-up fills
    // in the defaults.
    ShowPage(Page::Lines);
    controller_.PageChosen(Page::Lines);
    controller_.Run([this] { StartUp(session_); });
    views_[0]->NoteStartTexts();
    // The fonts first, then the size, whose WM_SIZE lays the pages out once.
    SetFonts();
    FitToPages(true);
    SetTimer(window_, kTickTimer, static_cast<UINT>(WindowController::TickInterval.count()),
             nullptr);
}

MainWindow::~MainWindow() {
    // The session outlives nothing of the window: stop change notices first.
    session_.SetChangeListener(nullptr);
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTickTimer) {
            controller_.Tick(WindowController::Clock::now());
        }
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && LOWORD(wParam) >= FirstMenuCommand) {
            OnMenuCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
        if (notice->hwndFrom == tabs_) {
            OnTabNotice(*notice);
            return 0;
        }
        break;
    }
    case WM_SIZE: {
        // Showing the window tells its size again: the pages stay where
        // they are, rather than every control being moved (and, the window
        // being visible by then, drawn) twice.
        const SIZE client{LOWORD(lParam), HIWORD(lParam)};
        if (wParam != SIZE_MINIMIZED && (client.cx != laidOut_.cx || client.cy != laidOut_.cy)) {
            Layout();
        }
        return 0;
    }
    case WM_GETMINMAXINFO: {
        if (metrics_ != nullptr) {
            // Never smaller than the design: nothing of a page may be cut.
            const SIZE client = DesignClientSize();
            RECT frame{0, 0, client.cx, client.cy};
            AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0, metrics_->Dpi());
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        }
        return 0;
    }
    case WM_DPICHANGED:
        designClient_.reset();
        metrics_->OnDpiChanged(window_, wParam, lParam);
        ApplyMetrics();
        // Text measured at the new DPI may need more than the suggested size.
        FitToPages(false);
        return 0;
    case WM_DROPFILES: {
        auto* drop = reinterpret_cast<HDROP>(wParam);
        const std::vector<std::string> files = DroppedFiles(drop);
        DragFinish(drop);
        controller_.UserInput();
        // One form at a time: a drop of several files is not for this window.
        if (files.size() == 1) {
            controller_.OpenFormFile(files.front());
        }
        return 0;
    }
    case WM_CLOSE:
        if (controller_.MayClose()) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_QUERYENDSESSION:
        // The journal keeps the work; Windows ends the program without the
        // exit question holding the end up.
        controller_.LogoutRequested();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE) {
            controller_.EndRequested();
        } else {
            // The end was called off: the next close asks again.
            controller_.UserInput();
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kTickTimer);
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool MainWindow::PreTranslate(MSG& message) {
    if (window_ == nullptr) {
        return false;
    }
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) {
        return false;
    }
    if (IsInput(message.message)) {
        controller_.UserInput();
    }
    if (TranslateAcceleratorW(window_, menus_.Accelerators(), &message) != 0) {
        return true;
    }
    return IsDialogMessageW(window_, &message) != 0;
}

int MainWindow::RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

void MainWindow::TakeTyping() {
    for (PageView* view : Made()) {
        view->TakeTyping();
    }
}

void MainWindow::EndEventLoop() {
    PostQuitMessage(0);
}

void MainWindow::OnMenuCommand(UINT id) {
    const MenuItem* item = menus_.ItemOf(id);
    if (item == nullptr) {
        return;
    }
    switch (item->Does) {
    case MenuAct::Run:
        controller_.Run([&] { item->Command(session_); });
        break;
    case MenuAct::CloseWindow:
        PostMessageW(window_, WM_CLOSE, 0, 0);
        break;
    case MenuAct::Off:
        break;
    }
}

void MainWindow::OnTabNotice(const NMHDR& notice) {
    if (notice.code == TCN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
        if (index >= 0) {
            ShowPage(static_cast<Page>(index));
            controller_.PageChosen(static_cast<Page>(index));
        }
    } else if (notice.code == NM_CLICK) {
        // A click on the tab already shown changes no selection, so
        // TCN_SELCHANGE alone would miss it; it shows the page anew.
        TCHITTESTINFO hit{};
        GetCursorPos(&hit.pt);
        ScreenToClient(tabs_, &hit.pt);
        const auto index =
            static_cast<int>(SendMessageW(tabs_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (index >= 0 && index == static_cast<int>(shown_)) {
            controller_.PageChosen(shown_);
        }
    }
}

void MainWindow::OnChanged(Change what) {
    for (PageView* view : Made()) {
        view->Refresh(what);
    }
    if (what == Change::Title) {
        SetWindowTextW(window_, Widen(session_.WindowTitle).c_str());
    } else if (what == Change::Form) {
        // The pages not made yet are measured with the form's texts.
        designClient_.reset();
        if (session_.CurrentPage != shown_) {
            // New and start-up go back to the first page.
            ShowPage(session_.CurrentPage);
        }
    } else if (what == Change::Fonts && session_.BoxFont != boxFontShown_) {
        // The start-up tells of the fonts it leaves as they were: the boxes
        // keep theirs, and the fallback face is not looked for again.
        boxFontShown_ = session_.BoxFont;
        metrics_->SetBoxFont(session_.BoxFont.Font);
        for (PageView* view : Made()) {
            view->SetFonts(*metrics_);
        }
        designClient_.reset();
    }
}

void MainWindow::ShowPage(Page page) {
    shown_ = page;
    View(page);
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (std::size_t n = 0; n < PageCount; ++n) {
        if (views_[n] != nullptr) {
            ShowWindow(views_[n]->Panel(), n == static_cast<std::size_t>(page) ? SW_SHOW : SW_HIDE);
        }
    }
}

PageView& MainWindow::View(Page page) {
    std::unique_ptr<PageView>& view = views_[static_cast<std::size_t>(page)];
    if (view == nullptr) {
        view = std::make_unique<PageView>(window_, page, controller_);
        view->NoteStartTexts();
        view->SetFonts(*metrics_);
        SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        view->Place(PageArea(), metrics_->Units());
        designClient_.reset();
        // A page that needs more room than those before it widens the window.
        FitToPages(false);
    }
    return *view;
}

std::vector<PageView*> MainWindow::Made() const {
    std::vector<PageView*> made;
    for (const auto& view : views_) {
        if (view != nullptr) {
            made.push_back(view.get());
        }
    }
    return made;
}

void MainWindow::ApplyMetrics() {
    SetFonts();
    Layout();
}

void MainWindow::SetFonts() {
    designClient_.reset();
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(metrics_->UiFont()), TRUE);
    for (PageView* view : Made()) {
        view->SetFonts(*metrics_);
    }
}

void MainWindow::FitToPages(bool design) {
    const SIZE client = DesignClientSize();
    RECT now{};
    GetClientRect(window_, &now);
    if (design) {
        now = RECT{};
    } else if (now.right >= client.cx && now.bottom >= client.cy) {
        return;
    }
    RECT frame{0, 0, std::max(now.right, client.cx), std::max(now.bottom, client.cy)};
    AdjustWindowRectExForDpi(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0, metrics_->Dpi());
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE MainWindow::DesignClientSize() {
    if (!designClient_) {
        designClient_ = MeasureDesignClientSize();
    }
    return *designClient_;
}

SIZE MainWindow::MeasureDesignClientSize() const {
    const UINT dpi = metrics_->Dpi();
    SIZE size{MulDiv(kDesignWidth, static_cast<int>(dpi), 96),
              MulDiv(kDesignHeight, static_cast<int>(dpi), 96)};
    // Fonts or captions larger than the design's make the window larger, so
    // that nothing is cut: the tab strip's frame around the largest page.
    const DialogUnits& units = metrics_->Units();
    for (std::size_t n = 0; n < PageCount; ++n) {
        // Every page, made or not, so that the window never grows when a
        // page is first shown.
        const SIZE needed = views_[n] != nullptr ? views_[n]->Needed(units)
                                                 : PageView::NeededBeforeMade(static_cast<Page>(n),
                                                                              session_, *metrics_);
        RECT frame{0, 0, needed.cx, needed.cy};
        SendMessageW(tabs_, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&frame));
        size.cx = std::max<LONG>(size.cx, frame.right - frame.left + 2 * units.X(kMargin));
        size.cy = std::max<LONG>(size.cy, frame.bottom - frame.top + 2 * units.Y(kMargin));
    }
    return size;
}

RECT MainWindow::PageArea() const {
    RECT client{};
    GetClientRect(window_, &client);
    const DialogUnits& units = metrics_->Units();
    InflateRect(&client, -units.X(kMargin), -units.Y(kMargin));
    RECT page = client;
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    return page;
}

void MainWindow::Layout() {
    if (metrics_ == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    laidOut_ = {client.right - client.left, client.bottom - client.top};
    const DialogUnits& units = metrics_->Units();
    InflateRect(&client, -units.X(kMargin), -units.Y(kMargin));
    MoveWindow(tabs_, client.left, client.top, client.right - client.left,
               client.bottom - client.top, TRUE);
    const RECT page = PageArea();
    for (PageView* view : Made()) {
        view->Place(page, units);
    }
}

} // namespace kelvaro::win32

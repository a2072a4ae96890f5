#include "win32/window_metrics.h"

namespace kelvaro::win32 {

WindowMetrics::WindowMetrics(UINT dpi, const FontSpec& boxFont) : dpi_(dpi), boxChoice_(boxFont) {
    Make(dpi);
}

void WindowMetrics::SetBoxFont(const FontSpec& boxFont) {
    if (boxFont == boxChoice_) {
        return; // a colour changed, or nothing: the face found stands
    }
    boxChoice_ = boxFont;
    boxFont_ = OwnedFont(BoxLogFont(boxChoice_, dpi_));
}

void WindowMetrics::OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    // Both words carry the new DPI; the vertical one is the one fonts use.
    Make(HIWORD(wParam));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT WindowMetrics::DpiOf(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void WindowMetrics::Make(UINT dpi) {
    dpi_ = dpi;
    uiFont_ = OwnedFont(UiLogFont(dpi));
    boxFont_ = OwnedFont(BoxLogFont(boxChoice_, dpi));
    units_ = DialogUnitsOf(uiFont_.Get());
}

} // namespace kelvaro::win32

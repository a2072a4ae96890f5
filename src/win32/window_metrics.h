#pragma once

// Everything the window measures and draws with at one DPI: the UI font, the
// boxes' font and the dialog units the layout is written in. When Windows
// moves the window to a monitor of another DPI, all of it is made anew for
// that DPI, never scaled from the old sizes, so a round trip between monitors
// ends exactly where it began.

#include "host/host.h"
#include "win32/window_fonts.h"

#include <windows.h>

namespace kelvaro::win32 {

class WindowMetrics {
public:
    WindowMetrics(UINT dpi, const FontSpec& boxFont);

    UINT Dpi() const { return dpi_; }
    HFONT UiFont() const { return uiFont_.Get(); }
    HFONT BoxFont() const { return boxFont_.Get(); }
    const DialogUnits& Units() const { return units_; }

    // The boxes' font the user chose, at the current DPI; the same choice again
    // keeps the face found for it.
    void SetBoxFont(const FontSpec& boxFont);

    // WM_DPICHANGED: remakes everything for the new DPI and puts the window on
    // the rectangle Windows suggests, which keeps its place and its size on
    // the screen. The caller then lays the controls out again.
    void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam);

    // The DPI of the monitor the window is on.
    static UINT DpiOf(HWND window);

private:
    void Make(UINT dpi);

    UINT dpi_;
    FontSpec boxChoice_;
    OwnedFont uiFont_;
    OwnedFont boxFont_;
    DialogUnits units_;
};

} // namespace kelvaro::win32

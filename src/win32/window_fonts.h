#pragma once

// The fonts the window draws with and the units its layout is measured in,
// for the DPI of the monitor the window is on. Every size is recomputed from
// the DPI, never scaled from an earlier size, so moving between monitors and
// back leaves nothing a pixel off.

#include "host/host.h"

#include <windows.h>

#include <string>

namespace kelvaro::win32 {

// `font` as GDI describes it at `dpi`, its face as given.
LOGFONTW LogFontOf(const FontSpec& font, int dpi);

// The system's message font (Yu Gothic UI or Meiryo UI on a Japanese
// Windows) at `dpi`: what labels, buttons and tabs are drawn with.
LOGFONTW UiLogFont(UINT dpi);

// The boxes' font at `dpi`. When its face is not installed, the system's own
// Japanese fixed-pitch font stands in, so the boxes keep one width for every
// full-width character and ReadMe columns still line up.
LOGFONTW BoxLogFont(const FontSpec& chosen, UINT dpi);

bool FontInstalled(const std::wstring& face);

// A font handle that deletes itself.
class OwnedFont {
public:
    OwnedFont() = default;
    explicit OwnedFont(const LOGFONTW& font) : handle_(CreateFontIndirectW(&font)) {}
    ~OwnedFont() { Reset(); }
    OwnedFont(OwnedFont&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    OwnedFont& operator=(OwnedFont&& other) noexcept;
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;

    HFONT Get() const { return handle_; }

private:
    void Reset();
    HFONT handle_ = nullptr;
};

// Dialog units, the layout's measure: a quarter of the font's average
// character width across, an eighth of its height down, as Windows' own
// dialog templates count them.
struct DialogUnits {
    int BaseX = 0; // pixels of 4 horizontal units
    int BaseY = 0; // pixels of 8 vertical units

    int X(int units) const { return MulDiv(units, BaseX, 4); }
    int Y(int units) const { return MulDiv(units, BaseY, 8); }
};
DialogUnits DialogUnitsOf(HFONT font);

} // namespace kelvaro::win32

#include "win32/window_fonts.h"

#include "win32/wide_text.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvaro::win32 {
namespace {

// A screen device context for measuring, released on every path.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

void SetFace(LOGFONTW& font, const std::wstring& face) {
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
    std::copy_n(face.begin(), std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1)),
                font.lfFaceName);
}

int CALLBACK NoteFixedPitch(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    // Vertical (@) faces draw sideways.
    if ((font->lfPitchAndFamily & 0x3) == FIXED_PITCH && font->lfFaceName[0] != L'@') {
        reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
    }
    return 1;
}

// A Japanese fixed-pitch face that is installed: the well-known ones first (on
// an English Windows even ＭＳ ゴシック may be missing until its optional
// Japanese fonts are added), else any the system has, else GDI's own pick.
std::wstring JapaneseFixedPitchFace() {
    for (const wchar_t* known : {L"ＭＳ ゴシック", L"MS Gothic", L"BIZ UDゴシック", L"BIZ UDGothic",
                                 L"Noto Sans Mono CJK JP"}) {
        if (FontInstalled(known)) {
            return known;
        }
    }
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    std::vector<std::wstring> faces;
    {
        ScreenDc screen;
        EnumFontFamiliesExW(screen.Get(), &wanted, NoteFixedPitch, reinterpret_cast<LPARAM>(&faces),
                            0);
    }
    if (!faces.empty()) {
        return faces.front();
    }
    wanted.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    OwnedFont font(wanted);
    ScreenDc screen;
    const HGDIOBJ old = SelectObject(screen.Get(), font.Get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    SelectObject(screen.Get(), old);
    return face;
}

} // namespace

LOGFONTW UiLogFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) !=
        FALSE) {
        return metrics.lfMessageFont;
    }
    // Without the per-DPI query: the font at the system's DPI, scaled.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    ScreenDc screen;
    const int systemDpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    return metrics.lfMessageFont;
}

bool FontInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) {
        return false;
    }
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    SetFace(wanted, face);
    bool found = false;
    ScreenDc screen;
    EnumFontFamiliesExW(screen.Get(), &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

LOGFONTW LogFontOf(const FontSpec& font, int dpi) {
    LOGFONTW logFont{};
    const int tenths = static_cast<int>(std::lround(font.SizePoints * 10.0));
    logFont.lfHeight = -MulDiv(tenths, dpi, 720);
    logFont.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.Italic ? TRUE : FALSE;
    logFont.lfUnderline = font.Underline ? TRUE : FALSE;
    logFont.lfStrikeOut = font.Strikethrough ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    SetFace(logFont, Widen(font.Name));
    return logFont;
}

LOGFONTW BoxLogFont(const FontSpec& chosen, UINT dpi) {
    LOGFONTW font = LogFontOf(chosen, static_cast<int>(dpi));
    if (!FontInstalled(font.lfFaceName)) {
        SetFace(font, JapaneseFixedPitchFace());
    }
    return font;
}

OwnedFont& OwnedFont::operator=(OwnedFont&& other) noexcept {
    if (this != &other) {
        Reset();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

void OwnedFont::Reset() {
    if (handle_ != nullptr) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

DialogUnits DialogUnitsOf(HFONT font) {
    ScreenDc screen;
    const HGDIOBJ old = SelectObject(screen.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    // The average width the way Windows measures it for dialogs: the 52
    // Latin letters, rounded.
    SIZE letters{};
    GetTextExtentPoint32W(screen.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &letters);
    SelectObject(screen.Get(), old);
    return DialogUnits{(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

} // namespace kelvaro::win32

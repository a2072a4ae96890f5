#include "win32/dropped_files.h"
#include "win32/wide_text.h"
#include "win32/window_fonts.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

namespace kelvaro::win32 {
namespace {

TEST(WindowFonts, FollowTheDpiFromScratch) {
    const FontSpec boxes{"Noto Sans CJK JP", 9.0};
    const LOGFONTW ui96 = UiLogFont(96);
    const LOGFONTW box96 = BoxLogFont(boxes, 96);
    ASSERT_NE(ui96.lfHeight, 0);
    for (const UINT dpi : {120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        // Each size within a pixel of the 96-dpi size scaled, the face kept.
        EXPECT_NEAR(UiLogFont(dpi).lfHeight, MulDiv(ui96.lfHeight, static_cast<int>(dpi), 96), 1);
        const LOGFONTW box = BoxLogFont(boxes, dpi);
        EXPECT_NEAR(box.lfHeight, MulDiv(box96.lfHeight, static_cast<int>(dpi), 96), 1);
        EXPECT_STREQ(box.lfFaceName, box96.lfFaceName);
    }
}

TEST(WindowFonts, AMissingBoxFaceFallsBackToAnInstalledJapaneseFixedPitchFont) {
    const struct {
        std::string Face;
        bool Installed;
    } cases[] = {{"Noto Sans Mono CJK JP", true}, {"ＭＳ ゴシック未導入", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Face);
        EXPECT_EQ(FontInstalled(Widen(c.Face)), c.Installed);
        // 12 points are 16 pixels at 96 dpi: whole pixels for half-width too.
        const LOGFONTW box = BoxLogFont(FontSpec{c.Face, 12.0, true}, 96);
        EXPECT_TRUE(FontInstalled(box.lfFaceName)) << Narrow(box.lfFaceName);
        if (c.Installed) {
            EXPECT_EQ(Narrow(box.lfFaceName), c.Face);
        }
        EXPECT_EQ(box.lfWeight, FW_BOLD);
        // Two half-width characters as wide as one full-width one, as ReadMe
        // columns need.
        OwnedFont font(box);
        HDC screen = GetDC(nullptr);
        const HGDIOBJ old = SelectObject(screen, font.Get());
        SIZE wide{}, narrow{};
        GetTextExtentPoint32W(screen, L"■あ", 2, &wide);
        GetTextExtentPoint32W(screen, L"iiWW", 4, &narrow);
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(wide.cx, narrow.cx);
    }
}

TEST(WindowFonts, DialogUnitsGrowWithTheFont) {
    const LOGFONTW ui96 = UiLogFont(96);
    const LOGFONTW ui192 = UiLogFont(192);
    const DialogUnits small = DialogUnitsOf(OwnedFont(ui96).Get());
    const DialogUnits large = DialogUnitsOf(OwnedFont(ui192).Get());
    ASSERT_GT(small.BaseX, 0);
    ASSERT_GT(small.BaseY, 0);
    for (const int units : {4, 50, 200}) {
        SCOPED_TRACE(units);
        EXPECT_EQ(small.X(units), MulDiv(units, small.BaseX, 4));
        EXPECT_NEAR(large.X(units), 2 * small.X(units), units / 4 + 2);
        EXPECT_NEAR(large.Y(units), 2 * small.Y(units), units / 8 + 2);
    }
}

// A drop as Explorer hands it over: a DROPFILES header, then the wide paths,
// each ended by a NUL, and a final NUL.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& path : paths) {
        chars += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& path : paths) {
        std::memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(DroppedFiles, EveryPathWholeAndInOrder) {
    const std::vector<std::vector<std::string>> drops = {
        {"C:\\フォーム\\読んでね.ref"},
        {"C:\\a.ref", "D:\\二つ目.ref", "\\\\server\\share\\三つ目.ref"},
        {"C:\\" + std::string(300, 'x') + "\\" + std::string(200, 'y') + ".ref"},
    };
    for (const auto& paths : drops) {
        SCOPED_TRACE(paths.size());
        std::vector<std::wstring> wide;
        for (const auto& path : paths) {
            wide.push_back(Widen(path));
        }
        HDROP drop = MakeDrop(wide);
        EXPECT_EQ(DroppedFiles(drop), paths);
        GlobalFree(drop);
    }
}

} // namespace
} // namespace kelvaro::win32

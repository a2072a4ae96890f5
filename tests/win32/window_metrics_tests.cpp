#include "win32/window_metrics.h"

#include <gtest/gtest.h>

namespace kelvaro::win32 {
namespace {

LONG HeightOf(HFONT font) {
    LOGFONTW described{};
    GetObjectW(font, sizeof described, &described);
    return described.lfHeight;
}

TEST(WindowMetrics, MonitorChangesRemakeEverythingAndComeBackExactly) {
    HWND window = CreateWindowExW(0, L"STATIC", L"Kelvaro", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    WindowMetrics metrics(96, FontSpec{"Noto Sans Mono CJK JP", 9.0});
    const LONG ui96 = HeightOf(metrics.UiFont());
    const LONG box96 = HeightOf(metrics.BoxFont());
    const DialogUnits units96 = metrics.Units();

    const struct {
        UINT Dpi;
        RECT Suggested;
    } moves[] = {{144, {20, 30, 620, 480}},
                 {192, {50, 40, 850, 640}},
                 {120, {0, 0, 500, 375}},
                 {96, {10, 10, 410, 310}}};
    for (const auto& move : moves) {
        SCOPED_TRACE(move.Dpi);
        RECT suggested = move.Suggested;
        metrics.OnDpiChanged(window, MAKEWPARAM(move.Dpi, move.Dpi),
                             reinterpret_cast<LPARAM>(&suggested));
        const int dpi = static_cast<int>(move.Dpi);
        EXPECT_EQ(metrics.Dpi(), move.Dpi);
        EXPECT_NEAR(HeightOf(metrics.UiFont()), MulDiv(ui96, dpi, 96), 1);
        EXPECT_NEAR(HeightOf(metrics.BoxFont()), MulDiv(box96, dpi, 96), 1);
        // The units follow the font, whose average width is whole pixels.
        EXPECT_NEAR(metrics.Units().BaseX, MulDiv(units96.BaseX, dpi, 96), 1);
        EXPECT_NEAR(metrics.Units().BaseY, MulDiv(units96.BaseY, dpi, 96), 1);
        RECT now{};
        GetWindowRect(window, &now);
        EXPECT_TRUE(EqualRect(&now, &move.Suggested))
            << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    }
    EXPECT_EQ(HeightOf(metrics.UiFont()), ui96);
    EXPECT_EQ(HeightOf(metrics.BoxFont()), box96);
    EXPECT_EQ(metrics.Units().X(200), units96.X(200));
    EXPECT_EQ(metrics.Units().Y(100), units96.Y(100));

    // A font chosen at 192 dpi is drawn at that DPI's size.
    RECT large{0, 0, 800, 600};
    metrics.OnDpiChanged(window, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&large));
    metrics.SetBoxFont(FontSpec{"Noto Sans Mono CJK JP", 18.0});
    EXPECT_NEAR(HeightOf(metrics.BoxFont()), 4 * box96, 2);
    DestroyWindow(window);
}

} // namespace
} // namespace kelvaro::win32

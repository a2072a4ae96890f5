// Pictures of the window's eight pages, for a person to look at the layout
// (nothing cut, nothing overlapping) at the DPI Wine is set to:
//   kelvaro_win32_screenshots.exe OUTPUT_FOLDER
// writes page-1.bmp ... page-8.bmp there.

#include "platform/app_folders.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Settle(kelvaro::win32::MainWindow& window) {
    for (int round = 0; round < 20; ++round) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!window.PreTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(25);
    }
}

// The window as the screen shows it, as a 24-bit BMP.
bool Save(HWND window, const std::wstring& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                         std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                         std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvaro_win32_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    kelvaro::test::TempFolder dir;
    kelvaro::test::ScriptedHost host;
    kelvaro::win32::MainWindow window(host, kelvaro::PortableFolders(dir.Path()));
    SetWindowPos(window.Handle(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
    ShowWindow(window.Handle(), SW_SHOW);
    SetForegroundWindow(window.Handle());
    for (std::size_t n = 0; n < kelvaro::PageCount; ++n) {
        SendMessageW(window.TabStrip(), TCM_SETCURSEL, n, 0);
        NMHDR click{window.TabStrip(), 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        Settle(window);
        const std::wstring path =
            std::wstring(argv[1]) + L"\\page-" + std::to_wstring(n + 1) + L".bmp";
        if (!Save(window.Handle(), path)) {
            std::fprintf(stderr, "cannot write %s\n", kelvaro::win32::Narrow(path).c_str());
            return 1;
        }
    }
    return 0;
}

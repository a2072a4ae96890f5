#include "win32/late_bound.h"
#include "win32/window_metrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace kelvaro::win32 {
namespace {

TEST(LateBound, FindsWhatTheSystemHasAndNothingElse) {
    const struct {
        const wchar_t* Library;
        const char* Name;
        bool Found;
    } cases[] = {
        {L"comdlg32.dll", "GetOpenFileNameW", true},
        {L"oleacc.dll", "LresultFromObject", true},
        {L"oleaut32.dll", "SysAllocString", true},
        // Already loaded: taken from the module there.
        {L"kernel32.dll", "GetTickCount", true},
        {L"comdlg32.dll", "NoSuchFunctionAnywhere", false},
        {L"kelvaro-no-such-library.dll", "GetOpenFileNameW", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(LateBoundAddress(c.Library, c.Name) != nullptr, c.Found);
    }
}

// The libraries the program at `base` (mapped as an image) links, as its
// import table names them, in lower case.
std::vector<std::string> ImportedLibraries(const BYTE* base) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> names;
    for (const auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.push_back(name);
    }
    return names;
}

// Kelvaro.exe, built beside this suite, is read as an image: a call to the
// common dialogs or the accessibility bridge that bypasses the late binding
// shows as an import, and every start would load that library again.
TEST(LateBound, KelvaroExeLinksNoneOfTheLibrariesItLoadsAtFirstUse) {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"Kelvaro.exe";
    HMODULE image = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    // The low bits of such a handle only mark how it was mapped.
    const auto* base =
        reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR{3});
    const std::vector<std::string> imported = ImportedLibraries(base);
    FreeLibrary(image);
    // Read right: what every window links is there.
    ASSERT_NE(std::find(imported.begin(), imported.end(), "user32.dll"), imported.end());
    ASSERT_NE(std::find(imported.begin(), imported.end(), "comctl32.dll"), imported.end());
    for (const char* late : {"comdlg32.dll", "oleacc.dll", "oleaut32.dll"}) {
        EXPECT_EQ(std::find(imported.begin(), imported.end(), late), imported.end()) << late;
    }
}

LONG HeightOf(HFONT font) {
    LOGFONTW described{};
    GetObjectW(font, sizeof described, &described);
    return described.lfHeight;
}

TEST(WindowMetrics, TheSameBoxFontAgainKeepsTheFontMadeForIt) {
    WindowMetrics metrics(96, FontSpec{"Noto Sans Mono CJK JP", 9.0});
    const HFONT first = metrics.BoxFont();
    const LONG height = HeightOf(first);
    metrics.SetBoxFont(FontSpec{"Noto Sans Mono CJK JP", 9.0});
    EXPECT_EQ(metrics.BoxFont(), first);
    // Another size is another font, and its own height.
    metrics.SetBoxFont(FontSpec{"Noto Sans Mono CJK JP", 18.0});
    EXPECT_NE(metrics.BoxFont(), first);
    EXPECT_NEAR(HeightOf(metrics.BoxFont()), 2 * height, 1);
}

} // namespace
} // namespace kelvaro::win32

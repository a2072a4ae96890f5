#include "platform/system_facts.h"

#include "platform/win32/wide.h"

#include <windows.h>

namespace kelvaro {

long CurrentProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

std::optional<KernelInfo> QueryKernelInfo() {
    return std::nullopt;
}

std::optional<WindowsVersion> QueryWindowsVersion() {
    // GetVersionEx answers as the program's manifest lets it (Windows 8 for a
    // program without one); ntdll's RtlGetVersion always tells the truth.
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return std::nullopt;
    }
    const auto call = reinterpret_cast<RtlGetVersionCall>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (call == nullptr || call(&info) != 0) {
        return std::nullopt;
    }
    WindowsVersion version;
    version.MajorVersion = info.dwMajorVersion;
    version.MinorVersion = info.dwMinorVersion;
    version.BuildNumber = info.dwBuildNumber;
    version.PlatformId = info.dwPlatformId;
    // The whole field, what follows its first NUL included.
    version.ServicePack = win32::Utf8FromWide(
        std::wstring_view(info.szCSDVersion, sizeof info.szCSDVersion / sizeof(WCHAR)));
    version.SuiteMask = info.wSuiteMask;
    version.ProductType = info.wProductType;
    return version;
}

} // namespace kelvaro

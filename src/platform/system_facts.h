#pragma once

// What the running system says about itself: the process's own number, and the
// version of the operating system as the system's own records hold it.

#include <cstdint>
#include <optional>
#include <string>

namespace kelvaro {

// The number of the running process, as the system's tools show it.
long CurrentProcessId();

// What uname() reports on a POSIX system, the parts a description shows.
struct KernelInfo {
    std::string SysName;
    std::string Release;
    std::string Machine;
};

// nullopt where there is no such call (Windows) or it failed.
std::optional<KernelInfo> QueryKernelInfo();

// The real version of Windows, with the two fields that name its edition, read
// so that a program without a compatibility manifest is not told an older
// version. ServicePack is the record's whole 128-character field in UTF-8,
// NULs included, as the field is defined.
struct WindowsVersion {
    std::uint32_t MajorVersion = 0;
    std::uint32_t MinorVersion = 0;
    std::uint32_t BuildNumber = 0;
    std::uint32_t PlatformId = 0;
    std::string ServicePack;
    std::uint16_t SuiteMask = 0;
    std::uint8_t ProductType = 0;
};

// nullopt where there is no such record (any system but Windows) or it could
// not be read.
std::optional<WindowsVersion> QueryWindowsVersion();

} // namespace kelvaro

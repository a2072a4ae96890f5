#include "platform/system_facts.h"

#include <sys/utsname.h>
#include <unistd.h>

namespace kelvaro {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

std::optional<KernelInfo> QueryKernelInfo() {
    utsname names{};
    if (::uname(&names) != 0) {
        return std::nullopt;
    }
    return KernelInfo{names.sysname, names.release, names.machine};
}

std::optional<WindowsVersion> QueryWindowsVersion() {
    return std::nullopt;
}

} // namespace kelvaro

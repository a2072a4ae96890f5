#include "platform/standard_output.h"

#include "platform/win32/file_handle.h"

#include <string>

namespace kelvaro {

void TakeClosedStandardDescriptors() {
    // A Windows program started without standard handles has none to lose:
    // the files it opens never become its output, and a write to the missing
    // handle fails as it should.
}

void WriteStandardOutput(std::string_view bytes) {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const std::string name(StandardOutputName);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        win32::ThrowWindowsError("cannot write", name, ERROR_INVALID_HANDLE, FileAccess::Write);
    }
    win32::WriteAll(output, bytes, name);
}

void CloseStandardOutput() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return;
    }
    // A file or pipe: what is still buffered must arrive, or the output fails.
    if (::GetFileType(output) == FILE_TYPE_DISK && !::FlushFileBuffers(output)) {
        win32::ThrowWindowsError("cannot close", std::string(StandardOutputName), ::GetLastError(),
                                 FileAccess::Write);
    }
    ::CloseHandle(output);
    ::SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
}

} // namespace kelvaro

#include "platform/standard_output.h"

#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

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

void WriteStandardError(std::string_view text) {
    const HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode)) {
        // A console shows characters: given UTF-16, it needs no code page.
        const std::wstring wide = win32::WideFromUtf8(text);
        DWORD written = 0;
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    while (!text.empty()) {
        DWORD written = 0;
        if (!::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0) {
            return;
        }
        text.remove_prefix(written);
    }
}

} // namespace kelvaro

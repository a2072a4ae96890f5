#include "platform/standard_output.h"

#include "platform/posix/file_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace kelvaro {

void TakeClosedStandardDescriptors() {
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) {
            // Descriptor 0 was closed too and took it.
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

void WriteStandardOutput(std::string_view bytes) {
    fileio::WriteAll(STDOUT_FILENO, bytes, std::string(StandardOutputName));
}

void CloseStandardOutput() {
    // On Linux the descriptor is gone even when close() reports EINTR, and the
    // data is then not known to be lost: only a real failure is told.
    if (::close(STDOUT_FILENO) != 0 && errno != EINTR) {
        fileio::ThrowErrno("cannot close", std::string(StandardOutputName), errno,
                           FileAccess::Write);
    }
}

void WriteStandardError(std::string_view text) {
    while (!text.empty()) {
        const ssize_t done = ::write(STDERR_FILENO, text.data(), text.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(done));
    }
}

} // namespace kelvaro

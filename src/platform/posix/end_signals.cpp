// The self-pipe: a signal handler may do little more than write a byte; the
// event loop watches the pipe's other end.

#include "platform/end_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace kelvaro {
namespace {

std::array<int, 2> signalPipe{-1, -1};

constexpr std::array<int, 3> kEndSignals{SIGTERM, SIGHUP, SIGINT};

void OnEndSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

EndSignals::EndSignals() {
    if (::pipe2(signalPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        signalPipe = {-1, -1};
        return;
    }
    wake_ = signalPipe[0];
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kEndSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

EndSignals::~EndSignals() {
    if (wake_ < 0) {
        return;
    }
    for (const int number : kEndSignals) {
        std::signal(number, SIG_DFL);
    }
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe = {-1, -1};
}

bool EndSignals::TakeRequests() {
    bool any = false;
    unsigned char byte = 0;
    while (wake_ >= 0 && ::read(wake_, &byte, 1) == 1) {
        any = true;
    }
    return any;
}

} // namespace kelvaro

// Each end signal wakes the event loop's handle once and is then taken; with
// the catcher gone, a signal has its default effect again.

#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, EndSignalsTest) {
    GTEST_SKIP() << "Linux only: the Windows window hears the end of a session as a message";
}
#else
#include "platform/end_signals.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <csignal>

namespace kelvaro {
namespace {

bool Readable(int handle) {
    pollfd watch{handle, POLLIN, 0};
    return ::poll(&watch, 1, 0) == 1 && (watch.revents & POLLIN) != 0;
}

TEST(EndSignals, EachEndSignalWakesTheLoopOnceAndIsTaken) {
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(number);
        EndSignals signals;
        ASSERT_GE(signals.WakeHandle(), 0);
        EXPECT_FALSE(Readable(signals.WakeHandle()));
        EXPECT_FALSE(signals.TakeRequests());
        std::raise(number);
        std::raise(number);
        EXPECT_TRUE(Readable(signals.WakeHandle()));
        EXPECT_TRUE(signals.TakeRequests());
        EXPECT_FALSE(Readable(signals.WakeHandle()));
        EXPECT_FALSE(signals.TakeRequests());
    }
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

} // namespace
} // namespace kelvaro
#endif

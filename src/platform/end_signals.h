#pragma once

// The requests to end the program that come from outside it (on POSIX the
// signals SIGTERM, SIGHUP and SIGINT), turned into something an event loop
// can watch: a wake handle that becomes readable when a request arrived.
// Only one EndSignals may exist at a time.

namespace kelvaro {

class EndSignals {
public:
    // Catches the end requests from now on; without a wake handle (none could
    // be made) they keep their default effect.
    EndSignals();
    // The default effect comes back.
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // What the event loop watches for reading (a file descriptor on POSIX);
    // -1 when the requests are not caught.
    int WakeHandle() const { return wake_; }
    // True when a request arrived since the last call; empties the wake handle.
    bool TakeRequests();

private:
    int wake_ = -1;
};

} // namespace kelvaro

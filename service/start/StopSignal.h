#pragma once
#include <csignal>

// SIGTERM and SIGINT, taken away from every thread started after this is made and
// waited for here instead, so the service can stop in order.
class StopSignal {
public:
    StopSignal();
    // True once a stop was asked for; false when the seconds passed first.
    bool WaitFor(long seconds);

private:
    sigset_t signals_;
};

#include "service/start/StopSignal.h"
#include <cerrno>
#include <pthread.h>
#include <stdexcept>

StopSignal::StopSignal()
{
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGTERM);
    sigaddset(&signals_, SIGINT);
    if (pthread_sigmask(SIG_BLOCK, &signals_, nullptr) != 0)
        throw std::runtime_error("cannot take over the stop signals");
    // A client that goes away must not end the service.
    std::signal(SIGPIPE, SIG_IGN);
}

bool StopSignal::WaitFor(long seconds)
{
    const timespec wait{ seconds, 0 };
    while (true) {
        const int taken = sigtimedwait(&signals_, nullptr, &wait);
        if (taken >= 0)
            return true;
        if (errno == EAGAIN)
            return false;
    }
}

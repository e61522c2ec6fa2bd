#pragma once
#include <httplib.h>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// The server's connections, each on a thread of its own (with a small stack) up to a
// limit, so that clients that dawdle (idle, or a byte at a time) hold only their own
// thread and never keep others waiting; beyond the limit, connections wait their turn.
class ConnectionThreads : public httplib::TaskQueue {
public:
    explicit ConnectionThreads(size_t maxThreads);

    void enqueue(std::function<void()> task) override;
    // Returns once every connection taken was answered.
    void shutdown() override;

private:
    void Run(std::function<void()> task);

    const size_t maxThreads_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<std::function<void()>> waiting_;
    size_t running_ = 0;
};

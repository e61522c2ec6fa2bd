#include "service/pages/ConnectionThreads.h"
#include <pthread.h>
#include <memory>

namespace {

// Enough for the library's parsing and its regular expressions; most of it is never touched.
const size_t StackBytes = 1024 * 1024;

} // namespace

ConnectionThreads::ConnectionThreads(size_t maxThreads) : maxThreads_(maxThreads)
{
}

void ConnectionThreads::enqueue(std::function<void()> task)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (running_ >= maxThreads_) {
        waiting_.push_back(std::move(task));
        return;
    }
    ++running_;
    lock.unlock();

    auto owned = std::make_unique<std::pair<ConnectionThreads*, std::function<void()>>>(this, std::move(task));
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, StackBytes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int started = pthread_create(
        &thread, &attributes,
        [](void* argument) -> void* {
            std::unique_ptr<std::pair<ConnectionThreads*, std::function<void()>>> job(
                static_cast<std::pair<ConnectionThreads*, std::function<void()>>*>(argument));
            job->first->Run(std::move(job->second));
            return nullptr;
        },
        owned.get());
    pthread_attr_destroy(&attributes);
    if (started == 0) {
        owned.release();
        return;
    }
    // No thread to be had: the connection waits for one that ends.
    lock.lock();
    --running_;
    waiting_.push_back(std::move(owned->second));
}

void ConnectionThreads::Run(std::function<void()> task)
{
    while (true) {
        task();
        std::lock_guard<std::mutex> lock(mutex_);
        if (waiting_.empty()) {
            --running_;
            finished_.notify_all();
            return;
        }
        task = std::move(waiting_.front());
        waiting_.pop_front();
    }
}

void ConnectionThreads::shutdown()
{
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return running_ == 0 && waiting_.empty(); });
}

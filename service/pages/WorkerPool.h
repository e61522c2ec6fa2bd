#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A fixed number of threads that run the tasks given to them, in the order given.
class WorkerPool {
public:
    explicit WorkerPool(size_t threads);
    // Runs what was given before it returns.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void Run(std::function<void()> task);

private:
    void Work();

    std::mutex mutex_;
    std::condition_variable given_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

#include "service/pages/WorkerPool.h"

WorkerPool::WorkerPool(size_t threads)
{
    threads_.reserve(threads);
    for (size_t i = 0; i < threads; ++i)
        threads_.emplace_back([this] { Work(); });
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    given_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void WorkerPool::Run(std::function<void()> task)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    given_.notify_one();
}

void WorkerPool::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        given_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty())
            return;
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

#include "service/store/PostgresPool.h"

PostgresPool::PostgresPool(const std::string& location, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        all_.push_back(std::make_unique<PostgresConnection>(location));
        idle_.push_back(all_.back().get());
    }
}

PostgresPool::Lease PostgresPool::Acquire()
{
    std::unique_lock<std::mutex> lock(mutex_);
    returned_.wait(lock, [this] { return !idle_.empty(); });
    PostgresConnection* connection = idle_.back();
    idle_.pop_back();
    return Lease(*this, *connection);
}

PostgresPool::Lease::~Lease()
{
    std::lock_guard<std::mutex> lock(pool_->mutex_);
    // A server that went away took the other connections with it: each would fail its
    // next call once it is back, so they connect again instead.
    if (connection_->FoundServerGone())
        for (PostgresConnection* idle : pool_->idle_)
            idle->Disconnect();
    pool_->idle_.push_back(connection_);
    pool_->returned_.notify_one();
}

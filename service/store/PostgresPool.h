#pragma once
#include "service/store/PostgresConnection.h"
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A fixed number of connections shared by the service's threads; a caller that finds
// them all in use waits for one.
class PostgresPool {
public:
    PostgresPool(const std::string& location, size_t size);

    // A connection for the caller alone, until this goes.
    class Lease {
    public:
        Lease(PostgresPool& pool, PostgresConnection& connection) : pool_(&pool), connection_(&connection) {}
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        PostgresConnection* operator->() const { return connection_; }
        PostgresConnection& operator*() const { return *connection_; }

    private:
        PostgresPool* pool_;
        PostgresConnection* connection_;
    };

    Lease Acquire();

private:
    std::vector<std::unique_ptr<PostgresConnection>> all_;
    std::vector<PostgresConnection*> idle_;
    std::mutex mutex_;
    std::condition_variable returned_;
};

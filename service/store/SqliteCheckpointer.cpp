#include "service/store/SqliteCheckpointer.h"
#include <chrono>
#include <cstdio>
#include <stdexcept>

SqliteCheckpointer::SqliteCheckpointer(const std::string& path, int intervalMs) : intervalMs_(intervalMs)
{
    if (sqlite3_open_v2(path.c_str(), &database_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string reason = database_ ? sqlite3_errmsg(database_) : "out of memory";
        sqlite3_close(database_);
        throw std::runtime_error("cannot open the database " + path + " for checkpoints: " + reason);
    }
    sqlite3_busy_timeout(database_, 1000);
    // A connection knows the file is in write-ahead mode only once it has read it.
    if (sqlite3_exec(database_, "PRAGMA journal_mode", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string reason = sqlite3_errmsg(database_);
        sqlite3_close(database_);
        throw std::runtime_error("cannot read the database " + path + " for checkpoints: " + reason);
    }
    thread_ = std::thread([this] { Run(); });
}

SqliteCheckpointer::~SqliteCheckpointer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    stopping_.notify_all();
    thread_.join();
    sqlite3_close(database_);
}

void SqliteCheckpointer::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_.wait_for(lock, std::chrono::milliseconds(intervalMs_), [this] { return stop_; })) {
        lock.unlock();
        const int result = sqlite3_wal_checkpoint_v2(database_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        // A busy database is checkpointed next time; anything else is worth a line.
        if (result != SQLITE_OK && result != SQLITE_BUSY && result != SQLITE_LOCKED)
            std::fprintf(stderr, "parlacard-service: checkpoint: %s\n", sqlite3_errmsg(database_));
        lock.lock();
    }
}

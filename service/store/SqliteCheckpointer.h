#pragma once
#include <sqlite3.h>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Copies the write-ahead log back into the database file on a connection and thread of
// its own, so that no commit waits for that copy and its sync: left to itself, SQLite
// makes whichever commit fills the log do it, and that upload waits hundreds of ms.
// A passive checkpoint never blocks the writer.
class SqliteCheckpointer {
public:
    // Throws when the file cannot be opened.
    SqliteCheckpointer(const std::string& path, int intervalMs);
    ~SqliteCheckpointer();
    SqliteCheckpointer(const SqliteCheckpointer&) = delete;
    SqliteCheckpointer& operator=(const SqliteCheckpointer&) = delete;

private:
    void Run();

    sqlite3* database_ = nullptr;
    const int intervalMs_;
    std::mutex mutex_;
    std::condition_variable stopping_;
    bool stop_ = false;
    std::thread thread_;
};

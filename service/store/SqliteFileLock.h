#pragma once
#include <string>

// Keeps an SQLite database file to this process alone. The service remembers page reads
// between commits and runs one outbox worker beside the file: a second service on the
// same file would show stale pages and send the same messages twice. The lock lives in a
// file beside the database and goes with the process, also when it is killed.
class SqliteFileLock {
public:
    // Throws std::runtime_error when another process holds the file.
    explicit SqliteFileLock(const std::string& databasePath);
    ~SqliteFileLock();
    SqliteFileLock(const SqliteFileLock&) = delete;
    SqliteFileLock& operator=(const SqliteFileLock&) = delete;

private:
    int descriptor_ = -1;
};

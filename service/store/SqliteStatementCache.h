#pragma once
#include <sqlite3.h>
#include <string>
#include <unordered_map>

// A connection's prepared statements, each prepared once and reused: preparing costs more
// than running the short statements the pages make. Used by one caller at a time, like
// its connection.
class SqliteStatementCache {
public:
    explicit SqliteStatementCache(sqlite3* database);
    ~SqliteStatementCache();
    SqliteStatementCache(const SqliteStatementCache&) = delete;
    SqliteStatementCache& operator=(const SqliteStatementCache&) = delete;

    sqlite3* Database() const { return database_; }
    // The statement for the text, reset and without bindings; throws when it cannot be prepared.
    sqlite3_stmt* Get(const char* sql);

private:
    sqlite3* database_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

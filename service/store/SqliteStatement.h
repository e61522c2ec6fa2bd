#pragma once
#include "service/store/SqliteStatementCache.h"
#include <sqlite3.h>
#include <cstdint>
#include <string>

// One prepared statement of a connection, its values bound by position (from 1). Only
// bound values reach the database: no text from outside is ever part of the SQL.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* database, const char* sql);
    // The cache's statement for the text, handed back reset when this one goes.
    SqliteStatement(SqliteStatementCache& cache, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& Bind(int position, std::int64_t value);
    // As bytes: the greetings' texts are in their sender's code page, not UTF-8.
    SqliteStatement& Bind(int position, const std::string& bytes);
    // As text, for values the database compares: addresses, tokens, states.
    SqliteStatement& BindText(int position, const std::string& text);

    // True while it yields a row; throws on an error.
    bool Step();
    // Runs it to the end.
    void Run();

    std::int64_t Integer(int column) const;
    std::string Bytes(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3* database_;
    sqlite3_stmt* statement_ = nullptr;
    bool cached_ = false;
};

// Throws std::runtime_error with the database's own words when the code is an error.
void CheckSqlite(sqlite3* database, int code, const char* doing);

// A connection to the file, made when it is missing, with the flags added; throws when it
// cannot be opened.
sqlite3* OpenSqlite(const std::string& path, int flags);

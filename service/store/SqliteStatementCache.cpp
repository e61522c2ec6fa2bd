#include "service/store/SqliteStatementCache.h"
#include "service/store/SqliteStatement.h"

SqliteStatementCache::SqliteStatementCache(sqlite3* database) : database_(database)
{
}

SqliteStatementCache::~SqliteStatementCache()
{
    for (const auto& entry : statements_)
        sqlite3_finalize(entry.second);
}

sqlite3_stmt* SqliteStatementCache::Get(const char* sql)
{
    const auto found = statements_.find(sql);
    if (found != statements_.end())
        return found->second;
    sqlite3_stmt* statement = nullptr;
    CheckSqlite(database_, sqlite3_prepare_v3(database_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr),
                "preparing a statement");
    statements_.emplace(sql, statement);
    return statement;
}

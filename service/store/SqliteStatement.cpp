#include "service/store/SqliteStatement.h"
#include <stdexcept>

void CheckSqlite(sqlite3* database, int code, const char* doing)
{
    if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE)
        throw std::runtime_error(std::string(doing) + ": " + sqlite3_errmsg(database));
}

SqliteStatement::SqliteStatement(sqlite3* database, const char* sql) : database_(database)
{
    CheckSqlite(database_, sqlite3_prepare_v2(database_, sql, -1, &statement_, nullptr), "preparing a statement");
}

SqliteStatement::SqliteStatement(SqliteStatementCache& cache, const char* sql)
    : database_(cache.Database()), statement_(cache.Get(sql)), cached_(true)
{
}

SqliteStatement::~SqliteStatement()
{
    if (!cached_) {
        sqlite3_finalize(statement_);
        return;
    }
    // Reset at once: a statement left mid-way would hold its read transaction open.
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

SqliteStatement& SqliteStatement::Bind(int position, std::int64_t value)
{
    CheckSqlite(database_, sqlite3_bind_int64(statement_, position, value), "binding a value");
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int position, const std::string& bytes)
{
    CheckSqlite(database_,
                sqlite3_bind_blob64(statement_, position, bytes.data(), bytes.size(), SQLITE_TRANSIENT),
                "binding a value");
    return *this;
}

SqliteStatement& SqliteStatement::BindText(int position, const std::string& text)
{
    CheckSqlite(database_,
                sqlite3_bind_text64(statement_, position, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8),
                "binding a value");
    return *this;
}

bool SqliteStatement::Step()
{
    const int code = sqlite3_step(statement_);
    CheckSqlite(database_, code, "running a statement");
    return code == SQLITE_ROW;
}

void SqliteStatement::Run()
{
    while (Step()) {
    }
}

std::int64_t SqliteStatement::Integer(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::Bytes(int column) const
{
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

bool SqliteStatement::IsNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

sqlite3* OpenSqlite(const std::string& path, int flags)
{
    // Counting the library's memory would put all connections behind one lock.
    static const int uncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)uncounted;
    sqlite3* database = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | flags, nullptr);
    if (opened != SQLITE_OK) {
        const std::string reason = database ? sqlite3_errmsg(database) : "out of memory";
        sqlite3_close(database);
        throw std::runtime_error("cannot open the database " + path + ": " + reason);
    }
    return database;
}

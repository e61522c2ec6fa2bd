#pragma once
#include "service/store/GreetingStore.h"
#include "service/store/SqliteStatementCache.h"
#include <sqlite3.h>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A connection of its own for the pages' reads of an SQLite file, for one caller at a time
// (Take or TryTake it first). What it read it keeps while no change has been committed
// since: the caller passes the number of commits it knew of before the read, so that a
// greeting asked for again and again costs no read of the database.
class SqliteReader {
public:
    explicit SqliteReader(const std::string& path);
    ~SqliteReader();
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    std::unique_lock<std::mutex> Take();
    // Not locked when another caller has it.
    std::unique_lock<std::mutex> TryTake();

    std::optional<std::string> LoadBytes(std::uint64_t id);
    std::optional<StoredGreeting> Load(std::uint64_t id, std::uint64_t commits);
    std::vector<RecipientStatus> Recipients(std::uint64_t id, std::uint64_t commits);

private:
    void Forget(std::uint64_t commits);

    std::mutex mutex_;
    sqlite3* database_ = nullptr;
    std::unique_ptr<SqliteStatementCache> statements_;
    // What was read while the commits stood at commits_.
    std::uint64_t commits_ = 0;
    std::unordered_map<std::uint64_t, std::optional<StoredGreeting>> greetings_;
    std::unordered_map<std::uint64_t, std::vector<RecipientStatus>> recipients_;
};

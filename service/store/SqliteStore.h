#pragma once
#include "service/store/ServiceStore.h"
#include "service/store/CommitBatcher.h"
#include "service/store/SqliteCheckpointer.h"
#include "service/store/SqliteFileLock.h"
#include "service/store/SqliteReader.h"
#include "service/store/SqliteStatementCache.h"
#include <sqlite3.h>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>
#include <string>

// The store in one SQLite database file: write-ahead log, every commit synced to the
// disk before the call returns. The schema carries its version and is brought up to date
// when the file is opened. One connection for changes, used by one caller at a time;
// uploads that come together are committed together (one sync for all), each answered
// only after it. The pages' reads go through connections of their own, which the
// write-ahead log lets read while a commit is being synced, and which keep what they read
// until the next commit.
class SqliteStore : public ServiceStore {
public:
    // Creates the file when it is missing; throws when it cannot be opened, is newer than
    // this program or is held by another process.
    explicit SqliteStore(const std::string& path);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    // The schema version this program writes.
    static int SchemaVersion();
    int FileSchemaVersion() const;

    std::uint64_t Save(const std::string& bytes, const GreetingSummary& summary, const std::string& client,
                       UnixTime now) override;
    std::optional<std::string> LoadBytes(std::uint64_t id) const override;
    std::optional<StoredGreeting> Load(std::uint64_t id) const override;
    std::vector<RecipientStatus> Recipients(std::uint64_t id) const override;
    bool SendOnce(std::uint64_t id, const std::vector<QueuedMail>& mails, const std::string& client,
                  UnixTime now) override;
    void Queue(std::uint64_t id, const QueuedMail& mail, const std::string& client, UnixTime now) override;
    std::optional<PickUp> RecordPickUp(std::uint64_t id, const std::string& token,
                                       const std::optional<QueuedMail>& notice, UnixTime now) override;
    std::optional<std::string> Unsubscribe(const std::string& token, UnixTime now) override;
    bool IsUnsubscribed(const std::string& address) const override;
    int UploadsSince(const std::string& client, UnixTime since) const override;
    int MessagesSince(const std::string& client, UnixTime since) const override;
    int PurgeBefore(UnixTime before) override;
    bool ReadsAreLocal() const override;

    std::optional<OutboxMessage> NextDue(UnixTime now) override;
    void MarkSent(std::int64_t id, UnixTime now) override;
    void MarkRetry(std::int64_t id, UnixTime next, const std::string& reason) override;
    void MarkFailed(std::int64_t id, const std::string& reason) override;

private:
    SqliteReader& FreeReader(std::unique_lock<std::mutex>& lock) const;
    static int Committed(void* store, sqlite3* database, const char* name, int pages);
    void Execute(const char* sql) const;
    void CommitTogether(const std::vector<CommitBatcher::Part>& parts);
    std::uint64_t InsertGreeting(const std::string& bytes, const GreetingSummary& summary, const std::string& client,
                                 UnixTime now);
    void Upgrade();
    void InsertMail(std::uint64_t id, const QueuedMail& mail, const std::string& client, UnixTime now);

    // Taken before the file is opened, let go after it is closed.
    SqliteFileLock lock_;
    sqlite3* database_ = nullptr;
    // Statements of the connection, used under the mutex like the connection itself.
    std::unique_ptr<SqliteStatementCache> statements_;
    mutable std::mutex mutex_;
    std::unique_ptr<SqliteCheckpointer> checkpointer_;
    std::vector<std::unique_ptr<SqliteReader>> readers_;
    // Changes committed so far, counted once each is durable.
    std::atomic<std::uint64_t> commits_{ 0 };
    // Uploads that arrive while one commit is being synced go together in the next one.
    CommitBatcher saves_;
};

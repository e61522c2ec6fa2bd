#include "service/store/SqliteStore.h"
#include "service/store/RandomToken.h"
#include "service/store/SqliteStatement.h"
#include <algorithm>
#include <functional>
#include <cctype>
#include <exception>
#include <stdexcept>

namespace {

// Each step brings the schema from the version before it to its own (its place + 1).
// Steps are only ever added, never changed.
const char* const SchemaSteps[] = {
    R"(
CREATE TABLE greetings(
  id INTEGER PRIMARY KEY,
  bytes BLOB NOT NULL,
  recipient_name BLOB NOT NULL,
  sender_name BLOB NOT NULL,
  sender_email TEXT NOT NULL,
  send_token TEXT NOT NULL,
  client TEXT NOT NULL,
  created INTEGER NOT NULL,
  sent INTEGER);
CREATE INDEX greetings_by_client ON greetings(client, created);
CREATE INDEX greetings_by_age ON greetings(created);
CREATE TABLE recipients(
  token TEXT PRIMARY KEY,
  greeting INTEGER NOT NULL REFERENCES greetings(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  address TEXT NOT NULL,
  opened INTEGER);
CREATE INDEX recipients_by_greeting ON recipients(greeting, position);
CREATE TABLE outbox(
  id INTEGER PRIMARY KEY,
  greeting INTEGER NOT NULL REFERENCES greetings(id) ON DELETE CASCADE,
  recipient TEXT REFERENCES recipients(token) ON DELETE CASCADE,
  envelope_to TEXT NOT NULL,
  message BLOB NOT NULL,
  client TEXT NOT NULL,
  created INTEGER NOT NULL,
  state TEXT NOT NULL DEFAULT 'queued',
  attempts INTEGER NOT NULL DEFAULT 0,
  next_try INTEGER NOT NULL,
  reason TEXT NOT NULL DEFAULT '');
CREATE INDEX outbox_due ON outbox(state, next_try);
CREATE INDEX outbox_by_client ON outbox(client, created);
CREATE INDEX outbox_by_recipient ON outbox(recipient);
CREATE TABLE unsubscribed(
  address TEXT PRIMARY KEY,
  since INTEGER NOT NULL);
)",
    // Uploads per client and minute, so that the hourly limit does not count every row.
    R"(
CREATE TABLE upload_counts(
  client TEXT NOT NULL,
  minute INTEGER NOT NULL,
  uploads INTEGER NOT NULL,
  PRIMARY KEY(client, minute)) WITHOUT ROWID;
INSERT INTO upload_counts SELECT client, created/60, count(*) FROM greetings WHERE created>=0 GROUP BY client, created/60;
)",
};

const int CheckpointIntervalMs = 500;
// Connections for the pages' reads: more than the threads that read at once, so that a
// reader seldom waits for another.
const int ReadingConnections = 4;

const int KnownVersion = static_cast<int>(sizeof SchemaSteps / sizeof SchemaSteps[0]);

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// BEGIN IMMEDIATE takes the write lock at once, so a transaction never fails halfway
// for want of it; what is not committed is rolled back.
class Transaction {
public:
    explicit Transaction(sqlite3* database) : database_(database)
    {
        CheckSqlite(database_, sqlite3_exec(database_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr),
                    "starting a transaction");
    }
    ~Transaction()
    {
        if (!committed_)
            sqlite3_exec(database_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit()
    {
        CheckSqlite(database_, sqlite3_exec(database_, "COMMIT", nullptr, nullptr, nullptr), "committing");
        committed_ = true;
    }

private:
    sqlite3* database_;
    bool committed_ = false;
};

} // namespace

SqliteStore::SqliteStore(const std::string& path)
    : lock_(path), saves_([this](const std::vector<CommitBatcher::Part>& parts) { CommitTogether(parts); })
{
    database_ = OpenSqlite(path, 0);
    try {
        statements_ = std::make_unique<SqliteStatementCache>(database_);
        sqlite3_busy_timeout(database_, 10000);
        Execute("PRAGMA journal_mode=WAL");
        Execute("PRAGMA synchronous=FULL");
        Execute("PRAGMA foreign_keys=ON");
        // The checkpointer copies the log back; no commit does.
        Execute("PRAGMA wal_autocheckpoint=0");
        // Under a steady stream of commits the log starts over only in a quiet moment;
        // then it shrinks back to this.
        Execute("PRAGMA journal_size_limit=67108864");
        Upgrade();
        checkpointer_ = std::make_unique<SqliteCheckpointer>(path, CheckpointIntervalMs);
        for (int i = 0; i < ReadingConnections; ++i)
            readers_.push_back(std::make_unique<SqliteReader>(path));
        sqlite3_wal_hook(database_, &SqliteStore::Committed, this);
    } catch (...) {
        readers_.clear();
        statements_.reset();
        sqlite3_close(database_);
        throw;
    }
}

SqliteStore::~SqliteStore()
{
    checkpointer_.reset();
    readers_.clear();
    statements_.reset();
    sqlite3_close(database_);
}

// One that no other caller has just now, or else the first one once it is free.
SqliteReader& SqliteStore::FreeReader(std::unique_lock<std::mutex>& lock) const
{
    for (const auto& reader : readers_) {
        lock = reader->TryTake();
        if (lock.owns_lock())
            return *reader;
    }
    lock = readers_.front()->Take();
    return *readers_.front();
}

// After a change is committed, and before the caller that made it is answered.
int SqliteStore::Committed(void* store, sqlite3*, const char*, int)
{
    ++static_cast<SqliteStore*>(store)->commits_;
    return SQLITE_OK;
}

bool SqliteStore::ReadsAreLocal() const
{
    return true;
}

int SqliteStore::SchemaVersion()
{
    return KnownVersion;
}

void SqliteStore::Execute(const char* sql) const
{
    char* message = nullptr;
    if (sqlite3_exec(database_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("database: " + reason);
    }
}

int SqliteStore::FileSchemaVersion() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    SqliteStatement version(database_, "PRAGMA user_version");
    version.Step();
    return static_cast<int>(version.Integer(0));
}

void SqliteStore::Upgrade()
{
    const int version = FileSchemaVersion();
    if (version > KnownVersion)
        throw std::runtime_error("the database has schema version " + std::to_string(version) +
                                 ", newer than this service's " + std::to_string(KnownVersion));
    for (int step = version; step < KnownVersion; ++step) {
        Transaction transaction(database_);
        Execute(SchemaSteps[step]);
        Execute(("PRAGMA user_version=" + std::to_string(step + 1)).c_str());
        transaction.Commit();
    }
}

std::uint64_t SqliteStore::Save(const std::string& bytes, const GreetingSummary& summary, const std::string& client,
                                UnixTime now)
{
    std::uint64_t id = 0;
    saves_.Run([&] { id = InsertGreeting(bytes, summary, client, now); });
    return id;
}

void SqliteStore::CommitTogether(const std::vector<CommitBatcher::Part>& parts)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(database_);
    for (const CommitBatcher::Part& part : parts)
        part();
    transaction.Commit();
}

std::uint64_t SqliteStore::InsertGreeting(const std::string& bytes, const GreetingSummary& summary,
                                          const std::string& client, UnixTime now)
{
    std::uint64_t id;
    do {
        id = RandomGreetingId();
    } while (SqliteStatement(*statements_, "SELECT 1 FROM greetings WHERE id=?").Bind(1, static_cast<std::int64_t>(id)).Step());
    SqliteStatement(*statements_, "INSERT INTO greetings(id, bytes, recipient_name, sender_name, sender_email, "
                                  "send_token, client, created) VALUES(?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, static_cast<std::int64_t>(id))
        .Bind(2, bytes)
        .Bind(3, summary.recipientName)
        .Bind(4, summary.senderName)
        .BindText(5, summary.senderEmail)
        .BindText(6, RandomToken())
        .BindText(7, client)
        .Bind(8, now)
        .Run();
    SqliteStatement(*statements_, "INSERT INTO upload_counts(client, minute, uploads) VALUES(?, ?, 1) "
                                  "ON CONFLICT(client, minute) DO UPDATE SET uploads=uploads+1")
        .BindText(1, client)
        .Bind(2, now / 60)
        .Run();
    // One message per person, however often the list names them.
    std::vector<std::string> seen;
    for (const std::string& address : summary.recipients) {
        if (std::find(seen.begin(), seen.end(), Lower(address)) != seen.end())
            continue;
        seen.push_back(Lower(address));
        SqliteStatement(*statements_, "INSERT INTO recipients(token, greeting, position, address) VALUES(?, ?, ?, ?)")
            .BindText(1, RandomToken())
            .Bind(2, static_cast<std::int64_t>(id))
            .Bind(3, static_cast<std::int64_t>(seen.size()))
            .BindText(4, address)
            .Run();
    }
    return id;
}

std::optional<std::string> SqliteStore::LoadBytes(std::uint64_t id) const
{
    std::unique_lock<std::mutex> lock;
    return FreeReader(lock).LoadBytes(id);
}

// The count of commits is read before the database is: a reader keeps what it read only
// while that count stands.
std::optional<StoredGreeting> SqliteStore::Load(std::uint64_t id) const
{
    const std::uint64_t commits = commits_;
    std::unique_lock<std::mutex> lock;
    return FreeReader(lock).Load(id, commits);
}

std::vector<RecipientStatus> SqliteStore::Recipients(std::uint64_t id) const
{
    const std::uint64_t commits = commits_;
    std::unique_lock<std::mutex> lock;
    return FreeReader(lock).Recipients(id, commits);
}

void SqliteStore::InsertMail(std::uint64_t id, const QueuedMail& mail, const std::string& client, UnixTime now)
{
    SqliteStatement insert(*statements_, "INSERT INTO outbox(greeting, recipient, envelope_to, message, client, created, "
                                      "next_try) VALUES(?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, static_cast<std::int64_t>(id));
    if (!mail.recipientToken.empty())
        insert.BindText(2, mail.recipientToken);
    insert.BindText(3, mail.envelopeTo).Bind(4, mail.message).BindText(5, client).Bind(6, now).Bind(7, now).Run();
}

bool SqliteStore::SendOnce(std::uint64_t id, const std::vector<QueuedMail>& mails, const std::string& client,
                           UnixTime now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(database_);
    SqliteStatement mark(*statements_, "UPDATE greetings SET sent=? WHERE id=? AND sent IS NULL");
    mark.Bind(1, now).Bind(2, static_cast<std::int64_t>(id)).Run();
    if (sqlite3_changes(database_) != 1)
        return false;
    for (const QueuedMail& mail : mails)
        InsertMail(id, mail, client, now);
    transaction.Commit();
    return true;
}

void SqliteStore::Queue(std::uint64_t id, const QueuedMail& mail, const std::string& client, UnixTime now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(database_);
    InsertMail(id, mail, client, now);
    transaction.Commit();
}

std::optional<PickUp> SqliteStore::RecordPickUp(std::uint64_t id, const std::string& token,
                                                const std::optional<QueuedMail>& notice, UnixTime now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(database_);
    SqliteStatement select(*statements_, "SELECT r.address, g.client FROM recipients r JOIN greetings g ON g.id=r.greeting "
                                      "WHERE r.token=? AND r.greeting=?");
    if (!select.BindText(1, token).Bind(2, static_cast<std::int64_t>(id)).Step())
        return std::nullopt;
    PickUp pickUp;
    pickUp.greetingId = id;
    pickUp.address = select.Bytes(0);
    SqliteStatement(*statements_, "UPDATE recipients SET opened=? WHERE token=? AND opened IS NULL")
        .Bind(1, now)
        .BindText(2, token)
        .Run();
    pickUp.first = sqlite3_changes(database_) == 1;
    if (pickUp.first && notice)
        InsertMail(id, *notice, select.Bytes(1), now);
    transaction.Commit();
    return pickUp;
}

std::optional<std::string> SqliteStore::Unsubscribe(const std::string& token, UnixTime now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(database_);
    SqliteStatement select(*statements_, "SELECT address FROM recipients WHERE token=?");
    if (!select.BindText(1, token).Step())
        return std::nullopt;
    const std::string address = select.Bytes(0);
    SqliteStatement(*statements_, "INSERT OR IGNORE INTO unsubscribed(address, since) VALUES(?, ?)")
        .BindText(1, Lower(address))
        .Bind(2, now)
        .Run();
    transaction.Commit();
    return address;
}

bool SqliteStore::IsUnsubscribed(const std::string& address) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return SqliteStatement(*statements_, "SELECT 1 FROM unsubscribed WHERE address=?").BindText(1, Lower(address)).Step();
}

int SqliteStore::UploadsSince(const std::string& client, UnixTime since) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    // Whole minutes from their counts, the part of a minute before them from the greetings.
    const UnixTime from = std::max<UnixTime>(since, 0);
    SqliteStatement count(*statements_,
                          "SELECT (SELECT coalesce(sum(uploads), 0) FROM upload_counts WHERE client=?1 AND minute>?2) + "
                          "(SELECT count(*) FROM greetings WHERE client=?1 AND created>=?3 AND created<(?2+1)*60)");
    count.BindText(1, client).Bind(2, from / 60).Bind(3, from).Step();
    return static_cast<int>(count.Integer(0));
}

int SqliteStore::MessagesSince(const std::string& client, UnixTime since) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    SqliteStatement count(*statements_, "SELECT count(*) FROM outbox WHERE client=? AND created>=?");
    count.BindText(1, client).Bind(2, since).Step();
    return static_cast<int>(count.Integer(0));
}

int SqliteStore::PurgeBefore(UnixTime before)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Transaction transaction(database_);
    SqliteStatement(*statements_, "DELETE FROM greetings WHERE created<?").Bind(1, before).Run();
    const int purged = sqlite3_changes(database_);
    SqliteStatement(*statements_, "DELETE FROM upload_counts WHERE minute<?").Bind(1, before / 60).Run();
    transaction.Commit();
    return purged;
}

std::optional<OutboxMessage> SqliteStore::NextDue(UnixTime now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    // An address that asked to hear no more gets nothing, even what was queued before.
    Transaction transaction(database_);
    SqliteStatement(*statements_, "UPDATE outbox SET state='failed', reason='The address asked to receive no more "
                               "mail from this site.' WHERE state='queued' AND lower(envelope_to) IN "
                               "(SELECT address FROM unsubscribed)")
        .Run();
    transaction.Commit();
    SqliteStatement select(*statements_, "SELECT id, envelope_to, message, attempts, created FROM outbox "
                                      "WHERE state='queued' AND next_try<=? ORDER BY next_try, id LIMIT 1");
    if (!select.Bind(1, now).Step())
        return std::nullopt;
    OutboxMessage message;
    message.id = select.Integer(0);
    message.envelopeTo = select.Bytes(1);
    message.message = select.Bytes(2);
    message.attempts = static_cast<int>(select.Integer(3));
    message.created = select.Integer(4);
    return message;
}

void SqliteStore::MarkSent(std::int64_t id, UnixTime now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SqliteStatement(*statements_, "UPDATE outbox SET state='sent', attempts=attempts+1, next_try=?, reason='' WHERE id=?")
        .Bind(1, now)
        .Bind(2, id)
        .Run();
}

void SqliteStore::MarkRetry(std::int64_t id, UnixTime next, const std::string& reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SqliteStatement(*statements_, "UPDATE outbox SET attempts=attempts+1, next_try=?, reason=? WHERE id=?")
        .Bind(1, next)
        .BindText(2, reason)
        .Bind(3, id)
        .Run();
}

void SqliteStore::MarkFailed(std::int64_t id, const std::string& reason)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SqliteStatement(*statements_, "UPDATE outbox SET state='failed', attempts=attempts+1, reason=? WHERE id=?")
        .BindText(1, reason)
        .Bind(2, id)
        .Run();
}

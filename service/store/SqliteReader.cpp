#include "service/store/SqliteReader.h"
#include "service/store/SqliteStatement.h"

namespace {

// Greetings (and their recipient lists) kept at most: the ones being picked up just now.
const size_t KeptReads = 64;

// Keeps the value, making room by forgetting the rest when there is none.
template <typename Value>
void Keep(std::unordered_map<std::uint64_t, Value>& kept, std::uint64_t id, const Value& value)
{
    if (kept.size() >= KeptReads)
        kept.clear();
    kept.emplace(id, value);
}

} // namespace

SqliteReader::SqliteReader(const std::string& path)
    // Used by one caller at a time, under its own lock: SQLite's need not be taken too.
    : database_(OpenSqlite(path, SQLITE_OPEN_NOMUTEX))
{
    sqlite3_busy_timeout(database_, 10000);
    statements_ = std::make_unique<SqliteStatementCache>(database_);
}

SqliteReader::~SqliteReader()
{
    statements_.reset();
    sqlite3_close(database_);
}

std::unique_lock<std::mutex> SqliteReader::Take()
{
    return std::unique_lock<std::mutex>(mutex_);
}

std::unique_lock<std::mutex> SqliteReader::TryTake()
{
    return std::unique_lock<std::mutex>(mutex_, std::try_to_lock);
}

void SqliteReader::Forget(std::uint64_t commits)
{
    if (commits == commits_)
        return;
    greetings_.clear();
    recipients_.clear();
    commits_ = commits;
}

std::optional<std::string> SqliteReader::LoadBytes(std::uint64_t id)
{
    SqliteStatement select(*statements_, "SELECT bytes FROM greetings WHERE id=?");
    if (!select.Bind(1, static_cast<std::int64_t>(id)).Step())
        return std::nullopt;
    return select.Bytes(0);
}

std::optional<StoredGreeting> SqliteReader::Load(std::uint64_t id, std::uint64_t commits)
{
    Forget(commits);
    const auto kept = greetings_.find(id);
    if (kept != greetings_.end())
        return kept->second;
    SqliteStatement select(*statements_, "SELECT bytes, send_token, created, sent FROM greetings WHERE id=?");
    std::optional<StoredGreeting> greeting;
    if (select.Bind(1, static_cast<std::int64_t>(id)).Step()) {
        greeting.emplace();
        greeting->id = id;
        greeting->summary = ParseGreeting(select.Bytes(0)).value_or(GreetingSummary());
        greeting->sendToken = select.Bytes(1);
        greeting->created = select.Integer(2);
        greeting->sent = !select.IsNull(3);
    }
    Keep(greetings_, id, greeting);
    return greeting;
}

std::vector<RecipientStatus> SqliteReader::Recipients(std::uint64_t id, std::uint64_t commits)
{
    Forget(commits);
    const auto kept = recipients_.find(id);
    if (kept != recipients_.end())
        return kept->second;
    SqliteStatement select(*statements_,
                           "SELECT r.address, r.token, r.opened IS NOT NULL, o.state, o.reason, "
                           "EXISTS(SELECT 1 FROM unsubscribed u WHERE u.address=lower(r.address)) "
                           "FROM recipients r LEFT JOIN outbox o ON o.recipient=r.token "
                           "WHERE r.greeting=? ORDER BY r.position");
    select.Bind(1, static_cast<std::int64_t>(id));
    std::vector<RecipientStatus> recipients;
    while (select.Step()) {
        RecipientStatus status;
        status.address = select.Bytes(0);
        status.token = select.Bytes(1);
        status.reason = select.Bytes(4);
        if (select.Integer(5))
            status.state = RecipientState::Unsubscribed;
        else if (select.Integer(2))
            status.state = RecipientState::Opened;
        else if (!select.IsNull(3))
            status.state = RecipientStateOf(select.Bytes(3));
        recipients.push_back(status);
    }
    Keep(recipients_, id, recipients);
    return recipients;
}

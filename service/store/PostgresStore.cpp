#include "service/store/PostgresStore.h"
#include "service/store/RandomToken.h"
#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

// Each step brings the schema from the version before it to its own (its place + 1).
// Steps are only ever added, never changed.
const char* const SchemaSteps[] = {
    R"(
CREATE TABLE greetings(
  id bigint PRIMARY KEY,
  bytes bytea NOT NULL,
  recipient_name bytea NOT NULL,
  sender_name bytea NOT NULL,
  sender_email text NOT NULL,
  send_token text NOT NULL,
  client text NOT NULL,
  created bigint NOT NULL,
  sent bigint);
CREATE INDEX greetings_by_client ON greetings(client, created);
CREATE INDEX greetings_by_age ON greetings(created);
CREATE TABLE recipients(
  token text PRIMARY KEY,
  greeting bigint NOT NULL REFERENCES greetings(id) ON DELETE CASCADE,
  position integer NOT NULL,
  address text NOT NULL,
  opened bigint);
CREATE INDEX recipients_by_greeting ON recipients(greeting, position);
CREATE TABLE outbox(
  id bigserial PRIMARY KEY,
  greeting bigint NOT NULL REFERENCES greetings(id) ON DELETE CASCADE,
  recipient text REFERENCES recipients(token) ON DELETE CASCADE,
  envelope_to text NOT NULL,
  message bytea NOT NULL,
  client text NOT NULL,
  created bigint NOT NULL,
  state text NOT NULL DEFAULT 'queued',
  attempts integer NOT NULL DEFAULT 0,
  next_try bigint NOT NULL,
  leased_until bigint NOT NULL DEFAULT 0,
  reason bytea NOT NULL DEFAULT '');
CREATE INDEX outbox_due ON outbox(next_try, id) WHERE state = 'queued';
CREATE INDEX outbox_by_client ON outbox(client, created);
CREATE INDEX outbox_by_recipient ON outbox(recipient);
CREATE TABLE unsubscribed(
  address text PRIMARY KEY,
  since bigint NOT NULL);
)",
};

const int KnownVersion = static_cast<int>(sizeof SchemaSteps / sizeof SchemaSteps[0]);

// Held while the schema is looked at and brought up to date, so that instances starting
// together take turns.
const char* const UpgradeLock = "SELECT pg_advisory_xact_lock(7365102)";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Tokens are the site's own 32 hex digits; anything else a client brings names nothing
// (and never reaches the database, which wants its text in one encoding).
bool IsToken(const std::string& token)
{
    return token.size() == 32 &&
           std::all_of(token.begin(), token.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) ||
                                                                        (c >= 'a' && c <= 'f'); });
}

std::int64_t Signed(std::uint64_t id)
{
    return static_cast<std::int64_t>(id);
}

} // namespace

PostgresStore::PostgresStore(const std::string& location, PostgresSettings settings)
    : pool_(location, std::max<size_t>(settings.connections, 1)), settings_(settings)
{
    Upgrade();
}

int PostgresStore::SchemaVersion()
{
    return KnownVersion;
}

int PostgresStore::DatabaseSchemaVersion()
{
    const PostgresPool::Lease connection = pool_.Acquire();
    const PostgresResult version = connection->Run(PostgresQuery(
        "SELECT coalesce(max(version), 0) FROM schema_version"));
    return static_cast<int>(version.Integer(0, 0));
}

void PostgresStore::Upgrade()
{
    const PostgresPool::Lease connection = pool_.Acquire();
    PostgresTransaction transaction(*connection);
    connection->Execute(UpgradeLock);
    connection->Execute("CREATE TABLE IF NOT EXISTS schema_version(version integer NOT NULL)");
    const int version = static_cast<int>(
        connection->Run(PostgresQuery("SELECT coalesce(max(version), 0) FROM schema_version")).Integer(0, 0));
    if (version > KnownVersion)
        throw std::runtime_error("the database has schema version " + std::to_string(version) +
                                 ", newer than this service's " + std::to_string(KnownVersion));
    for (int step = version; step < KnownVersion; ++step)
        connection->Execute(SchemaSteps[step]);
    if (version < KnownVersion) {
        connection->Execute("DELETE FROM schema_version");
        connection->Run(PostgresQuery("INSERT INTO schema_version(version) VALUES($1::integer)").Bind(KnownVersion));
    }
    transaction.Commit();
}

std::uint64_t PostgresStore::Save(const std::string& bytes, const GreetingSummary& summary, const std::string& client,
                                  UnixTime now)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    PostgresTransaction transaction(*connection);
    // Another instance may draw the same id at the same moment: the key decides.
    std::uint64_t id;
    do {
        id = RandomGreetingId();
    } while (connection
                 ->Run(PostgresQuery("INSERT INTO greetings(id, bytes, recipient_name, sender_name, sender_email, "
                                     "send_token, client, created) VALUES($1, $2, $3, $4, $5, $6, $7, $8) "
                                     "ON CONFLICT (id) DO NOTHING")
                           .Bind(Signed(id))
                           .Bind(bytes)
                           .Bind(summary.recipientName)
                           .Bind(summary.senderName)
                           .BindText(summary.senderEmail)
                           .BindText(RandomToken())
                           .BindText(client)
                           .Bind(now))
                 .Changed() != 1);
    // One message per person, however often the list names them.
    std::vector<std::string> seen;
    for (const std::string& address : summary.recipients) {
        if (std::find(seen.begin(), seen.end(), Lower(address)) != seen.end())
            continue;
        seen.push_back(Lower(address));
        connection->Run(PostgresQuery("INSERT INTO recipients(token, greeting, position, address) "
                                      "VALUES($1, $2, $3::integer, $4)")
                            .BindText(RandomToken())
                            .Bind(Signed(id))
                            .Bind(static_cast<std::int64_t>(seen.size()))
                            .BindText(address));
    }
    transaction.Commit();
    return id;
}

std::optional<std::string> PostgresStore::LoadBytes(std::uint64_t id) const
{
    const PostgresPool::Lease connection = pool_.Acquire();
    const PostgresResult result = connection->Run(PostgresQuery("SELECT bytes FROM greetings WHERE id=$1").Bind(Signed(id)));
    if (result.Rows() == 0)
        return std::nullopt;
    return result.Bytes(0, 0);
}

std::optional<StoredGreeting> PostgresStore::Load(std::uint64_t id) const
{
    const PostgresPool::Lease connection = pool_.Acquire();
    const PostgresResult result = connection->Run(
        PostgresQuery("SELECT bytes, send_token, created, sent FROM greetings WHERE id=$1").Bind(Signed(id)));
    if (result.Rows() == 0)
        return std::nullopt;
    StoredGreeting greeting;
    greeting.id = id;
    greeting.summary = ParseGreeting(result.Bytes(0, 0)).value_or(GreetingSummary());
    greeting.sendToken = result.Bytes(0, 1);
    greeting.created = result.Integer(0, 2);
    greeting.sent = !result.IsNull(0, 3);
    return greeting;
}

std::vector<RecipientStatus> PostgresStore::Recipients(std::uint64_t id) const
{
    const PostgresPool::Lease connection = pool_.Acquire();
    const PostgresResult result = connection->Run(
        PostgresQuery("SELECT r.address, r.token, r.opened IS NOT NULL, o.state, o.reason, "
                      "EXISTS(SELECT 1 FROM unsubscribed u WHERE u.address=lower(r.address)) "
                      "FROM recipients r LEFT JOIN outbox o ON o.recipient=r.token "
                      "WHERE r.greeting=$1 ORDER BY r.position")
            .Bind(Signed(id)));
    std::vector<RecipientStatus> recipients;
    for (int row = 0; row < result.Rows(); ++row) {
        RecipientStatus status;
        status.address = result.Bytes(row, 0);
        status.token = result.Bytes(row, 1);
        if (!result.IsNull(row, 4))
            status.reason = result.Bytes(row, 4);
        if (result.Integer(row, 5))
            status.state = RecipientState::Unsubscribed;
        else if (result.Integer(row, 2))
            status.state = RecipientState::Opened;
        else if (!result.IsNull(row, 3))
            status.state = RecipientStateOf(result.Bytes(row, 3));
        recipients.push_back(status);
    }
    return recipients;
}

void PostgresStore::InsertMail(PostgresConnection& connection, std::uint64_t id, const QueuedMail& mail,
                               const std::string& client, UnixTime now)
{
    PostgresQuery insert("INSERT INTO outbox(greeting, recipient, envelope_to, message, client, created, next_try) "
                         "VALUES($1, $2, $3, $4, $5, $6, $7)");
    insert.Bind(Signed(id));
    if (mail.recipientToken.empty())
        insert.BindNullText();
    else
        insert.BindText(mail.recipientToken);
    connection.Run(insert.BindText(mail.envelopeTo).Bind(mail.message).BindText(client).Bind(now).Bind(now));
}

bool PostgresStore::SendOnce(std::uint64_t id, const std::vector<QueuedMail>& mails, const std::string& client,
                             UnixTime now)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    PostgresTransaction transaction(*connection);
    // The row lock makes a second Send (from any instance) wait, then find it sent.
    if (connection->Run(PostgresQuery("UPDATE greetings SET sent=$1 WHERE id=$2 AND sent IS NULL")
                            .Bind(now)
                            .Bind(Signed(id)))
            .Changed() != 1)
        return false;
    for (const QueuedMail& mail : mails)
        InsertMail(*connection, id, mail, client, now);
    transaction.Commit();
    return true;
}

void PostgresStore::Queue(std::uint64_t id, const QueuedMail& mail, const std::string& client, UnixTime now)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    InsertMail(*connection, id, mail, client, now);
}

std::optional<PickUp> PostgresStore::RecordPickUp(std::uint64_t id, const std::string& token,
                                                  const std::optional<QueuedMail>& notice, UnixTime now)
{
    if (!IsToken(token))
        return std::nullopt;
    const PostgresPool::Lease connection = pool_.Acquire();
    PostgresTransaction transaction(*connection);
    const PostgresResult found = connection->Run(
        PostgresQuery("SELECT r.address, g.client FROM recipients r JOIN greetings g ON g.id=r.greeting "
                      "WHERE r.token=$1 AND r.greeting=$2")
            .BindText(token)
            .Bind(Signed(id)));
    if (found.Rows() == 0)
        return std::nullopt;
    PickUp pickUp;
    pickUp.greetingId = id;
    pickUp.address = found.Bytes(0, 0);
    pickUp.first = connection->Run(PostgresQuery("UPDATE recipients SET opened=$1 WHERE token=$2 AND opened IS NULL")
                                       .Bind(now)
                                       .BindText(token))
                       .Changed() == 1;
    if (pickUp.first && notice)
        InsertMail(*connection, id, *notice, found.Bytes(0, 1), now);
    transaction.Commit();
    return pickUp;
}

std::optional<std::string> PostgresStore::Unsubscribe(const std::string& token, UnixTime now)
{
    if (!IsToken(token))
        return std::nullopt;
    const PostgresPool::Lease connection = pool_.Acquire();
    PostgresTransaction transaction(*connection);
    const PostgresResult found =
        connection->Run(PostgresQuery("SELECT address FROM recipients WHERE token=$1").BindText(token));
    if (found.Rows() == 0)
        return std::nullopt;
    const std::string address = found.Bytes(0, 0);
    connection->Run(PostgresQuery("INSERT INTO unsubscribed(address, since) VALUES($1, $2) ON CONFLICT DO NOTHING")
                        .BindText(Lower(address))
                        .Bind(now));
    transaction.Commit();
    return address;
}

bool PostgresStore::IsUnsubscribed(const std::string& address) const
{
    const PostgresPool::Lease connection = pool_.Acquire();
    return connection->Run(PostgresQuery("SELECT 1 FROM unsubscribed WHERE address=$1").BindText(Lower(address)))
               .Rows() > 0;
}

int PostgresStore::UploadsSince(const std::string& client, UnixTime since) const
{
    const PostgresPool::Lease connection = pool_.Acquire();
    return static_cast<int>(
        connection->Run(PostgresQuery("SELECT count(*) FROM greetings WHERE client=$1 AND created>=$2")
                            .BindText(client)
                            .Bind(since))
            .Integer(0, 0));
}

int PostgresStore::MessagesSince(const std::string& client, UnixTime since) const
{
    const PostgresPool::Lease connection = pool_.Acquire();
    return static_cast<int>(
        connection->Run(PostgresQuery("SELECT count(*) FROM outbox WHERE client=$1 AND created>=$2")
                            .BindText(client)
                            .Bind(since))
            .Integer(0, 0));
}

int PostgresStore::PurgeBefore(UnixTime before)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    return connection->Run(PostgresQuery("DELETE FROM greetings WHERE created<$1").Bind(before)).Changed();
}

std::optional<OutboxMessage> PostgresStore::NextDue(UnixTime now)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    // An address that asked to hear no more gets nothing, even what was queued before.
    connection->Run(PostgresQuery("UPDATE outbox SET state='failed', reason=$1 WHERE state='queued' AND "
                                  "lower(envelope_to) IN (SELECT address FROM unsubscribed)")
                        .Bind(std::string("The address asked to receive no more mail from this site.")));
    // Rows another instance is taking at this moment are skipped, not waited for; a
    // lease that ran out is its instance's that died.
    const PostgresResult taken = connection->Run(
        PostgresQuery("UPDATE outbox SET leased_until=$2 WHERE id=("
                      "SELECT id FROM outbox WHERE state='queued' AND next_try<=$1 AND leased_until<=$1 "
                      "ORDER BY next_try, id LIMIT 1 FOR UPDATE SKIP LOCKED) "
                      "RETURNING id, envelope_to, message, attempts, created")
            .Bind(now)
            .Bind(now + settings_.leaseSeconds));
    if (taken.Rows() == 0)
        return std::nullopt;
    OutboxMessage message;
    message.id = taken.Integer(0, 0);
    message.envelopeTo = taken.Bytes(0, 1);
    message.message = taken.Bytes(0, 2);
    message.attempts = static_cast<int>(taken.Integer(0, 3));
    message.created = taken.Integer(0, 4);
    return message;
}

void PostgresStore::MarkSent(std::int64_t id, UnixTime now)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    connection->Run(
        PostgresQuery("UPDATE outbox SET state='sent', attempts=attempts+1, next_try=$1, reason='' WHERE id=$2")
            .Bind(now)
            .Bind(id));
}

// Only a message still queued: one whose lease ran out may have been sent by another
// instance meanwhile, and that stays recorded.
void PostgresStore::MarkRetry(std::int64_t id, UnixTime next, const std::string& reason)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    connection->Run(PostgresQuery("UPDATE outbox SET attempts=attempts+1, next_try=$1, leased_until=0, reason=$2 "
                                  "WHERE id=$3 AND state='queued'")
                        .Bind(next)
                        .Bind(reason)
                        .Bind(id));
}

void PostgresStore::MarkFailed(std::int64_t id, const std::string& reason)
{
    const PostgresPool::Lease connection = pool_.Acquire();
    connection->Run(
        PostgresQuery("UPDATE outbox SET state='failed', attempts=attempts+1, reason=$1 WHERE id=$2 AND state='queued'")
            .Bind(reason)
            .Bind(id));
}

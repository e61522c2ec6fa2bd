#pragma once
#include "service/store/PostgresPool.h"
#include "service/store/ServiceStore.h"
#include <string>

struct PostgresSettings {
    size_t connections = 8;
    // How long a message taken from the outbox stays with the instance that took it; one
    // that died is taken over by another after this. Longer than any delivery takes.
    long leaseSeconds = 300;
};

// The store in a PostgreSQL database that several instances of the service share. The
// database decides what is unique (ids are drawn, inserted and drawn again on a clash),
// the outbox is taken message by message with row locks so no two instances send the
// same one, and the limits are counted there so they hold across instances. The schema
// carries its version and is brought up to date, by one instance at a time, when the
// store opens. Commits return once the server has them durable.
class PostgresStore : public ServiceStore {
public:
    // Throws StoreUnavailable when the database cannot be reached, std::runtime_error
    // when it is newer than this program.
    PostgresStore(const std::string& location, PostgresSettings settings);

    static int SchemaVersion();
    int DatabaseSchemaVersion();

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
    // Every read is a round trip to the database server.
    bool ReadsAreLocal() const override { return false; }

    // Takes the message for leaseSeconds: another instance sees it only after that.
    std::optional<OutboxMessage> NextDue(UnixTime now) override;
    void MarkSent(std::int64_t id, UnixTime now) override;
    void MarkRetry(std::int64_t id, UnixTime next, const std::string& reason) override;
    void MarkFailed(std::int64_t id, const std::string& reason) override;

private:
    void Upgrade();
    static void InsertMail(PostgresConnection& connection, std::uint64_t id, const QueuedMail& mail,
                           const std::string& client, UnixTime now);

    mutable PostgresPool pool_;
    PostgresSettings settings_;
};

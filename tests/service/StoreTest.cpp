#include "service/store/PostgresStore.h"
#include "service/store/SqliteStore.h"
#include "service/store/StoreUnavailable.h"
#include "ServiceProcess.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include <atomic>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>
#include <thread>

namespace {

const UnixTime Now = 1800000000;

std::string EveryByte()
{
    std::string bytes = GreetingText("bob@example.com");
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes + "\r\n";
}

// A look at the file from a connection of its own.
std::string Pragma(const std::string& path, const char* pragma)
{
    sqlite3* database = nullptr;
    sqlite3_open(path.c_str(), &database);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(database, (std::string("PRAGMA ") + pragma).c_str(), -1, &statement, nullptr);
    std::string value;
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(database);
    return value;
}

QueuedMail MailTo(const RecipientStatus& recipient)
{
    return QueuedMail{ recipient.token, recipient.address, "message to " + recipient.address };
}

} // namespace

// What the store fixtures share: greetings saved to their store, and a message for each
// of a greeting's recipients.
template <class Store>
class StoreFixture {
protected:
    std::uint64_t SaveFor(const std::string& recipients, const std::string& client = "10.0.0.1", UnixTime at = Now)
    {
        const std::string text = GreetingText(recipients);
        return store->Save(text, *ParseGreeting(text), client, at);
    }
    std::vector<QueuedMail> MailsFor(std::uint64_t id)
    {
        std::vector<QueuedMail> mails;
        for (const RecipientStatus& recipient : store->Recipients(id))
            mails.push_back(MailTo(recipient));
        return mails;
    }

    std::unique_ptr<Store> store;
};

// Every case runs on both back ends: an SQLite file in a temporary folder and a database
// of its own in the tests' PostgreSQL cluster.
class StoreTest : public testing::TestWithParam<std::string>, protected StoreFixture<ServiceStore> {
protected:
    StoreTest() { store = Open(); }
    // Closed before its folder and database go.
    ~StoreTest() override { store.reset(); }

    std::unique_ptr<ServiceStore> Open()
    {
        if (GetParam() == "sqlite")
            return std::make_unique<SqliteStore>(folder.File("parlacard.db"));
        if (!database)
            database = std::make_unique<TestDatabase>();
        return std::make_unique<PostgresStore>(database->Address(), PostgresSettings{});
    }

    TempFolder folder;
    std::unique_ptr<TestDatabase> database;
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, StoreTest, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST_P(StoreTest, KeepsGreetingsByteForByteAcrossReopening)
{
    const std::string bytes = EveryByte();
    const std::uint64_t id = store->Save(bytes, *ParseGreeting(bytes), "10.0.0.1", Now);
    EXPECT_EQ(bytes, store->LoadBytes(id));
    store.reset();
    store = Open();
    EXPECT_EQ(bytes, store->LoadBytes(id));
    const std::optional<StoredGreeting> greeting = store->Load(id);
    ASSERT_TRUE(greeting);
    EXPECT_EQ("Ann Sender", greeting->summary.senderName);
    EXPECT_EQ(32u, greeting->sendToken.size());
    EXPECT_FALSE(greeting->sent);
    EXPECT_FALSE(store->LoadBytes(id + 1));
    EXPECT_FALSE(store->Load(id + 1));
}

// Saves that come together are committed together; each gets its own id and bytes.
TEST_P(StoreTest, SavesFromManyThreadsEachKeepTheirOwn)
{
    std::vector<std::thread> threads;
    std::vector<std::vector<std::pair<std::uint64_t, std::string>>> saved(8);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int n = 0; n < 25; ++n) {
                const std::string text = GreetingText("bob@example.com", "Sender " + std::to_string(t * 100 + n));
                saved[t].emplace_back(store->Save(text, *ParseGreeting(text), "10.0.0.1", Now), text);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::set<std::uint64_t> ids;
    for (const auto& list : saved) {
        for (const auto& [id, text] : list) {
            ids.insert(id);
            EXPECT_EQ(text, store->LoadBytes(id));
            EXPECT_EQ(1u, store->Recipients(id).size());
        }
    }
    EXPECT_EQ(200u, ids.size());
    EXPECT_EQ(200, store->UploadsSince("10.0.0.1", Now));
}

class SqliteStoreTest : public testing::Test, protected StoreFixture<SqliteStore> {
protected:
    SqliteStoreTest() { store = std::make_unique<SqliteStore>(path); }
    ~SqliteStoreTest() override { store.reset(); }

    TempFolder folder;
    std::string path = folder.File("parlacard.db");
};

TEST_F(SqliteStoreTest, WritesAheadAndCarriesItsSchemaVersion)
{
    EXPECT_EQ("wal", Pragma(path, "journal_mode"));
    EXPECT_EQ(std::to_string(SqliteStore::SchemaVersion()), Pragma(path, "user_version"));
    EXPECT_EQ(SqliteStore::SchemaVersion(), store->FileSchemaVersion());
}

TEST_F(SqliteStoreTest, RefusesADatabaseOfANewerService)
{
    store.reset();
    sqlite3* database = nullptr;
    sqlite3_open(path.c_str(), &database);
    sqlite3_exec(database, ("PRAGMA user_version=" + std::to_string(SqliteStore::SchemaVersion() + 1)).c_str(), nullptr,
                 nullptr, nullptr);
    sqlite3_close(database);
    EXPECT_THROW(SqliteStore{ path }, std::runtime_error);
}

TEST_F(SqliteStoreTest, RefusesAFileThatIsNoDatabase)
{
    FILE* file = fopen(folder.File("garbage.db").c_str(), "wb");
    fputs("this is not a database, but it is long enough to look like one's header........", file);
    fclose(file);
    EXPECT_THROW(SqliteStore{ folder.File("garbage.db") }, std::runtime_error);
}

TEST_P(StoreTest, GivesEachRecipientOneTokenOnce)
{
    const std::uint64_t id = SaveFor("bob@example.com,carol@example.com,BOB@example.com");
    const std::vector<RecipientStatus> recipients = store->Recipients(id);
    ASSERT_EQ(2u, recipients.size());
    EXPECT_EQ("bob@example.com", recipients[0].address);
    EXPECT_EQ("carol@example.com", recipients[1].address);
    EXPECT_NE(recipients[0].token, recipients[1].token);
    EXPECT_EQ(RecipientState::NotSent, recipients[0].state);
}

TEST_P(StoreTest, SendsOnceAndFollowsEachRecipient)
{
    const std::uint64_t id = SaveFor("bob@example.com,carol@example.com,dan@example.com");
    const std::vector<QueuedMail> mails = MailsFor(id);
    EXPECT_TRUE(store->SendOnce(id, mails, "10.0.0.1", Now));
    EXPECT_FALSE(store->SendOnce(id, mails, "10.0.0.1", Now));
    EXPECT_TRUE(store->Load(id)->sent);
    EXPECT_EQ(3, store->MessagesSince("10.0.0.1", Now));

    // Oldest first; each delivery or failure is recorded against its recipient.
    std::optional<OutboxMessage> first = store->NextDue(Now);
    ASSERT_TRUE(first);
    EXPECT_EQ("bob@example.com", first->envelopeTo);
    EXPECT_EQ("message to bob@example.com", first->message);
    store->MarkSent(first->id, Now);
    std::optional<OutboxMessage> second = store->NextDue(Now);
    ASSERT_TRUE(second);
    store->MarkRetry(second->id, Now + 60, "421 try later");
    std::optional<OutboxMessage> third = store->NextDue(Now);
    ASSERT_TRUE(third);
    EXPECT_EQ("dan@example.com", third->envelopeTo);
    store->MarkFailed(third->id, "550 no such user");
    EXPECT_FALSE(store->NextDue(Now + 59));
    const std::optional<OutboxMessage> again = store->NextDue(Now + 60);
    ASSERT_TRUE(again);
    EXPECT_EQ(second->id, again->id);
    EXPECT_EQ(1, again->attempts);

    const std::vector<RecipientStatus> recipients = store->Recipients(id);
    EXPECT_EQ(RecipientState::Sent, recipients[0].state);
    EXPECT_EQ(RecipientState::Queued, recipients[1].state);
    EXPECT_EQ("421 try later", recipients[1].reason);
    EXPECT_EQ(RecipientState::Failed, recipients[2].state);
    EXPECT_EQ("550 no such user", recipients[2].reason);
}

// What the pages read is read again after every change, however often it was read before.
TEST_P(StoreTest, EveryChangeIsSeenByTheReadsAfterIt)
{
    const std::uint64_t id = SaveFor("bob@example.com");
    const std::uint64_t missing = id + 1;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(store->Load(id)->sent);
        EXPECT_EQ(RecipientState::NotSent, store->Recipients(id)[0].state);
        EXPECT_FALSE(store->Load(missing));
    }
    ASSERT_TRUE(store->SendOnce(id, MailsFor(id), "10.0.0.1", Now));
    EXPECT_TRUE(store->Load(id)->sent);
    EXPECT_EQ(RecipientState::Queued, store->Recipients(id)[0].state);
    const std::optional<OutboxMessage> message = store->NextDue(Now);
    ASSERT_TRUE(message);
    store->MarkSent(message->id, Now);
    EXPECT_EQ(RecipientState::Sent, store->Recipients(id)[0].state);
    EXPECT_EQ(1, store->PurgeBefore(Now + 1));
    EXPECT_FALSE(store->Load(id));
    EXPECT_TRUE(store->Recipients(id).empty());
}

TEST_P(StoreTest, RecordsTheFirstPickUpAndQueuesItsNoticeOnce)
{
    const std::uint64_t id = SaveFor("bob@example.com");
    const RecipientStatus bob = store->Recipients(id)[0];
    const QueuedMail notice{ "", "ann@example.com", "bob opened it" };
    EXPECT_FALSE(store->RecordPickUp(id, "0123456789abcdef0123456789abcdef", notice, Now));
    EXPECT_FALSE(store->RecordPickUp(id + 1, bob.token, notice, Now));

    const std::optional<PickUp> first = store->RecordPickUp(id, bob.token, notice, Now);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->first);
    EXPECT_EQ("bob@example.com", first->address);
    EXPECT_FALSE(store->RecordPickUp(id, bob.token, notice, Now + 5)->first);
    EXPECT_EQ(RecipientState::Opened, store->Recipients(id)[0].state);

    std::optional<OutboxMessage> queued = store->NextDue(Now);
    ASSERT_TRUE(queued);
    EXPECT_EQ("bob opened it", queued->message);
    store->MarkSent(queued->id, Now);
    EXPECT_FALSE(store->NextDue(Now + 10));
}

TEST_P(StoreTest, AnUnsubscribedAddressIsNeverMailedAgain)
{
    const std::uint64_t id = SaveFor("bob@example.com,carol@example.com");
    ASSERT_TRUE(store->SendOnce(id, MailsFor(id), "10.0.0.1", Now));
    const std::optional<std::string> address = store->Unsubscribe(store->Recipients(id)[0].token, Now);
    EXPECT_EQ("bob@example.com", address);
    EXPECT_FALSE(store->Unsubscribe("nonsense", Now));
    EXPECT_TRUE(store->IsUnsubscribed("Bob@Example.com"));
    EXPECT_FALSE(store->IsUnsubscribed("carol@example.com"));

    // What was queued for the address before does not go either.
    const std::optional<OutboxMessage> next = store->NextDue(Now);
    ASSERT_TRUE(next);
    EXPECT_EQ("carol@example.com", next->envelopeTo);
    store->MarkSent(next->id, Now);
    EXPECT_FALSE(store->NextDue(Now));
    EXPECT_EQ(RecipientState::Unsubscribed, store->Recipients(id)[0].state);

    // A later greeting to the same person shows it too.
    const std::uint64_t later = SaveFor("bob@example.com");
    EXPECT_EQ(RecipientState::Unsubscribed, store->Recipients(later)[0].state);
}

TEST_P(StoreTest, CountsPerClientAndPurgesOldGreetingsWithEverythingAboutThem)
{
    const std::uint64_t old = SaveFor("bob@example.com", "10.0.0.1", Now - 100);
    const std::uint64_t recent = SaveFor("bob@example.com", "10.0.0.1", Now);
    SaveFor("bob@example.com", "10.0.0.2", Now);
    EXPECT_EQ(2, store->UploadsSince("10.0.0.1", Now - 100));
    EXPECT_EQ(1, store->UploadsSince("10.0.0.1", Now - 99));
    EXPECT_EQ(0, store->UploadsSince("10.0.0.3", 0));
    ASSERT_TRUE(store->SendOnce(old, MailsFor(old), "10.0.0.1", Now - 100));

    EXPECT_EQ(1, store->PurgeBefore(Now - 50));
    EXPECT_FALSE(store->Load(old));
    EXPECT_TRUE(store->Recipients(old).empty());
    EXPECT_FALSE(store->NextDue(Now));
    EXPECT_TRUE(store->Load(recent));
    EXPECT_EQ(0, store->PurgeBefore(Now - 50));
}

// Tokens come from clients: bytes that are no token of the site's name nothing, and the
// database never sees them.
TEST_P(StoreTest, TokensThatAreNoTokensNameNothing)
{
    const std::uint64_t id = SaveFor("bob@example.com");
    for (const std::string& token : { std::string(32, '\xff'), std::string("0123456789abcdef") + std::string(16, '\0'),
                                      std::string("'; DROP TABLE recipients; --") }) {
        EXPECT_FALSE(store->RecordPickUp(id, token, std::nullopt, Now));
        EXPECT_FALSE(store->Unsubscribe(token, Now));
    }
    EXPECT_EQ(1u, store->Recipients(id).size());
}

// The hourly limit counts whole minutes from their totals and the part of a minute before
// them from the greetings: the count is exact wherever the window starts.
TEST_P(StoreTest, CountsUploadsExactlyWhereverTheWindowStarts)
{
    const UnixTime base = Now - Now % 60;
    const std::vector<UnixTime> times = { base, base + 59, base + 60, base + 61, base + 119, base + 200, base + 200 };
    for (const UnixTime at : times)
        SaveFor("bob@example.com", "10.0.0.1", at);
    SaveFor("bob@example.com", "10.0.0.2", base + 61);
    for (UnixTime since = base - 1; since <= base + 201; ++since) {
        const int expected =
            static_cast<int>(std::count_if(times.begin(), times.end(), [since](UnixTime at) { return at >= since; }));
        ASSERT_EQ(expected, store->UploadsSince("10.0.0.1", since)) << "since base + " << since - base;
    }
}

// A file of the first schema, from before the counts, has its uploads counted once opened.
TEST_F(SqliteStoreTest, AnOlderFileGetsTheCountsOfTheUploadsItHolds)
{
    SaveFor("bob@example.com", "10.0.0.1", Now - 30);
    SaveFor("bob@example.com", "10.0.0.1", Now);
    store.reset();
    sqlite3* database = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &database));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(database, "DROP TABLE upload_counts; PRAGMA user_version=1", nullptr, nullptr, nullptr));
    sqlite3_close(database);

    store = std::make_unique<SqliteStore>(path);
    EXPECT_EQ(SqliteStore::SchemaVersion(), store->FileSchemaVersion());
    EXPECT_EQ(2, store->UploadsSince("10.0.0.1", Now - 30));
    EXPECT_EQ(1, store->UploadsSince("10.0.0.1", Now - 29));
}

// No commit copies the log back into the file (that stalls whichever upload does it):
// the store's own checkpoints do, while it stays open.
TEST_F(SqliteStoreTest, TheLogIsCopiedBackWhileTheStoreIsOpen)
{
    const auto size = [this] { return std::filesystem::file_size(path); };
    const std::uintmax_t empty = size();
    for (int n = 0; n < 200; ++n)
        SaveFor("bob@example.com");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (size() == empty && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GT(size(), empty);
    EXPECT_EQ(200, store->UploadsSince("10.0.0.1", Now));
}

class PostgresStoreTest : public testing::Test {
protected:
    std::unique_ptr<PostgresStore> Open(PostgresSettings settings = {}) const
    {
        return std::make_unique<PostgresStore>(database.Address(), settings);
    }
    // Queues one message per recipient.
    std::uint64_t Queue(PostgresStore& store, int recipients) const
    {
        const std::string text = GreetingText(RecipientList(recipients));
        const std::uint64_t id = store.Save(text, *ParseGreeting(text), "10.0.0.1", Now);
        std::vector<QueuedMail> mails;
        for (const RecipientStatus& recipient : store.Recipients(id))
            mails.push_back(MailTo(recipient));
        EXPECT_TRUE(store.SendOnce(id, mails, "10.0.0.1", Now));
        return id;
    }

    TestDatabase database;
};

TEST_F(PostgresStoreTest, CarriesItsSchemaVersionAndRefusesANewerOne)
{
    std::unique_ptr<PostgresStore> store = Open();
    EXPECT_EQ(std::to_string(PostgresStore::SchemaVersion()), database.Value("SELECT version FROM schema_version"));
    EXPECT_EQ(PostgresStore::SchemaVersion(), store->DatabaseSchemaVersion());
    store.reset();
    // Opening again changes nothing.
    store = Open();
    EXPECT_EQ("1", database.Value("SELECT count(*) FROM schema_version"));
    store.reset();
    database.Value("UPDATE schema_version SET version=version+1");
    EXPECT_THROW(Open(), std::runtime_error);
}

// Instances that start together on a new database take turns at its schema.
TEST_F(PostgresStoreTest, InstancesStartingTogetherMakeTheSchemaOnce)
{
    std::vector<std::thread> threads;
    std::atomic<int> opened{ 0 };
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            try {
                Open(PostgresSettings{ 1, 300 });
                ++opened;
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(4, opened.load());
    EXPECT_EQ(std::to_string(PostgresStore::SchemaVersion()), database.Value("SELECT version FROM schema_version"));
}

// Two instances taking from one outbox at once: every message goes to exactly one.
TEST_F(PostgresStoreTest, TwoInstancesNeverTakeTheSameMessage)
{
    const std::unique_ptr<PostgresStore> first = Open();
    const std::unique_ptr<PostgresStore> second = Open();
    Queue(*first, 20);
    Queue(*second, 20);
    std::vector<std::int64_t> taken[2];
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        threads.emplace_back([&, i] {
            PostgresStore& store = i == 0 ? *first : *second;
            while (const std::optional<OutboxMessage> message = store.NextDue(Now)) {
                taken[i].push_back(message->id);
                store.MarkSent(message->id, Now);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::set<std::int64_t> all(taken[0].begin(), taken[0].end());
    all.insert(taken[1].begin(), taken[1].end());
    EXPECT_EQ(40u, taken[0].size() + taken[1].size());
    EXPECT_EQ(40u, all.size());
    EXPECT_EQ("0", database.Value("SELECT count(*) FROM outbox WHERE state<>'sent'"));
}

TEST_F(PostgresStoreTest, AMessageTakenByAnInstanceThatDiedIsTakenOverWhenItsLeaseRunsOut)
{
    const std::unique_ptr<PostgresStore> dead = Open(PostgresSettings{ 2, 30 });
    const std::unique_ptr<PostgresStore> alive = Open(PostgresSettings{ 2, 30 });
    const std::uint64_t id = Queue(*dead, 1);
    const std::optional<OutboxMessage> lost = dead->NextDue(Now);
    ASSERT_TRUE(lost);
    EXPECT_FALSE(alive->NextDue(Now));
    EXPECT_FALSE(alive->NextDue(Now + 29));
    const std::optional<OutboxMessage> takenOver = alive->NextDue(Now + 30);
    ASSERT_TRUE(takenOver);
    EXPECT_EQ(lost->id, takenOver->id);
    alive->MarkSent(takenOver->id, Now + 31);
    EXPECT_EQ(RecipientState::Sent, alive->Recipients(id)[0].state);
    // The late word of the first taker does not undo that.
    dead->MarkRetry(lost->id, Now + 90, "421 try later");
    EXPECT_EQ(RecipientState::Sent, alive->Recipients(id)[0].state);
    EXPECT_FALSE(alive->NextDue(Now + 1000));
}

// While the server is away every call says so; once it is back the store goes on by itself.
TEST_F(PostgresStoreTest, ADatabaseThatIsAwayIsReportedAndReconnectedTo)
{
    const std::unique_ptr<PostgresStore> store = Open(PostgresSettings{ 1, 300 });
    const std::uint64_t id = Queue(*store, 1);
    TestDatabase::HaltCluster();
    EXPECT_THROW(store->LoadBytes(id), StoreUnavailable);
    EXPECT_THROW(store->UploadsSince("10.0.0.1", 0), StoreUnavailable);
    TestDatabase::ResumeCluster();
    EXPECT_TRUE(store->LoadBytes(id));
    EXPECT_EQ(1, store->UploadsSince("10.0.0.1", 0));
}

// Once one connection found the server gone, the others connect again too: after the
// server is back none of them fails its first call.
TEST_F(PostgresStoreTest, AfterTheServerCameBackNoConnectionFailsItsFirstCall)
{
    PostgresPool pool(database.Address(), 3);
    const auto ask = [](const PostgresPool::Lease& connection) {
        return connection->Run(PostgresQuery("SELECT 1")).Rows();
    };
    {
        const PostgresPool::Lease a = pool.Acquire(), b = pool.Acquire(), c = pool.Acquire();
        EXPECT_EQ(3, ask(a) + ask(b) + ask(c));
    }
    TestDatabase::HaltCluster();
    EXPECT_THROW(ask(pool.Acquire()), StoreUnavailable);
    TestDatabase::ResumeCluster();
    const PostgresPool::Lease a = pool.Acquire(), b = pool.Acquire(), c = pool.Acquire();
    EXPECT_EQ(3, ask(a) + ask(b) + ask(c));
}

TEST(PostgresStoreAbsentTest, ADatabaseThatIsNotThereIsUnavailable)
{
    // A port nobody listens on: one just freed.
    TempFolder folder;
    int port;
    {
        ServiceProcess gone(folder.File("gone"), {});
        port = gone.Port();
    }
    EXPECT_THROW(PostgresStore("postgresql://parlacard@127.0.0.1:" + std::to_string(port) + "/postgres", {}),
                 StoreUnavailable);
}

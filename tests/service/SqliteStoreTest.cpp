#include "service/store/SqliteStore.h"
#include "ServiceProcess.h"
#include "TempFolder.h"
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

class SqliteStoreTest : public testing::Test {
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

    TempFolder folder;
    std::string path = folder.File("parlacard.db");
    std::unique_ptr<SqliteStore> store = std::make_unique<SqliteStore>(path);
};

TEST_F(SqliteStoreTest, KeepsGreetingsByteForByteAcrossReopening)
{
    const std::string bytes = EveryByte();
    const std::uint64_t id = store->Save(bytes, *ParseGreeting(bytes), "10.0.0.1", Now);
    EXPECT_EQ(bytes, store->LoadBytes(id));
    store.reset();
    store = std::make_unique<SqliteStore>(path);
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
TEST_F(SqliteStoreTest, SavesFromManyThreadsEachKeepTheirOwn)
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

TEST_F(SqliteStoreTest, GivesEachRecipientOneTokenOnce)
{
    const std::uint64_t id = SaveFor("bob@example.com,carol@example.com,BOB@example.com");
    const std::vector<RecipientStatus> recipients = store->Recipients(id);
    ASSERT_EQ(2u, recipients.size());
    EXPECT_EQ("bob@example.com", recipients[0].address);
    EXPECT_EQ("carol@example.com", recipients[1].address);
    EXPECT_NE(recipients[0].token, recipients[1].token);
    EXPECT_EQ(RecipientState::NotSent, recipients[0].state);
}

TEST_F(SqliteStoreTest, SendsOnceAndFollowsEachRecipient)
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
    EXPECT_EQ(second->id, store->NextDue(Now + 60)->id);
    EXPECT_EQ(1, store->NextDue(Now + 60)->attempts);

    const std::vector<RecipientStatus> recipients = store->Recipients(id);
    EXPECT_EQ(RecipientState::Sent, recipients[0].state);
    EXPECT_EQ(RecipientState::Queued, recipients[1].state);
    EXPECT_EQ("421 try later", recipients[1].reason);
    EXPECT_EQ(RecipientState::Failed, recipients[2].state);
    EXPECT_EQ("550 no such user", recipients[2].reason);
}

TEST_F(SqliteStoreTest, RecordsTheFirstPickUpAndQueuesItsNoticeOnce)
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

TEST_F(SqliteStoreTest, AnUnsubscribedAddressIsNeverMailedAgain)
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

TEST_F(SqliteStoreTest, CountsPerClientAndPurgesOldGreetingsWithEverythingAboutThem)
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

// The hourly limit counts whole minutes from their totals and the part of a minute before
// them from the greetings: the count is exact wherever the window starts.
TEST_F(SqliteStoreTest, CountsUploadsExactlyWhereverTheWindowStarts)
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

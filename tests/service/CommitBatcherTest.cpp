#include "service/store/CommitBatcher.h"
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

namespace {

// Waits (with a deadline) until the condition holds.
template <typename Condition>
bool WaitUntil(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace

// Parts that come while a commit is under way go together in the next one, and each
// caller returns only after the commit that holds its part.
TEST(CommitBatcherTest, PartsArrivingDuringACommitShareTheNextOne)
{
    std::mutex mutex;
    std::vector<size_t> batches;
    std::atomic<bool> firstMayEnd{ false };
    std::atomic<int> committed{ 0 };
    CommitBatcher batcher([&](const std::vector<CommitBatcher::Part>& parts) {
        for (const CommitBatcher::Part& part : parts)
            part();
        bool isFirst;
        {
            std::lock_guard<std::mutex> lock(mutex);
            batches.push_back(parts.size());
            isFirst = batches.size() == 1;
        }
        while (isFirst && !firstMayEnd)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        committed += static_cast<int>(parts.size());
    });

    std::atomic<int> ran{ 0 };
    std::future<void> first = std::async(std::launch::async, [&] { batcher.Run([&] { ++ran; }); });
    ASSERT_TRUE(WaitUntil([&] { return ran == 1; }));
    std::vector<std::future<int>> later;
    for (int n = 0; n < 5; ++n)
        later.push_back(std::async(std::launch::async, [&] {
            batcher.Run([&] { ++ran; });
            return committed.load();
        }));
    // None of the later ones is answered while the first commit holds them off.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (std::future<int>& answer : later)
        EXPECT_EQ(std::future_status::timeout, answer.wait_for(std::chrono::seconds(0)));
    EXPECT_EQ(1, ran);
    firstMayEnd = true;
    first.get();
    for (std::future<int>& answer : later)
        EXPECT_EQ(6, answer.get()) << "answered before its commit ended";
    EXPECT_EQ((std::vector<size_t>{ 1, 5 }), batches);
}

// A commit that fails fails every part in it, and only those.
TEST(CommitBatcherTest, AFailedCommitFailsEachOfItsCallersAndNoOther)
{
    std::atomic<bool> fail{ true };
    CommitBatcher batcher([&](const std::vector<CommitBatcher::Part>& parts) {
        for (const CommitBatcher::Part& part : parts)
            part();
        if (fail)
            throw std::runtime_error("disk full");
    });
    int ran = 0;
    EXPECT_THROW(batcher.Run([&] { ++ran; }), std::runtime_error);
    fail = false;
    EXPECT_NO_THROW(batcher.Run([&] { ++ran; }));
    EXPECT_EQ(2, ran);
}

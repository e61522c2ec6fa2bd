#include "service/mail/OutboxWorker.h"
#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>

namespace {

// How often the outbox is looked at when nothing wakes the worker: retries fall due.
const std::chrono::seconds Round(1);

} // namespace

OutboxWorker::OutboxWorker(MailQueue& queue, MailRelay& relay, RetrySettings retry)
    : queue_(queue), relay_(relay), retry_(retry)
{
}

OutboxWorker::~OutboxWorker()
{
    Stop();
}

void OutboxWorker::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void OutboxWorker::Wake()
{
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
    changed_.notify_all();
}

void OutboxWorker::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
}

long OutboxWorker::DelayAfter(int tries, const RetrySettings& retry)
{
    long delay = retry.firstDelaySeconds;
    for (int i = 1; i < tries && delay < retry.longestDelaySeconds; ++i)
        delay *= 2;
    return std::min(delay, retry.longestDelaySeconds);
}

void OutboxWorker::Run()
{
    while (true) {
        bool sent = false;
        try {
            sent = SendOne();
        } catch (const std::exception& error) {
            // The store could not be read or written; the next round tries again.
            std::fprintf(stderr, "parlacard-service: outbox: %s\n", error.what());
        }
        std::unique_lock<std::mutex> lock(mutex_);
        if (stopping_)
            return;
        if (!sent) {
            changed_.wait_for(lock, Round, [this] { return woken_ || stopping_; });
            woken_ = false;
            if (stopping_)
                return;
        }
    }
}

bool OutboxWorker::SendOne()
{
    const UnixTime now = std::time(nullptr);
    const std::optional<OutboxMessage> message = queue_.NextDue(now);
    if (!message)
        return false;
    const Delivery delivery = relay_.Deliver(*message);
    const UnixTime after = std::time(nullptr);
    switch (delivery.outcome) {
    case Delivery::Outcome::Delivered:
        queue_.MarkSent(message->id, after);
        break;
    case Delivery::Outcome::Failed:
        queue_.MarkFailed(message->id, delivery.reason);
        break;
    case Delivery::Outcome::Retry:
        if (after - message->created >= retry_.giveUpAfterSeconds)
            queue_.MarkFailed(message->id, "Given up after trying for a day: " + delivery.reason);
        else
            queue_.MarkRetry(message->id, after + DelayAfter(message->attempts + 1, retry_), delivery.reason);
        break;
    }
    return true;
}

#pragma once
#include "service/mail/MailRelay.h"
#include "service/store/MailQueue.h"
#include <condition_variable>
#include <mutex>
#include <thread>

struct RetrySettings {
    long firstDelaySeconds = 60;         // doubled after every failed try...
    long longestDelaySeconds = 3600;     // ...up to this
    long giveUpAfterSeconds = 24 * 3600; // counted from the message's queueing
};

// Sends the outbox, one message at a time, on a thread of its own. A message counts as
// sent only once the relay took it and that is recorded: a stop in between sends that one
// message again on the next start, and no other (at least once, at most one repeat).
class OutboxWorker {
public:
    OutboxWorker(MailQueue& queue, MailRelay& relay, RetrySettings retry);
    ~OutboxWorker();

    void Start();
    // Looks at the outbox now rather than at its next round.
    void Wake();
    // Lets the message in hand finish, then ends the thread.
    void Stop();

    // The delay before the try after the given number of tries.
    static long DelayAfter(int tries, const RetrySettings& retry);

private:
    void Run();
    bool SendOne();

    MailQueue& queue_;
    MailRelay& relay_;
    RetrySettings retry_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool woken_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

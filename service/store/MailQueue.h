#pragma once
#include "service/store/GreetingStore.h"
#include <cstdint>
#include <optional>
#include <string>

struct OutboxMessage {
    std::int64_t id = 0;
    std::string envelopeTo;
    std::string message;
    int attempts = 0;
    UnixTime created = 0;
};

// The outbox as the mail worker sees it. A message stays queued until its delivery is
// recorded, so one taken but not recorded (the service stopped) goes out again.
class MailQueue {
public:
    virtual ~MailQueue() = default;

    // The oldest queued message that is due, taken for the caller: a back end that several
    // instances share gives it to no other until it is marked or its lease runs out.
    virtual std::optional<OutboxMessage> NextDue(UnixTime now) = 0;
    virtual void MarkSent(std::int64_t id, UnixTime now) = 0;
    virtual void MarkRetry(std::int64_t id, UnixTime next, const std::string& reason) = 0;
    virtual void MarkFailed(std::int64_t id, const std::string& reason) = 0;
};

#pragma once
#include "service/store/MailQueue.h"
#include <string>

struct Delivery {
    enum class Outcome {
        Delivered,   // the relay took it
        Retry,       // a passing trouble: try again later
        Failed,      // the relay refused it for good
    };
    Outcome outcome = Outcome::Delivered;
    std::string reason;
};

// Where the outbox sends its messages.
class MailRelay {
public:
    virtual ~MailRelay() = default;
    // Hands the message on; returns only once the other side answered or gave up.
    virtual Delivery Deliver(const OutboxMessage& message) = 0;
};

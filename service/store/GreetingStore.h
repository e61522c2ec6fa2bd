#pragma once
#include "service/store/GreetingText.h"
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Times are whole seconds since 1970 (UTC), as the caller's clock says.
using UnixTime = std::int64_t;

struct StoredGreeting {
    std::uint64_t id = 0;
    GreetingSummary summary;
    std::string sendToken;    // what the send page's form must bring back
    UnixTime created = 0;
    bool sent = false;        // its sender pressed Send
};

// Where a recipient's greeting is on its way.
enum class RecipientState { NotSent, Queued, Sent, Failed, Opened, Unsubscribed };

// How the send page shows a recipient whose message is in the outbox in this state.
inline RecipientState RecipientStateOf(const std::string& outboxState)
{
    if (outboxState == "sent")
        return RecipientState::Sent;
    if (outboxState == "failed")
        return RecipientState::Failed;
    return RecipientState::Queued;
}

struct RecipientStatus {
    std::string address;
    std::string token;        // the recipient's own pick-up link
    RecipientState state = RecipientState::NotSent;
    std::string reason;       // why it failed, or why it waits
};

// One message for the outbox: to one recipient of a greeting (recipientToken set), or to
// the greeting's sender.
struct QueuedMail {
    std::string recipientToken;
    std::string envelopeTo;
    std::string message;
};

// A recipient's first look at a greeting.
struct PickUp {
    std::uint64_t greetingId = 0;
    std::string address;
    bool first = false;
};

// The greetings and what became of them. Every call that changes something returns only
// after its change is durable.
class GreetingStore {
public:
    virtual ~GreetingStore() = default;

    // Keeps the bytes as they are under a new random id, with a link token per recipient.
    virtual std::uint64_t Save(const std::string& bytes, const GreetingSummary& summary, const std::string& client,
                               UnixTime now) = 0;
    virtual std::optional<std::string> LoadBytes(std::uint64_t id) const = 0;
    virtual std::optional<StoredGreeting> Load(std::uint64_t id) const = 0;
    virtual std::vector<RecipientStatus> Recipients(std::uint64_t id) const = 0;

    // Marks the greeting sent and queues its messages, once: false (and nothing queued)
    // when it was sent before.
    virtual bool SendOnce(std::uint64_t id, const std::vector<QueuedMail>& mails, const std::string& client,
                          UnixTime now) = 0;
    // Queues a message of the site's own about the greeting (to its sender).
    virtual void Queue(std::uint64_t id, const QueuedMail& mail, const std::string& client, UnixTime now) = 0;

    // Records the recipient's first open, and queues the notice to the sender with it;
    // nothing for a token the site does not know.
    virtual std::optional<PickUp> RecordPickUp(std::uint64_t id, const std::string& token,
                                               const std::optional<QueuedMail>& notice, UnixTime now) = 0;
    // The address of the token, which the site never mails again.
    virtual std::optional<std::string> Unsubscribe(const std::string& token, UnixTime now) = 0;
    virtual bool IsUnsubscribed(const std::string& address) const = 0;

    // For the limits: what one client address did since then.
    virtual int UploadsSince(const std::string& client, UnixTime since) const = 0;
    virtual int MessagesSince(const std::string& client, UnixTime since) const = 0;

    // Forgets the greetings made before then, with everything about them; how many.
    virtual int PurgeBefore(UnixTime before) = 0;

    // Whether LoadBytes, Load and Recipients are answered from this machine without
    // waiting on a network or on another caller's commit.
    virtual bool ReadsAreLocal() const = 0;
};

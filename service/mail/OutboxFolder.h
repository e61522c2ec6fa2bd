#pragma once
#include "service/mail/MailRelay.h"
#include <string>

// The relay when none is configured: every message becomes a file "<n>.eml" in a folder,
// named by its place in the outbox, so sending one again replaces it rather than adding
// a second. A person can open the files with any mail program.
class OutboxFolder : public MailRelay {
public:
    explicit OutboxFolder(const std::string& folder);
    Delivery Deliver(const OutboxMessage& message) override;

private:
    std::string folder_;
};

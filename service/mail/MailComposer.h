#pragma once
#include "service/store/GreetingStore.h"
#include <string>

struct MailSettings {
    std::string from = "parlacard@parlacard.example";        // the site's own address
    std::string publicAddress = "http://www.parlacard.example"; // where its links lead
};

// The site's messages, complete with their headers: the greeting to each recipient, and
// the note to its sender that a recipient opened it. Nothing from a greeting reaches a
// header unencoded or the HTML part unescaped.
class MailComposer {
public:
    explicit MailComposer(MailSettings settings);

    QueuedMail Greeting(const StoredGreeting& greeting, const RecipientStatus& recipient, UnixTime now) const;
    QueuedMail PickUpNotice(const StoredGreeting& greeting, const std::string& openedBy, UnixTime now) const;

    std::string PickUpLink(std::uint64_t id, const std::string& token) const;
    std::string UnsubscribeLink(const std::string& token) const;
    std::string SendPageLink(std::uint64_t id) const;

private:
    std::string Message(const std::string& headers, const std::string& text, const std::string& html,
                        UnixTime now) const;
    std::string FromHeader(const std::string& senderName) const;

    MailSettings settings_;
};

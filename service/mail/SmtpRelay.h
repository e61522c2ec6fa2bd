#pragma once
#include "service/mail/MailRelay.h"
#include <string>

struct SmtpSettings {
    std::string host;
    int port = 25;
    enum class Security { None, StartTls, Tls } security = Security::None;
    std::string user;
    std::string password;
    std::string caFile;         // the authorities trusted for the relay's certificate; empty: the system's
    std::string envelopeFrom;   // where bounces go: the site's own address
    long timeoutSeconds = 120;
};

// A mail relay spoken to over SMTP, one connection per message. The relay's 4xx answers,
// a refused connection and a time-out are passing troubles; its 5xx answers and a refused
// login are final. Over TLS the relay's certificate and name are always checked, and with
// STARTTLS nothing is sent before TLS is under way.
class SmtpRelay : public MailRelay {
public:
    explicit SmtpRelay(SmtpSettings settings);
    Delivery Deliver(const OutboxMessage& message) override;

private:
    SmtpSettings settings_;
};

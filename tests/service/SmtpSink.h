#pragma once
#include "ChildProcess.h"
#include <string>
#include <vector>

// A real SMTP server (smtp-sink.py, on Debian's aiosmtpd) on a free loopback port, with
// what it received in its folder; stopped when this goes.
class SmtpSink {
public:
    explicit SmtpSink(const std::string& folder);
    // With smtp-sink.py's options: "--port" N listens on that port (a relay back where it
    // was), TLS ("--starttls"/"--tls" CERT KEY), "--login" USER PASSWORD.
    SmtpSink(const std::string& folder, const std::vector<std::string>& options);
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;

    int Port() const { return process_.Port(); }
    // "accept", "421", "450", "550" or "slow", from the next message on.
    void SetMode(const std::string& mode) const;
    // The messages accepted so far, oldest first.
    std::vector<std::string> Messages() const;
    // Waits until at least that many came (or the deadline passed) and returns them all.
    std::vector<std::string> WaitForMessages(size_t count, int timeoutMs = 30000) const;

private:
    std::string folder_;
    ChildProcess process_;
};

// The value of a header of a message (unfolded); empty when it has none.
std::string HeaderOf(const std::string& message, const std::string& name);
// A quoted-printable body as its bytes.
std::string DecodeQuotedPrintable(const std::string& text);

#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the site keeps of a greeting besides its bytes: who sends it to whom, and its
// action lines as they were posted.
struct GreetingSummary {
    std::string recipientName;
    std::vector<std::string> recipients;
    std::string senderName;
    std::string senderEmail;
    std::vector<std::string> actionLines;
};

// What the site takes in one upload.
struct UploadLimits {
    size_t maxBytes = 256 * 1024;
    size_t maxActions = 2000;
    size_t maxRecipients = 20;
};

// The id a page's "GID" names: 1 to 18 decimal digits and nothing else.
std::optional<std::uint64_t> GreetingIdFrom(const std::string& text);

// Reads the head lines and the action lines of a posted greeting; nothing when the text
// does not start like a greeting file.
std::optional<GreetingSummary> ParseGreeting(const std::string& text);

// An address the site may mail: local part and a dotted domain of plain characters.
bool IsMailAddress(const std::string& address);

// Why the site refuses a posted greeting, in one plain line for the sender to read; empty
// when it takes it. The summary is filled in when the text is a greeting.
std::string RefusalOf(const std::string& text, const UploadLimits& limits, GreetingSummary& summary);

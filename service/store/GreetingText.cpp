#include "service/store/GreetingText.h"
#include "service/store/Blanks.h"
#include <algorithm>

namespace {

const char FileHeader[] = "Parlacard File Version : ";
const char SupportedVersion[] = "1";
const size_t HeadLines = 6;
// Long enough for any real address; a longer one only ends up in a refusal.
const size_t MaxAddressLength = 254;
const size_t MaxNameLength = 200;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Lines end in CR LF when posted and may end in a bare LF in a file; the text after the
// last line end is a line too unless it is empty.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The send dialog joins the addresses with commas; blanks around them mean nothing.
std::vector<std::string> SplitRecipients(const std::string& line)
{
    std::vector<std::string> recipients;
    size_t start = 0;
    while (start < line.size()) {
        const size_t comma = std::min(line.find(',', start), line.size());
        const std::string address = TrimBlanks(line.substr(start, comma - start));
        if (!address.empty())
            recipients.push_back(address);
        start = comma + 1;
    }
    return recipients;
}

bool IsLocalPartCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) ||
           std::string("!#$%&'*+/=?^_`{|}~-").find(c) != std::string::npos;
}

bool IsDomainCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '-';
}

// Dot-separated runs of allowed characters, none empty.
template <typename Allowed>
bool IsDottedRun(const std::string& text, Allowed allowed, size_t& parts)
{
    parts = 0;
    size_t start = 0;
    while (true) {
        const size_t dot = std::min(text.find('.', start), text.size());
        if (dot == start || !std::all_of(text.begin() + start, text.begin() + dot, allowed))
            return false;
        ++parts;
        if (dot == text.size())
            return true;
        start = dot + 1;
    }
}

// Control characters would end a mail header or a log line early.
bool HasControlCharacter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// What a refusal may quote of an address: printable and short.
std::string Quoted(const std::string& text)
{
    std::string shown;
    for (char c : text.substr(0, 60))
        shown += HasControlCharacter(std::string(1, c)) ? '?' : c;
    return "\"" + shown + (text.size() > 60 ? "...\"" : "\"");
}

} // namespace

std::optional<std::uint64_t> GreetingIdFrom(const std::string& text)
{
    if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), IsDigit))
        return std::nullopt;
    return std::stoull(text);
}

std::optional<GreetingSummary> ParseGreeting(const std::string& text)
{
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.size() < HeadLines || lines[0].compare(0, sizeof FileHeader - 1, FileHeader) != 0)
        return std::nullopt;
    GreetingSummary summary;
    summary.recipientName = lines[1];
    summary.recipients = SplitRecipients(lines[2]);
    summary.senderName = lines[3];
    summary.senderEmail = lines[4];
    summary.actionLines.assign(lines.begin() + HeadLines, lines.end());
    return summary;
}

bool IsMailAddress(const std::string& address)
{
    const size_t at = address.rfind('@');
    if (address.size() > MaxAddressLength || at == std::string::npos || at == 0 || at > 64)
        return false;
    size_t localParts = 0;
    size_t domainParts = 0;
    const std::string domain = address.substr(at + 1);
    return IsDottedRun(address.substr(0, at), IsLocalPartCharacter, localParts) &&
           IsDottedRun(domain, IsDomainCharacter, domainParts) && domainParts >= 2 && domain.front() != '-' &&
           domain.back() != '-';
}

std::string RefusalOf(const std::string& text, const UploadLimits& limits, GreetingSummary& summary)
{
    if (text.size() > limits.maxBytes)
        return "The greeting is larger than the " + std::to_string(limits.maxBytes / 1024) +
               " KB this site takes.";
    const std::optional<GreetingSummary> parsed = ParseGreeting(text);
    if (!parsed)
        return "This is not a Parlacard greeting.";
    const std::string firstLine = SplitLines(text).front();
    if (TrimBlanks(firstLine.substr(sizeof FileHeader - 1)) != SupportedVersion)
        return "This site takes greetings of file version 1 only.";
    summary = *parsed;
    if (summary.actionLines.size() > limits.maxActions)
        return "The greeting has more than " + std::to_string(limits.maxActions) + " actions.";
    if (summary.recipients.size() > limits.maxRecipients)
        return "A greeting can go to at most " + std::to_string(limits.maxRecipients) + " recipients.";
    for (const std::string& recipient : summary.recipients)
        if (!IsMailAddress(recipient))
            return "The recipient address " + Quoted(recipient) + " is not a valid e-mail address.";
    if (!summary.senderEmail.empty() && !IsMailAddress(summary.senderEmail))
        return "Your e-mail address " + Quoted(summary.senderEmail) + " is not a valid e-mail address.";
    for (const std::string* name : { &summary.senderName, &summary.recipientName })
        if (HasControlCharacter(*name) || name->size() > MaxNameLength)
            return "The name " + Quoted(*name) + " holds control characters or is too long.";
    return std::string();
}

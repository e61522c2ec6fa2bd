#include "service/GreetingStore.h"
#include "service/DataFiles.h"
#include <algorithm>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char FileHeader[] = "Parlacard File Version : ";
const size_t HeadLines = 6;

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

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The send dialog joins the addresses with commas; blanks around them mean nothing.
std::vector<std::string> SplitRecipients(const std::string& line)
{
    std::vector<std::string> recipients;
    std::istringstream list(line);
    for (std::string address; std::getline(list, address, ',');) {
        address = Trim(address);
        if (!address.empty())
            recipients.push_back(address);
    }
    return recipients;
}

// The summary file: one "Key: value" line per field, a line per recipient and per action.
const char RecipientNameKey[] = "Recipient name";
const char RecipientKey[] = "Recipient";
const char SenderNameKey[] = "Sender";
const char SenderEmailKey[] = "Sender e-mail";
const char ActionKey[] = "Action";

std::string FormatSummary(const GreetingSummary& summary)
{
    std::string text;
    const auto add = [&text](const char* key, const std::string& value) { text += key + (": " + value) + "\n"; };
    add(RecipientNameKey, summary.recipientName);
    for (const std::string& recipient : summary.recipients)
        add(RecipientKey, recipient);
    add(SenderNameKey, summary.senderName);
    add(SenderEmailKey, summary.senderEmail);
    for (const std::string& action : summary.actionLines)
        add(ActionKey, action);
    return text;
}

GreetingSummary ParseSummary(const std::string& text)
{
    GreetingSummary summary;
    for (const std::string& line : SplitLines(text)) {
        const size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, colon);
        const std::string value = line.substr(colon + 2);
        if (key == RecipientNameKey)
            summary.recipientName = value;
        else if (key == RecipientKey)
            summary.recipients.push_back(value);
        else if (key == SenderNameKey)
            summary.senderName = value;
        else if (key == SenderEmailKey)
            summary.senderEmail = value;
        else if (key == ActionKey)
            summary.actionLines.push_back(value);
    }
    return summary;
}

} // namespace

std::optional<std::uint64_t> GreetingIdFrom(const std::string& text)
{
    if (text.empty() || text.size() >= 19 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
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

GreetingStore::GreetingStore(const std::string& folder) : folder_(folder)
{
    fs::create_directories(folder_);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
        const fs::path name = entry.path().filename();
        const std::string stem = name.stem().string();
        if (name.extension() == ".pcg" && !stem.empty() && stem.size() < 19 &&
            std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
            lastId_ = std::max<std::uint64_t>(lastId_, std::stoull(stem));
    }
}

std::string GreetingStore::PathOf(std::uint64_t id, const char* extension) const
{
    return (fs::path(folder_) / (std::to_string(id) + extension)).string();
}

std::uint64_t GreetingStore::Save(const std::string& bytes, const GreetingSummary& summary)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::uint64_t id = lastId_ + 1;
    // The summary first: a greeting counts as stored once its bytes are there.
    WriteDataFile(PathOf(id, ".txt"), FormatSummary(summary));
    WriteDataFile(PathOf(id, ".pcg"), bytes);
    lastId_ = id;
    return id;
}

std::optional<std::string> GreetingStore::LoadBytes(std::uint64_t id) const
{
    return ReadDataFile(PathOf(id, ".pcg"));
}

std::optional<GreetingSummary> GreetingStore::LoadSummary(std::uint64_t id) const
{
    if (!fs::exists(PathOf(id, ".pcg")))
        return std::nullopt;
    const std::optional<std::string> text = ReadDataFile(PathOf(id, ".txt"));
    if (!text)
        return std::nullopt;
    return ParseSummary(*text);
}

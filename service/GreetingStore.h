#pragma once
#include <cstdint>
#include <mutex>
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

// The id a page's "GID" names: decimal digits only, small enough to be an id.
std::optional<std::uint64_t> GreetingIdFrom(const std::string& text);

// Reads the head lines and the action lines of a posted greeting; nothing when the text
// does not start like a greeting file.
std::optional<GreetingSummary> ParseGreeting(const std::string& text);

// The greetings posted to the site, one pair of files per id in one folder: the bytes as
// they arrived ("<id>.pcg") and their summary ("<id>.txt"). Ids go on from the largest
// one in the folder, so a restarted service never hands out an id twice.
class GreetingStore {
public:
    explicit GreetingStore(const std::string& folder);

    // The new greeting's id; throws when the files cannot be written.
    std::uint64_t Save(const std::string& bytes, const GreetingSummary& summary);
    std::optional<std::string> LoadBytes(std::uint64_t id) const;
    std::optional<GreetingSummary> LoadSummary(std::uint64_t id) const;

private:
    std::string PathOf(std::uint64_t id, const char* extension) const;

    std::string folder_;
    std::mutex mutex_;
    std::uint64_t lastId_ = 0;
};

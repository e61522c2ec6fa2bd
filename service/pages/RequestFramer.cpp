#include "service/pages/RequestFramer.h"
#include <algorithm>
#include <optional>

namespace {

bool SameLetters(std::string_view text, std::string_view lowerCase)
{
    return text.size() == lowerCase.size() &&
           std::equal(text.begin(), text.end(), lowerCase.begin(), [](char a, char b) {
               // Header names are ASCII; the C library's locale-aware lowering costs a call a letter.
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Digits only, and no more of them than a size can hold.
std::optional<size_t> LengthOf(std::string_view text)
{
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    size_t length = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        length = length * 10 + static_cast<size_t>(c - '0');
    }
    return length;
}

} // namespace

RequestFramer::RequestFramer(size_t maxHeadBytes, size_t maxBodyBytes)
    : maxHeadBytes_(maxHeadBytes), maxBodyBytes_(maxBodyBytes)
{
}

RequestFramer::Frame RequestFramer::Find(std::string_view received) const
{
    Frame frame;
    while (frame.leading + 1 < received.size() && received[frame.leading] == '\r' &&
           received[frame.leading + 1] == '\n')
        frame.leading += 2;
    const std::string_view request = received.substr(frame.leading);
    const size_t end = request.find("\r\n\r\n");
    if (end == std::string_view::npos) {
        frame.state = request.size() >= maxHeadBytes_ ? State::HeadTooLarge : State::Incomplete;
        return frame;
    }
    if (end + 4 > maxHeadBytes_) {
        frame.state = State::HeadTooLarge;
        return frame;
    }
    frame.headBytes = end + 4;

    std::optional<size_t> length;
    bool lengthSeen = false;
    std::string_view lines = request.substr(0, end + 2);
    lines.remove_prefix(std::min(lines.size(), lines.find("\r\n") + 2)); // the request line
    while (!lines.empty()) {
        const size_t lineEnd = lines.find("\r\n");
        const std::string_view line = lines.substr(0, lineEnd);
        lines.remove_prefix(lineEnd + 2);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (SameLetters(name, "content-length")) {
            const std::optional<size_t> given = LengthOf(value);
            if (!given || (lengthSeen && length != given)) {
                frame.state = State::Malformed;
                return frame;
            }
            length = given;
            lengthSeen = true;
        } else if (SameLetters(name, "transfer-encoding")) {
            frame.state = State::NoLength;
            return frame;
        } else if (SameLetters(name, "expect")) {
            frame.expectsContinue = SameLetters(value, "100-continue");
        }
    }
    const size_t body = length.value_or(0);
    if (body > maxBodyBytes_) {
        frame.state = State::BodyTooLarge;
        return frame;
    }
    if (request.size() - frame.headBytes < body)
        return frame;
    frame.state = State::Complete;
    frame.bytes = frame.headBytes + body;
    return frame;
}

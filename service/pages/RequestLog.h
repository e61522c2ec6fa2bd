#pragma once
#include <httplib.h>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

// Every request the site answers, one file each in arrival order ("<n>.http"): the
// request line as it came, the headers, an empty line and the body byte for byte, so
// that a test can see exactly what a client sent. Kept only under the test option: with
// no folder it records nothing.
class RequestLog {
public:
    explicit RequestLog(const std::string& folder);

    void Record(const httplib::Request& request);
    // The most recent record; nothing before the first request.
    std::optional<std::string> Last() const;

private:
    std::string PathOf(std::uint64_t number) const;

    std::string folder_;
    mutable std::mutex mutex_;
    std::uint64_t count_ = 0;
};

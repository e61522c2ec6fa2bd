#pragma once
#include <httplib.h>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

// One line per answered request: the time (UTC), the client's address, the method and
// path (never the query: it holds the recipients' tokens), the status and the body's size.
// A file's lines are written a buffer at a time, at least once a second and when the log
// closes, not one write per request.
class AccessLog {
public:
    // A file to append to, "-" for standard error, or empty for no log.
    explicit AccessLog(const std::string& where);
    ~AccessLog();
    AccessLog(const AccessLog&) = delete;
    AccessLog& operator=(const AccessLog&) = delete;

    void Record(const std::string& client, const httplib::Request& request, const httplib::Response& response);

private:
    void FlushEverySecond();

    std::FILE* file_ = nullptr;
    bool owned_ = false;
    std::mutex mutex_;
    std::condition_variable closing_;
    bool closed_ = false;
    std::thread flusher_;
};

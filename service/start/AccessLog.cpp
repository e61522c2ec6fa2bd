#include "service/start/AccessLog.h"
#include <chrono>
#include <ctime>
#include <stdexcept>

namespace {

// What a client sent may hold anything; the log gets printable characters only.
std::string Printable(const std::string& text)
{
    std::string shown;
    for (char c : text.substr(0, 300))
        shown += (c >= 0x20 && c < 0x7F && c != '"') ? c : '?';
    return shown;
}

// The time as the log shows it, written out once a second per thread.
std::string TimeNow()
{
    thread_local std::time_t shownTime = -1;
    thread_local char shown[32];
    const std::time_t now = std::time(nullptr);
    if (now != shownTime) {
        std::tm utc{};
        gmtime_r(&now, &utc);
        std::strftime(shown, sizeof shown, "%Y-%m-%dT%H:%M:%SZ", &utc);
        shownTime = now;
    }
    return shown;
}

} // namespace

AccessLog::AccessLog(const std::string& where)
{
    if (where == "-") {
        file_ = stderr;
    } else if (!where.empty()) {
        file_ = std::fopen(where.c_str(), "a");
        if (!file_)
            throw std::runtime_error("cannot open the access log " + where);
        owned_ = true;
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
        flusher_ = std::thread([this] { FlushEverySecond(); });
    }
}

AccessLog::~AccessLog()
{
    if (!owned_)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    closing_.notify_all();
    flusher_.join();
    std::fclose(file_);
}

void AccessLog::FlushEverySecond()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!closing_.wait_for(lock, std::chrono::seconds(1), [this] { return closed_; }))
        std::fflush(file_);
}

void AccessLog::Record(const std::string& client, const httplib::Request& request, const httplib::Response& response)
{
    if (!file_)
        return;
    const std::string target = request.target.substr(0, request.target.find('?'));
    // Files go out through a content provider, which leaves the body empty.
    const size_t bytes = response.body.empty() ? response.content_length_ : response.body.size();
    // Made before the lock, which the threads serving requests all take.
    const std::string line = TimeNow() + " " + Printable(client) + " \"" + Printable(request.method) + " " +
                             Printable(target) + "\" " + std::to_string(response.status) + " " + std::to_string(bytes) +
                             "\n";
    std::lock_guard<std::mutex> lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
}

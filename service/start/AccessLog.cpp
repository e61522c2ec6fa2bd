#include "service/start/AccessLog.h"
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
    }
}

AccessLog::~AccessLog()
{
    if (owned_)
        std::fclose(file_);
}

void AccessLog::Record(const std::string& client, const httplib::Request& request, const httplib::Response& response)
{
    if (!file_)
        return;
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char time[32];
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%SZ", &utc);
    const std::string target = request.target.substr(0, request.target.find('?'));
    std::lock_guard<std::mutex> lock(mutex_);
    std::fprintf(file_, "%s %s \"%s %s\" %d %zu\n", time, Printable(client).c_str(), Printable(request.method).c_str(),
                 Printable(target).c_str(), response.status, response.body.size());
    std::fflush(file_);
}

#include "service/pages/RequestLog.h"
#include "service/pages/DataFiles.h"
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The HTTP library files the connection's addresses among the request's headers.
bool IsAddedByLibrary(const std::string& name)
{
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT";
}

} // namespace

RequestLog::RequestLog(const std::string& folder) : folder_(folder)
{
    if (folder_.empty())
        return;
    // A log describes one run of the service.
    fs::remove_all(folder_);
    fs::create_directories(folder_);
}

std::string RequestLog::PathOf(std::uint64_t number) const
{
    char name[32];
    std::snprintf(name, sizeof(name), "%06llu.http", static_cast<unsigned long long>(number));
    return (fs::path(folder_) / name).string();
}

void RequestLog::Record(const httplib::Request& request)
{
    if (folder_.empty())
        return;
    std::string record = request.method + " " + request.target + " " + request.version + "\r\n";
    for (const auto& header : request.headers) {
        if (!IsAddedByLibrary(header.first))
            record += header.first + ": " + header.second + "\r\n";
    }
    record += "\r\n";
    record += request.body;

    std::lock_guard<std::mutex> lock(mutex_);
    WriteDataFile(PathOf(count_ + 1), record);
    ++count_;
}

std::optional<std::string> RequestLog::Last() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == 0)
        return std::nullopt;
    return ReadDataFile(PathOf(count_));
}

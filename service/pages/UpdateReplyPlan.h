#pragma once
#include <map>
#include <mutex>
#include <string>

// How the site answers a request for one file under "/update/". Normally it serves the
// file of that name from the update folder; tests make it misbehave.
struct UpdateReply {
    enum class Kind {
        Serve,      // the file with its Content-Length
        NotFound,   // status 404 with the file's bytes as the page
        Redirect,   // status 302 to another file of the update folder
        Cut,        // the full Content-Length, half of the bytes, then the connection closes
        NoLength,   // the bytes without Content-Length, ended by closing the connection
    };
    Kind kind = Kind::Serve;
    int delayMs = 0;              // before the reply starts
    long bytesPerSecond = 0;      // pace of a served body; 0 sends it as fast as it goes
    std::string redirectTo;       // the file a redirect names
};

// The reply per file name until the next change; shared by the workers.
class UpdateReplyPlan {
public:
    void Set(const std::string& name, const UpdateReply& reply)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[name] = reply;
    }
    UpdateReply Get(const std::string& name) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = replies_.find(name);
        return found == replies_.end() ? UpdateReply() : found->second;
    }
    void Reset()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        replies_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, UpdateReply> replies_;
};

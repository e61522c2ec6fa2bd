#pragma once
#include <mutex>
#include <string>

// How the site answers an upload. Normally it stores the greeting and answers its id;
// tests make it answer something else, late, or break the connection.
struct UploadReply {
    enum class Kind {
        Store,   // store the greeting, answer its id
        Fixed,   // answer status and bytes as the body, store nothing
        Raw,     // send bytes in place of an HTTP reply, then close the connection
    };
    Kind kind = Kind::Store;
    int delayMs = 0;
    int status = 200;
    std::string bytes;
};

// The reply every upload gets until the next change; shared by the workers.
class UploadReplyPlan {
public:
    void Set(const UploadReply& reply)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reply_ = reply;
    }
    UploadReply Get() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return reply_;
    }

private:
    mutable std::mutex mutex_;
    UploadReply reply_;
};

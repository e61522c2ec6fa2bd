#pragma once
#include "service/pages/Freshness.h"
#include "service/pages/GzipCopies.h"
#include <httplib.h>
#include <memory>
#include <string>

// Sends the site's files: text gzip-compressed to browsers that take it, each with an
// entity tag from its content's hash and the lifetime its address allows; 304 when the
// browser or a cache holds it already.
class FileReplies {
public:
    // `key` names the file for its compressed copy; `hash` is its content's hash.
    void Send(const httplib::Request& request, httplib::Response& response, const std::string& key,
              std::shared_ptr<const std::string> bytes, const std::string& hash, const std::string& type,
              Freshness freshness);

    // Send in two steps, for a file read only when the client lacks it: the first sets
    // the tag and the lifetime and is true when it answered 304.
    bool HeldAlready(const httplib::Request& request, httplib::Response& response, const std::string& hash,
                     const std::string& type, Freshness freshness) const;
    void SendBody(const httplib::Request& request, httplib::Response& response, const std::string& key,
                  std::shared_ptr<const std::string> bytes, const std::string& type);

private:
    GzipCopies gzipped_;
};

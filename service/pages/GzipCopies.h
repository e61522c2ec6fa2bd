#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Page files gzip-compressed once, at the best setting, and kept for as long as the file
// reads the same: a page on a slow line gets its scripts and characters' descriptions
// in a third of the bytes or less, and the service compresses each only once.
class GzipCopies {
public:
    std::shared_ptr<const std::string> Of(const std::string& path, const std::string& bytes);

private:
    struct Copy {
        std::string original;
        std::shared_ptr<const std::string> compressed;
    };
    std::mutex mutex_;
    std::map<std::string, Copy> copies_;
};

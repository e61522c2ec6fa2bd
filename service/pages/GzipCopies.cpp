#include "service/pages/GzipCopies.h"
#include "service/pages/Gzip.h"
#include <zlib.h>

std::shared_ptr<const std::string> GzipCopies::Of(const std::string& path, const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Copy& copy = copies_[path];
    if (!copy.compressed || copy.original != bytes)
        copy = Copy{ bytes, std::make_shared<const std::string>(Gzip(bytes, Z_BEST_COMPRESSION)) };
    return copy.compressed;
}

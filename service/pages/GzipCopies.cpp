#include "service/pages/GzipCopies.h"
#include <stdexcept>
#include <zlib.h>

namespace {

std::string Gzip(const std::string& bytes)
{
    z_stream stream{};
    // 15 window bits, plus 16 for the gzip wrapper browsers take as Content-Encoding: gzip.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("zlib would not start");
    std::string out(deflateBound(&stream, uLong(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("zlib could not compress");
    return out;
}

} // namespace

std::shared_ptr<const std::string> GzipCopies::Of(const std::string& path, const std::string& bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Copy& copy = copies_[path];
    if (!copy.compressed || copy.original != bytes)
        copy = Copy{ bytes, std::make_shared<const std::string>(Gzip(bytes)) };
    return copy.compressed;
}

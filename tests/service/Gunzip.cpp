#include "Gunzip.h"
#include <gtest/gtest.h>
#include <zlib.h>

std::string Gunzip(const std::string& packed)
{
    z_stream stream{};
    EXPECT_EQ(Z_OK, inflateInit2(&stream, 15 + 16));  // gzip only
    std::string out(1 << 20, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = uInt(out.size());
    EXPECT_EQ(Z_STREAM_END, inflate(&stream, Z_FINISH));
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return out;
}

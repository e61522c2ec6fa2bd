#include "service/pages/GzipCopies.h"
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

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

} // namespace

TEST(GzipCopiesTest, CompressesOnceAndAgainWhenTheFileChanges)
{
    GzipCopies copies;
    std::string script;
    for (int i = 0; i < 500; ++i)
        script += "export const line" + std::to_string(i) + " = 'the same words again';\n";
    const auto first = copies.Of("/play/a.js", script);
    EXPECT_EQ(script, Gunzip(*first));
    EXPECT_LT(first->size() * 4, script.size());
    EXPECT_EQ(first, copies.Of("/play/a.js", script)) << "compressed again";

    const std::string changed = script + "// one more line\n";
    const auto second = copies.Of("/play/a.js", changed);
    EXPECT_EQ(changed, Gunzip(*second));
    EXPECT_EQ("", Gunzip(*copies.Of("/play/empty.css", "")));
    EXPECT_EQ(changed, Gunzip(*copies.Of("/play/a.js", changed)));
}

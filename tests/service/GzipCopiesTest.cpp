#include "Gunzip.h"
#include "service/pages/GzipCopies.h"
#include <gtest/gtest.h>

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

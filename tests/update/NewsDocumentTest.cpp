#include "update/NewsDocument.h"
#include <string>
#include <gtest/gtest.h>

namespace {

std::string Nested(int levels, const std::string& inside)
{
    return std::string(levels, '{') + inside + std::string(levels, '}');
}

std::string Rtf(const std::string& body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n" + body + "}\n";
}

} // namespace

TEST(NewsDocument, FormattedTextIsPlainNewsButDeepNestingAndEmbeddedThingsAreNot)
{
    EXPECT_TRUE(IsPlainNews(Rtf("Some {\\b bold} and {\\i italic {\\ul underlined}} text.\\par\n")));
    EXPECT_TRUE(IsPlainNews(Rtf("{\\*\\generator news 1.0;}Escaped \\\\object and \\{pict\\} are text.\\par")));
    EXPECT_TRUE(IsPlainNews("Not rich text at all."));
    // The document's own group counts as one level.
    EXPECT_TRUE(IsPlainNews(Nested(16, "deep")));
    EXPECT_FALSE(IsPlainNews(Nested(17, "too deep")));
    EXPECT_FALSE(IsPlainNews(Rtf(Nested(50, "x"))));
    EXPECT_FALSE(IsPlainNews(Rtf(std::string(100000, '{'))));
    for (const char* embedded : { "{\\object\\objemb{\\*\\objdata 0102}}", "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt y}}",
                                  "{\\pict\\pngblip 89504e47}", "{\\*\\shppict{\\pict\\wmetafile8 0100}}", "\\bin4 abcd",
                                  "{\\shp{\\*\\shpinst x}}" }) {
        EXPECT_FALSE(IsPlainNews(Rtf(std::string("Before.\\par ") + embedded + "\\par"))) << embedded;
    }
}

TEST(NewsDocument, MarkerParagraphsGiveWayToTheHeadingsAndTheRestStaysAsItWas)
{
    const VersionNumber program("1.0.4.0");
    EXPECT_EQ(Rtf("No markers.\\par\n"), PlaceNewsHeadings(Rtf("No markers.\\par\n"), "New\r\n", "Old\r\n", program));
    // The marker's text goes, with the groups it opens or closes kept balanced; the
    // formatting before it stays for the heading.
    EXPECT_EQ(Rtf("Intro.\\par\n{\\b New:\\par\r\n}\nSix.\\par\n\\b Old\\{1\\}\\'e9\\par\r\n\nFour.\\par\n\n"),
              PlaceNewsHeadings(Rtf("Intro.\\par\n{\\b @@Version 1.0.6}\\par\nSix.\\par\n\\b @@VERSION 1.0.4\\par\n"
                                    "Four.\\par\n@@version 1.0.5 \\par\n"),
                                "New:\r\n", "Old{1}\xe9\r\n", program));
    // A heading without a line end joins the paragraph that follows, and a last
    // paragraph without its own end is a marker too.
    EXPECT_EQ(Rtf("New \nFive.\\par\nOld"),
              PlaceNewsHeadings(Rtf("@@Version 1.0.5\\par\nFive.\\par\n@@Version 1.0"), "New ", "Old", program));
}

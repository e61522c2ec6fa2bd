#include "player/PlayerCommandLine.h"
#include <gtest/gtest.h>

namespace {

const char Usage[] = "\n\nUsage: DODevavi.EXE <greeting file> *<first action, counting from 0>";

struct Parsed {
    bool ok;
    std::string path;
    int start;
    std::string error;
};

Parsed Parse(const std::string& arguments)
{
    PlayerCommandLine commandLine;
    const bool ok = commandLine.Parse(arguments);
    return { ok, commandLine.GetPath(), commandLine.GetStartIndex(), commandLine.GetError() };
}

} // namespace

TEST(PlayerCommandLine, TakesThePathAndTheStartAsTheMakerWritesThem)
{
    const Parsed parsed = Parse("C:\\TEMP\\PQPrev.pcg *4");
    EXPECT_TRUE(parsed.ok);
    EXPECT_EQ("C:\\TEMP\\PQPrev.pcg", parsed.path);
    EXPECT_EQ(4, parsed.start);
    EXPECT_EQ("", parsed.error);

    EXPECT_EQ(7, Parse("C:\\TEMP\\PQPrev.pcg *007").start);
    EXPECT_EQ(12, Parse("C:\\TEMP\\PQPrev.pcg\t* 12 ").start);
}

TEST(PlayerCommandLine, RejoinsEveryWordBeforeTheLastStarIntoThePath)
{
    const Parsed blanks = Parse("C:\\Documents and Settings\\Ann\\Local Settings\\Temp\\PQPrev.pcg *0");
    EXPECT_TRUE(blanks.ok);
    EXPECT_EQ("C:\\Documents and Settings\\Ann\\Local Settings\\Temp\\PQPrev.pcg", blanks.path);
    EXPECT_EQ(0, blanks.start);

    // Blanks inside the path stay as they were, however many.
    EXPECT_EQ("C:\\My  Greetings\\a b.pcg", Parse("C:\\My  Greetings\\a b.pcg *2").path);

    // Only the last "*" counts; earlier ones belong to the path.
    const Parsed stars = Parse("C:\\odd *1 folder\\x.pcg *3");
    EXPECT_TRUE(stars.ok);
    EXPECT_EQ("C:\\odd *1 folder\\x.pcg", stars.path);
    EXPECT_EQ(3, stars.start);
}

TEST(PlayerCommandLine, WithoutAStarPlaysFromTheFirstAction)
{
    const Parsed parsed = Parse("C:\\My Greetings\\hello.pcg");
    EXPECT_TRUE(parsed.ok);
    EXPECT_EQ("C:\\My Greetings\\hello.pcg", parsed.path);
    EXPECT_EQ(0, parsed.start);

    // A path typed by hand in quotes.
    const Parsed quoted = Parse("\"C:\\My Greetings\\hello.pcg\" *1");
    EXPECT_EQ("C:\\My Greetings\\hello.pcg", quoted.path);
    EXPECT_EQ(1, quoted.start);
}

TEST(PlayerCommandLine, RefusesAStartThatIsNoNumber)
{
    for (const char* start : { "", "x", "-1", "+1", "1x", "2 3", "2147483648", "99999999999999999999" }) {
        const Parsed parsed = Parse(std::string("C:\\TEMP\\PQPrev.pcg *") + start);
        EXPECT_FALSE(parsed.ok) << start;
        EXPECT_EQ(std::string("\"*") + start + "\" does not name an action to start from." + Usage, parsed.error);
        EXPECT_EQ(0, parsed.start) << start;
    }
    EXPECT_EQ(2147483647, Parse("C:\\TEMP\\PQPrev.pcg *2147483647").start);
}

TEST(PlayerCommandLine, RefusesALineThatNamesNoFile)
{
    for (const char* arguments : { "", "   ", "*3", " *0", "\"\" *1" }) {
        const Parsed parsed = Parse(arguments);
        EXPECT_FALSE(parsed.ok) << arguments;
        EXPECT_EQ(std::string("No greeting file was named.") + Usage, parsed.error) << arguments;
    }
}

#include "greeting/GreetingAction.h"
#include "greeting/Vocabulary.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

struct Fields {
    std::string character, command, argument;
};

Fields Decode(const std::string& line)
{
    GreetingAction action;
    EXPECT_TRUE(action.SetLine(line));
    return { action.GetCharacter(), action.GetCommand(), action.GetArgument() };
}

std::string Encode(const std::string& character, const std::string& command, const std::string& argument)
{
    return GreetingAction(character, command, argument).GetLine();
}

void ExpectFields(const Fields& expected, const std::string& line)
{
    const Fields got = Decode(line);
    EXPECT_EQ(expected.character, got.character) << line;
    EXPECT_EQ(expected.command, got.command) << line;
    EXPECT_EQ(expected.argument, got.argument) << line;
}

} // namespace

TEST(GreetingActionCodec, DecodesFieldsWithTheirQuirks)
{
    ExpectFields({ "Merlin", "Say", "Hello, world" }, "Merlin,Say,\"Hello, world\"");
    ExpectFields({ "Merlin", "Say", "He said \"hi\", then left" }, "Merlin,Say,\"He said \"\"hi\"\", then left\"");
    ExpectFields({ "Merlin", "Say", "a\"b" }, "Merlin,Say,a\"\"b");
    ExpectFields({ "ab", "", "" }, "a\"b");
    ExpectFields({ "abcdef", "x", "" }, "\"abc\"def,x");
    ExpectFields({ "x\",y", "z", "" }, "\"x\"\",y\",z");
    ExpectFields({ "Merlin", "Show", "" }, "Merlin,Show");
    ExpectFields({ "", "", "" }, "");
    ExpectFields({ "", "Say", "Hello" }, ",Say,Hello");
    ExpectFields({ "a", "b", "c" }, "a,b,c,d,e");
    ExpectFields({ "open, never closed", "", "" }, "\"open, never closed");
    ExpectFields({ "", "", "" }, ",,");
}

TEST(GreetingActionCodec, EncodesFields)
{
    EXPECT_EQ("Merlin,Say,\"Hello, world\"", Encode("Merlin", "Say", "Hello, world"));
    EXPECT_EQ("Merlin,Say,\"He said \"\"hi\"\", then left\"", Encode("Merlin", "Say", "He said \"hi\", then left"));
    EXPECT_EQ("Merlin,Say,a\"\"b", Encode("Merlin", "Say", "a\"b"));
    EXPECT_EQ(",Say,Hello", Encode("", "Say", "Hello"));
    EXPECT_EQ(",,", Encode("", "", ""));
    EXPECT_EQ("Merlin,Say,", Encode("Merlin", "Say", ""));
    // Quoted when it begins with a quote, or the reader would drop the quotes.
    EXPECT_EQ("Merlin,Say,\"\"\"Hi\"\" he said\"", Encode("Merlin", "Say", "\"Hi\" he said"));
    // One record is one line.
    EXPECT_EQ("Merlin,Say,two  lines and one", Encode("Merlin", "Say", "two\r\nlines\rand\none"));
}

TEST(GreetingActionCodec, EveryFieldComesBackUnchanged)
{
    const std::string samples[] = { "", "plain", "a,b", ",", "\"", "\"\"", "\"x\"", "a\"b", "x,\"",
                                    "\"a,b\"", "trailing\"", " spaced , out ", "\xE9t\xE9", "\"start,",
                                    std::string("nul\0inside", 10) };
    for (const std::string& a : samples) {
        for (const std::string& b : samples) {
            const std::string line = Encode(a, b, a + b);
            const Fields got = Decode(line);
            EXPECT_EQ(a, got.character) << line;
            EXPECT_EQ(b, got.command) << line;
            EXPECT_EQ(a + b, got.argument) << line;
        }
    }
}

TEST(GreetingActionCodec, LineFollowsTheFieldsAndEachDecodeStartsAfresh)
{
    GreetingAction action;
    action.SetLine("Merlin,Say,one");
    action.SetLine("Genie,Move,Center");
    EXPECT_EQ("Genie", action.GetCharacter());
    EXPECT_EQ("Center", action.GetArgument());
    action.SetArgument("Top, Left");
    EXPECT_EQ("Genie,Move,\"Top, Left\"", action.GetLine());
}

TEST(GreetingActionDescription, ByCommand)
{
    EXPECT_EQ("Merlin shows up  (Animate)", GreetingAction("Merlin", "Show", "Animate").GetDescription());
    EXPECT_EQ("Merlin hides  (Don't Animate)", GreetingAction("Merlin", "Hide", "Don't Animate").GetDescription());
    EXPECT_EQ("Merlin hides  (Animate)", GreetingAction("Merlin", "Hide", "Animate").GetDescription());
    EXPECT_EQ("Merlin says: \"Happy birthday!\"", GreetingAction("Merlin", "Say", "Happy birthday!").GetDescription());
    EXPECT_EQ("Peedy performs the GREET animation", GreetingAction("Peedy", "Animate", "Greet").GetDescription());
    EXPECT_EQ("Genie moves to TOP LEFT", GreetingAction("Genie", "Move", "Top Left").GetDescription());
    EXPECT_EQ("Undefined Action.", GreetingAction("Merlin", "say", "Hello").GetDescription());
    EXPECT_EQ("Undefined Action.", GreetingAction().GetDescription());
}

TEST(GreetingActionDescription, ArgumentKeepsItsCase)
{
    GreetingAction action("Peedy", "Animate", "Greet");
    action.GetDescription();
    EXPECT_EQ("Greet", action.GetArgument());
    EXPECT_EQ("Peedy,Animate,Greet", action.GetLine());
    EXPECT_EQ("Merlin says: \"quiet\"", GreetingAction("Merlin", "Say", "quiet").GetDescription());
}

TEST(GreetingActionDescription, UpperCaseFollowsTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs code page 1252, this system uses " << GetACP();
    EXPECT_EQ("Genie moves to \xC9T\xC9", GreetingAction("Genie", "Move", "\xE9t\xE9").GetDescription());
}

TEST(Vocabulary, FillingTwiceDoesNotRepeatEntries)
{
    FillVocabulary();
    FillVocabulary();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight);
    // The names are what greeting files hold: a misspelt position would play as "Center".
    using Names = std::vector<std::string>;
    EXPECT_EQ((Names{ "Show", "Hide", "Say", "Animate", "Move" }), CommandNames);
    EXPECT_EQ((Names{ "Tolvan", "Mirelle", "Grumbold", "Merlin", "Peedy", "Genie", "Robby", "Yulebard", "Crookbeak" }),
              CharacterNames);
    EXPECT_EQ((Names{ "Top Left", "Top Center", "Top Right", "Middle Left", "Center", "Middle Right", "Bottom Left",
                      "Bottom Center", "Bottom Right" }),
              PositionNames);
    EXPECT_EQ("(None)", std::string(NoAnimation));
}
